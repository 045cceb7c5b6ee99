#pragma once
// Row writers shared by the demo and the synthetic company: one prepared INSERT per table,
// amounts with their lira twins, and the reference rows every company needs.
#include "schema/companydbbuilder.h"

#include <QDate>

namespace kem {

constexpr double kLireForEuro = 1936.27;
constexpr const char *kNoLevel = "~ç~"; // Livello1 / Livello2 of an article without sub-levels
// PianoConti.TipoConto: customers, suppliers, every other account.
constexpr int kCustomerAccount = 3;
constexpr int kSupplierAccount = 2;
constexpr int kOtherAccount = 1;

double RoundTo(double value, int decimals);
double Lire(double euro); // the same amount in lire, whole lire
QVariant IsoDate(const QDate &d); // DATE column value ('YYYY-MM-DD'), NULL for an invalid date

struct CompanyInserters {
    explicit CompanyInserters(CompanyDbBuilder &b);
    bool ok() const { return status.ok(); }

    BuildStatus &status;
    RowInserter articoli;      // Articolo .. ArtClasseAttr5 (22 columns, schema order)
    RowInserter legami;        // ArticoloPadre, ArticoloFiglio, UM, Qta, QualeImporto, Listino
    RowInserter listini;       // Listino, Descrizione, Ivato, ScoSomSost, Sconto
    RowInserter artListini;    // Articolo, Listino, DataInizio, Prezzo, PrezzoLire, ScoSomSost, Sconto
    RowInserter promozioni;    // Articolo, Listino, DataInizioProm, DataFineProm, Prezzo, PrezzoLire,
                               // Descrizione, MessProm
    RowInserter costi;         // Anno, Articolo, the six cost columns
    RowInserter prog;          // Anno, Articolo, Magazzino, the five quantities
    RowInserter iva;           // Iva, Descrizione, Aliquota
    RowInserter magazzini;     // Magazzino, Descrizione
    RowInserter ordTest;       // Anno .. Stato (16 columns, schema order)
    RowInserter ordDett;       // Anno .. StatoRiga (11 columns, schema order)
    RowInserter preTest;
    RowInserter preDett;
    RowInserter pianoConti;    // Gruppo .. TipoConto (16 columns, schema order)
    RowInserter appoggio;      // Codice, Descr, Memo
    RowInserter monete;        // Moneta, Descrizione, NumDec, NumDecGest, Operatore, Cee
    RowInserter menuDett;      // Chiave, ChiaveSec, Caption, DescPrg
    RowInserter fontPers;      // Progressivo, Nome, Size, Bold, Italic, Strike, Underline
    RowInserter tabUM;         // code, Descrizione (likewise the decode tables below)
    RowInserter tipiDoc;
    RowInserter agenti;
    RowInserter gruppi;
    RowInserter sottoGruppi;
    RowInserter categorie;
    RowInserter zone;
    RowInserter classiArt;     // Livello, ClasseAttr, Descrizione
    RowInserter classiPdc;
};

// Costs of one article for one year; the lira columns are derived.
bool AddCosts(CompanyInserters &ins, int year, const QString &article, double average,
              double last, double standard);
// A list price from a date on (lira price derived); rule and discount may be empty.
bool AddListPrice(CompanyInserters &ins, const QString &article, const QString &list,
                  const QDate &from, double price, const QString &rule = {},
                  const QString &discount = {});
bool AddPromotion(CompanyInserters &ins, const QString &article, const QString &list,
                  const QDate &from, const QDate &to, double price, const QString &description,
                  bool message);

// Currencies (Euro, L. and two foreign ones), VAT codes, units of measure, the module's menu
// entries and the user print fonts: the same in every company.
bool AddReferenceRows(CompanyInserters &ins);

} // namespace kem
