#pragma once
// The rows of a bill of materials as every function reads them: one link of an assembly
// (ArtLegami, with its price list's VAT flag) and one article (Articoli, with its VAT rate).
#include <QString>
#include <QVector>
#include <memory>

namespace kem {

struct BomLink {
    QString padre, figlio, um, qualeImporto, listino;
    QString listIvato;  // "Listini.Ivato" of the link's list as FlagText gives it
    double qta = 0;
};

struct BomArticle {
    QString articolo, descrizione, artUM, artUMVen, artUMAcq, sconto, immagine;
    double fatConVen = 1, fatConAcq = 1, aliquota = 0;
    int distBase = 0;
    bool exists = true;  // false: the code is in a link but not in Articoli (every column empty)
};

using ArticlePtr = std::shared_ptr<const BomArticle>;

// The row that stands for an article missing from Articoli: every column empty.
const ArticlePtr &MissingArticle();

// A link of a parent with its component's article (MissingArticle() when the component does not
// exist).
struct BomComponent {
    BomLink link;
    ArticlePtr article;
};

} // namespace kem
