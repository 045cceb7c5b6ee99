#include "schema/companyrows.h"

#include "schema/companyfiles.h"

#include <cmath>

namespace kem {

namespace {

QStringList Cols(std::initializer_list<const char *> names)
{
    QStringList out;
    for (const char *n : names)
        out << QString::fromLatin1(n);
    return out;
}

const QStringList &TestCols()
{
    static const QStringList c = Cols({"Anno", "NumRif", "DataRif", "NumDoc", "DataDoc",
                                       "FattDocumento", "Tipo", "GruppoCli", "MastroCli",
                                       "ContoCli", "Agente1", "Agente2", "MagazzProv",
                                       "MagazzDest", "DataCons", "Stato"});
    return c;
}

const QStringList &DettCols()
{
    static const QStringList c = Cols({"Anno", "NumRif", "RigDet", "TipoRiga", "Articolo",
                                       "DescrRiga", "Um", "Qta", "QtaEvasa", "DataCons",
                                       "StatoRiga"});
    return c;
}

} // namespace

double RoundTo(double value, int decimals)
{
    const double f = std::pow(10.0, decimals);
    return std::round(value * f) / f;
}

double Lire(double euro)
{
    return std::round(euro * kLireForEuro);
}

QVariant IsoDate(const QDate &d)
{
    return d.isValid() ? QVariant(d.toString(Qt::ISODate)) : QVariant();
}

CompanyInserters::CompanyInserters(CompanyDbBuilder &b)
    : status(b.status()),
      articoli(b.db(), b.status(), QStringLiteral("Articoli"),
               Cols({"Articolo", "Descrizione", "ArtUM", "ArtUMVen", "ArtUMAcq", "FatConVen",
                     "FatConAcq", "Sconto", "Lunghezza", "Larghezza", "Altezza", "Immagine",
                     "DistBase", "ArtGruppo", "ArtSottoGru", "IvaVendite", "Inattivo",
                     "ArtClasseAttr1", "ArtClasseAttr2", "ArtClasseAttr3", "ArtClasseAttr4",
                     "ArtClasseAttr5"})),
      legami(b.db(), b.status(), QStringLiteral("ArtLegami"),
             Cols({"ArticoloPadre", "ArticoloFiglio", "UM", "Qta", "QualeImporto", "Listino"})),
      listini(b.db(), b.status(), QStringLiteral("Listini"),
              Cols({"Listino", "Descrizione", "Ivato", "ScoSomSost", "Sconto"})),
      artListini(b.db(), b.status(), QStringLiteral("ArtListini"),
                 Cols({"Articolo", "Listino", "DataInizio", "Prezzo", "PrezzoLire",
                       "ScoSomSost", "Sconto"})),
      promozioni(b.db(), b.status(), QStringLiteral("ArtLisPromozioni"),
                 Cols({"Articolo", "Listino", "DataInizioProm", "DataFineProm", "Prezzo",
                       "PrezzoLire", "Descrizione", "MessProm"})),
      costi(b.db(), b.status(), QStringLiteral("ArticoliCosti"),
            Cols({"Anno", "Articolo", "MedioPonderale", "MedioPonderaleLire", "CostoUltimo",
                  "CostoUltimoLire", "Standard", "StandardLire"})),
      prog(b.db(), b.status(), QStringLiteral("ArticoliProg"),
           Cols({"Anno", "Articolo", "Magazzino", "QtaIniziale", "QtaCarico", "QtaSCarico",
                 "QtaOrdFor", "QtaImpCli"})),
      iva(b.db(), b.status(), QStringLiteral("TabIva"), Cols({"Iva", "Descrizione", "Aliquota"})),
      magazzini(b.db(), b.status(), QStringLiteral("Magazzini"),
                Cols({"Magazzino", "Descrizione"})),
      ordTest(b.db(), b.status(), QStringLiteral("OrdVenTest"), TestCols()),
      ordDett(b.db(), b.status(), QStringLiteral("OrdVenDett"), DettCols()),
      preTest(b.db(), b.status(), QStringLiteral("PreVenTest"), TestCols()),
      preDett(b.db(), b.status(), QStringLiteral("PreVenDett"), DettCols()),
      pianoConti(b.db(), b.status(), QStringLiteral("PianoConti"),
                 Cols({"Gruppo", "Mastro", "Conto", "Descrizione", "Zona", "Categoria",
                       "PdcClasseAttr1", "PdcClasseAttr2", "PdcClasseAttr3", "PdcClasseAttr4",
                       "PdcClasseAttr5", "Email", "Email2", "Email3", "Email4", "TipoConto"})),
      appoggio(b.db(), b.status(), QStringLiteral("Appoggio"), Cols({"Codice", "Descr", "Memo"})),
      monete(b.db(), b.status(), QStringLiteral("Monete"),
             Cols({"Moneta", "Descrizione", "NumDec", "NumDecGest", "Operatore", "Cee"})),
      menuDett(b.db(), b.status(), QStringLiteral("MenuDett"),
               Cols({"Chiave", "ChiaveSec", "Caption", "DescPrg"})),
      fontPers(b.db(), b.status(), QStringLiteral("StaLasFontPers"),
               Cols({"Progressivo", "Nome", "Size", "Bold", "Italic", "Strike", "Underline"})),
      tabUM(b.db(), b.status(), QStringLiteral("TabUM"), Cols({"UM", "Descrizione"})),
      tipiDoc(b.db(), b.status(), QStringLiteral("TabTipiDoc"), Cols({"TipoDoc", "Descrizione", "Tipo"})),
      agenti(b.db(), b.status(), QStringLiteral("Agenti"), Cols({"Agente", "Descrizione"})),
      gruppi(b.db(), b.status(), QStringLiteral("TabGruppi"), Cols({"Gruppo", "Descrizione"})),
      sottoGruppi(b.db(), b.status(), QStringLiteral("TabSottoGruppi"),
                  Cols({"SottoGruppo", "Descrizione"})),
      categorie(b.db(), b.status(), QStringLiteral("TabCategorie"),
                Cols({"Categoria", "Descrizione"})),
      zone(b.db(), b.status(), QStringLiteral("TabZone"), Cols({"Zona", "Descrizione"})),
      classiArt(b.db(), b.status(), QStringLiteral("TabClassiArt"),
                Cols({"Livello", "ClasseAttr", "Descrizione"})),
      classiPdc(b.db(), b.status(), QStringLiteral("TabClassiPdc"),
                Cols({"Livello", "ClasseAttr", "Descrizione"}))
{
}

bool AddCosts(CompanyInserters &ins, int year, const QString &article, double average,
              double last, double standard)
{
    average = RoundTo(average, 4);
    last = RoundTo(last, 4);
    standard = RoundTo(standard, 4);
    return ins.costi.add({year, article, average, Lire(average), last, Lire(last), standard,
                          Lire(standard)});
}

bool AddListPrice(CompanyInserters &ins, const QString &article, const QString &list,
                  const QDate &from, double price, const QString &rule, const QString &discount)
{
    price = RoundTo(price, 2);
    return ins.artListini.add({article, list, IsoDate(from), price, Lire(price), rule, discount});
}

bool AddPromotion(CompanyInserters &ins, const QString &article, const QString &list,
                  const QDate &from, const QDate &to, double price, const QString &description,
                  bool message)
{
    price = RoundTo(price, 2);
    return ins.promozioni.add({article, list, IsoDate(from), IsoDate(to), price, Lire(price),
                               description, message ? QStringLiteral("S") : QStringLiteral("N")});
}

bool AddReferenceRows(CompanyInserters &ins)
{
    const QString eu = QStringLiteral("S"), nonEu = QStringLiteral("N");
    ins.monete.add({QStringLiteral("Euro"), QStringLiteral("Euro"), 2, 4, QStringLiteral("/"), eu});
    ins.monete.add({QStringLiteral("L."), QStringLiteral("Lire italiane"), 0, 0,
                    QStringLiteral("/"), eu});
    ins.monete.add({QStringLiteral("USD"), QStringLiteral("Dollaro USA"), 2, 4,
                    QStringLiteral("*"), nonEu});
    ins.monete.add({QStringLiteral("CHF"), QStringLiteral("Franco svizzero"), 2, 4,
                    QStringLiteral("*"), nonEu});

    ins.iva.add({QStringLiteral("22"), QStringLiteral("Aliquota ordinaria 22%"), 22.0});
    ins.iva.add({QStringLiteral("10"), QStringLiteral("Aliquota ridotta 10%"), 10.0});
    ins.iva.add({QStringLiteral("04"), QStringLiteral("Aliquota minima 4%"), 4.0});
    ins.iva.add({QStringLiteral("E15"), QStringLiteral("Escluso art. 15 DPR 633/72"), 0.0});
    ins.iva.add({QStringLiteral("N41"), QStringLiteral("Non imponibile art. 41 DL 331/93"), 0.0});

    const char *units[][2] = {
        {"PZ", "Pezzi"},          {"NR", "Numero"},          {"CP", "Coppia"},
        {"M", "Metri"},           {"ML", "Metri lineari"},   {"MQ", "Metri quadrati"},
        {"MC", "Metri cubi"},     {"KG", "Chilogrammi"},     {"LT", "Litri"},
        {"CF", "Confezione"},     {"SC", "Scatola"},         {"BAR", "Barra"},
        {"LAS", "Lastra"},        {"ROT", "Rotolo"},         {"LAT", "Latta"},
        {"TAN", "Tanica"},        {"SAC", "Sacco"},          {"PEZ", "Pezza"},
    };
    for (const auto &u : units)
        ins.tabUM.add({QString::fromUtf8(u[0]), QString::fromUtf8(u[1])});

    AddMenuEntries(ins.menuDett);

    ins.fontPers.add({1, QStringLiteral("Liberation Sans"), 9.0, 1, 0, 0, 0});
    ins.fontPers.add({2, QStringLiteral("Courier New"), 8.0, 0, 0, 0, 0});
    ins.fontPers.add({5, QStringLiteral("Arial"), 12.0, 1, 1, 0, 0});
    ins.fontPers.add({120, QStringLiteral("Liberation Serif"), 10.0, 0, 0, 0, 1});
    return ins.ok();
}

} // namespace kem
