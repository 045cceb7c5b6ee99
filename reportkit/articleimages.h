#pragma once
// Article images on the pages of a report: the settings of a run (the company's switch
// "Articoli.Immagini", the image folder "DirImgArt" or "DirImmagini" of section "Base",
// relative to "DriveDB", and the lines per row image "DiBa.StaImgNumRighe", "D" first for the
// right side), a small picture beside a printed line scaled into its column and the height of
// its lines, and an article's picture at the end of its page. Pictures go only to outputs
// that paint pages (printer, preview, PDF); an image file that is missing or unreadable leaves
// the line without it and is told once per run.
#include <QImage>
#include <QSet>
#include <QString>

namespace kem {

class MessageSink;
class PrintReport;
struct PrintEnv;

struct ArticleImageSettings {
    bool immagini = false;  // "Articoli.Immagini" is "S"
    QString directory;
    qint16 numRighe = 0;    // lines per row image; 0: none ("Immagini" not "S" included)
    bool destra = false;

    static ArticleImageSettings Read(const PrintEnv &env);
    // "StaImgNumRighe" as the company writes it: "3", "D4".
    static void ParseNumRighe(const QString &text, qint16 &numRighe, bool &destra);
};

class ArticleImages {
public:
    explicit ArticleImages(MessageSink &sink) : sink_(sink) {}

    // A run starts with these settings: the files told as missing are forgotten.
    void BeginRun(const ArticleImageSettings &settings);
    const ArticleImageSettings &Settings() const { return settings_; }

    // The height the row images may take: numRighe lines of the current style.
    float CalcLimAlt(PrintReport &report, qint16 numRighe);
    // The row image `name` in the column of that id at the current line, scaled into the
    // column's width and `limAlt` (aspect kept), at the column's right edge with `destra`.
    // True when a picture was drawn.
    bool StaImg(PrintReport &report, int column, const QString &name, bool destra, float limAlt);
    // The picture `name` below the current position, as wide as the page between its margins
    // or as high as the room left, aspect kept. True when a picture was drawn.
    bool StaImgFinePagina(PrintReport &report, const QString &name);

    // The file of an image name; empty for a blank name.
    QString PathOf(const QString &name) const;

private:
    // The picture of the file; null (after telling once per file and run) when it cannot be read.
    bool load(const QString &name, QImage &out);

    MessageSink &sink_;
    ArticleImageSettings settings_;
    QSet<QString> told_;
};

} // namespace kem
