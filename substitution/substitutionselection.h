#pragma once
// SubstitutionSelection: what the component substitution and deletion is asked for, as the form
// "Sostituzione / Cancellazione articoli di base e/o semilavorati" and the batch run
// "distinta-batch substitution" take it: the boxes of the form and one validation, so that both
// refuse the same requests with the same messages.
#include "bomcore/bomlinkwriter.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace kem {

class DecodeService;

struct SubstitutionSelection {
    enum Operation : qint16 { Sostituzione = 0, Cancellazione = 1 };
    enum Operator : qint16 { Moltiplicazione = 0, Divisione = 1 };

    qint16 oiTipoOpe = Sostituzione;      // OptTipoOpe
    QString osArticolo;                   // txt(10): the component to replace or delete
    QString osSostituto;                  // txt(20): the new component
    QString osUm;                         // txt(30): new link unit, blank keeps it
    QString osProporzione = QStringLiteral("1"); // txt(40): quantity factor, as typed
    QString osListino;                    // txt(50): new price list, blank keeps it
    QString osPadreDa, osPadreA;          // txt(60), txt(70): range of parents, blank no bound
    qint16 oiQualeImporto = 0;            // CobQualeImporto: 0 "Nessun cambiamento", else the method
    qint16 oiOperatore = Moltiplicazione; // OptOperatore

    // The boxes of the form by their index, which the problems name.
    enum Field { None = -1, Articolo = 10, Sostituto = 20, Um = 30, Proporzione = 40, Listino = 50,
                 PadreDa = 60, PadreA = 70, QualeImporto = 80 };
    struct Problem {
        QString message;
        Field field = None;
        QString detail = {};  // what was wrong, for a run without the form's colours (may be empty)
    };

    // The items of CobQualeImporto; the first keeps the valuation method.
    static const QStringList &QualeImportoItems();
    // The lookup and decoding filter of the components (txt(10), txt(20)): base materials and
    // semi-finished articles; and of the parents (txt(60), txt(70)): finished and semi-finished.
    static QString ComponentFilter();
    static QString ParentFilter();
    // The caption of a box as the required-field message names it.
    QString Caption(Field field) const;

    // The first problem; nothing when the request can run. With `codes`, every code box that
    // is not blank must decode (as the form's boxes do on leaving them), else "Ci sono dei dati
    // non validi" names the box; without it the form's colours have told that already.
    // Throws DbError (or DecodeError) from the decoding.
    std::optional<Problem> Validate(DecodeService *codes = nullptr) const;

    bool deletion() const { return oiTipoOpe == Cancellazione; }
    // The factor as a number (a request Validate accepted).
    double factor() const;
    // The one letter of the valuation method, empty for "Nessun cambiamento".
    QString qualeImportoLetter() const;
    // The links concerned and what a replacement sets on them.
    BomLinkSelection which() const;
    BomLinkChange change() const;
};

} // namespace kem
