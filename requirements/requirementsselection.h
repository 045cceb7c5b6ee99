#pragma once
// RequirementsSelection: what the requirements print is asked for, as the form "Stampa
// Fabbisogni" and the batch run "distinta-batch requirements" take it: the fields of StFabbis
// and one validation with the form's range checks in the form's order, so that the form and
// the batch refuse the same selections with the same messages.
#include "common/classeattr.h"

#include <QDate>
#include <QString>
#include <optional>

namespace kem {

class StFabbis;

struct RequirementsSelection {
    QString osOrdPre = QStringLiteral("O");
    QString osTipoDocDa, osTipoDocA;
    QDate otDataRifDa, otDataRifA;
    qint32 olNumRifDa = 0, olNumRifA = 0;
    QDate otDataDocDa, otDataDocA;
    qint32 olNumDocDa = 0, olNumDocA = 0;
    QDate otPrevConsDa, otPrevConsA;
    QString osGruppoCliDa, osMastroCliDa, osContoCliDa;
    QString osGruppoCliA, osMastroCliA, osContoCliA;
    QString osArticoloDa, osArticoloA;
    QString osArtGruppoDa, osArtGruppoA;
    QString osArtSottoGru;
    QString osAgenteDa, osDesAgenteDa, osAgenteA, osDesAgenteA;
    QString osMagazzino;
    ClasseAttrRange artClasseAttr;
    ClasseAttrRange pdcClasseAttr;
    QString osCatDa, osCatA, osZonDa, osZonA;
    qint16 oiTipoStampa = 0;
    qint16 oiQtaMostr = 0;
    qint16 oiQtaElab = 0;
    bool obPrelvo = false;
    bool obSemilav = false;
    bool obSaltoPag = false;

    // Boxes of the form (their indexes), which the problems name.
    enum Field { None = -1, TipoDocDa = 10, DataRifDa = 30, NumRifDa = 55, DataDocDa = 70, NumDocDa = 90,
                 PrevConsDa = 110, ClienteDa = 130, ArticoloDa = 150, ArtGruppoDa = 170, AgenteDa = 200,
                 TipoStampa = 300, QtaMostr = 310, QtaElab = 320, ClasseAttrArt = 400, ClasseAttrCF = 410,
                 Categoria = 420, Zona = 430 };
    struct Problem {
        QString message;
        Field field = None;
    };
    // The first problem in the form's order; nothing when the selection can run.
    std::optional<Problem> Validate() const;

    // Sets the report's fields (a selection Validate accepted); obOrdNumdoc follows the two
    // document number bounds.
    void ApplyTo(StFabbis &report) const;
};

} // namespace kem
