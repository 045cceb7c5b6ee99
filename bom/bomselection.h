#pragma once
// BomSelection: what the BOM print is asked for, as the form "Stampa distinta base" and the
// batch run "distinta-batch bom" take it: the fields of Prelvo, the number boxes as typed
// (Italian numbers, "2,5"), and one validation with the form's checks in the form's order, so
// that the form and the batch refuse the same selections with the same messages.
#include "platform/db/kemdb.h"

#include <QString>
#include <functional>
#include <optional>

namespace kem {

class MenuServer;

class Prelvo;

struct BomSelection {
    QString osArticoloDa;
    QString osArticoloA;
    qint16 oiTipoDibaArt = 1;      // 0 all, 1 finished products, 2 semi-finished
    bool obEspScal = true;
    QString livEsp;                // "Livello di Esplosione" (blank: every level)
    QString qtaProd = QStringLiteral("1");  // "Quantità Prodotta" (blank: 1)
    bool obSaltoPag = false;
    bool obStampoImporti = true;
    bool obQtaDaDimen = false;
    QString larghezza, lunghezza, altezza;
    QString osQualePrezzo;         // blank (as each link says), "U", "L", "M" or "S"
    QString osListino;             // the list of "L"
    QString osListIvato;           // the batch only: "S" when the list's prices include VAT
    bool obStaImg = false;
    bool obStaImgRiga = false;

    // Box indexes of the form, which the problems name.
    enum Field { None = 0, Listino = 5, ArticoloDa = 10, ArticoloA = 20, LivEsp = 30,
                 QtaProd = 40, Larghezza = 50, Lunghezza = 60, Altezza = 70 };
    struct Problem {
        QString message;
        Field field = None;
        bool messageBox = false;  // a plain message box (else the message dialog with "&Ok")
    };
    // The first problem in the form's order; nothing when the selection can run. listExists
    // tells whether a list code exists (the form: its decoding; the batch: ListExists).
    std::optional<Problem> Validate(const std::function<bool(const QString &)> &listExists) const;
    // Whether a price list exists, decoded as the form decodes "Cod.Listino:".
    static bool ListExists(Database &db, const QString &code);
    // The company computes parents' quantities from their dimensions ("Vendite.QtaDaDimen"
    // "S"): the form then shows the dimension panel with its box ticked.
    static bool CompanyQtaDaDimen(MenuServer &menu);

    // The box checks the form applies when a box is left (and Validate applies to the texts).
    static bool LivEspInError(const QString &text);
    static bool QtaProdInError(const QString &text);
    static bool DimensionInError(const QString &text);

    // Sets the report's fields (a selection Validate accepted).
    void ApplyTo(Prelvo &report) const;
};

} // namespace kem
