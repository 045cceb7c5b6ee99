#pragma once
// ImplosionSelection: what the BOM implosion print is asked for, as the form "Implosione
// distinta" and the batch run "distinta-batch implosion" take it: the fields of StImplDiBa and
// one validation with the form's checks, so that the form and the batch refuse the same
// selections with the same messages.
#include <QString>
#include <optional>

namespace kem {

class StImplDiBa;

struct ImplosionSelection {
    QString osArticoloDa;
    QString osArticoloA;
    qint16 oiTipoDibaArt = 1;  // "Articoli da considerare:" 0 "Tutti", 1 "Solo Materiale di base", 2 "Solo Semilavorati"
    int oiLivelli = 1;         // levels of users followed: 1 the direct ones ("Tutti i livelli" off), 0 to the top

    // Boxes of the form, which the problems name.
    enum Field { None = -1, ArticoloDa = 0, ArticoloA = 1, TipoDibaArt = 2, Livelli = 3 };
    struct Problem {
        QString message;
        Field field = None;
        bool messageBox = false;  // a plain message box (else the message dialog with "&Ok")
    };
    // The first problem; nothing when the selection can run.
    std::optional<Problem> Validate() const;

    // Sets the report's fields (a selection Validate accepted).
    void ApplyTo(StImplDiBa &report) const;
};

} // namespace kem
