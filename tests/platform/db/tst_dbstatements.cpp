// Every statement the module issues, in the Jet dialect exactly as the reports build it, run
// through the database layer on the fixture company: row counts and field values, with the
// statement cache on and off.
#include "tests/support/testcompany.h"
#include "platform/db/kemdb.h"

#include <QDate>
#include <QTemporaryDir>
#include <QtTest>

using namespace kem;

namespace {

QString lit(const QString &s)
{
    QString v = s;
    v.replace(u'\'', QStringLiteral("''"));
    return u'\'' + v + u'\'';
}

// Parent and component queries of the BOM print.
QString parentQuery(const QString &kind, const QString &range)
{
    return QStringLiteral("SELECT Articoli.Articolo, Articoli.Descrizione, Articoli.ArtUM, Articoli.ArtUMVen,Articoli.FatConVen,Articoli.Sconto")
           + QStringLiteral(", Articoli.Lunghezza, Articoli.Larghezza, Articoli.Altezza, Articoli.Immagine ")
           + QStringLiteral(", Articoli.DistBase, ArtLegami.ArticoloFiglio, ArtLegami.UM, ArtLegami.Qta")
           + QStringLiteral(", ArtLegami.QualeImporto, ArtLegami.Listino, Art2.Descrizione, Art2.DistBase")
           + QStringLiteral(", Art2.Sconto,Art2.ArtUM,Art2.ArtUMVen,Art2.ArtUMAcq,Art2.FatConVen,Art2.FatConAcq, Art2.Immagine")
           + QStringLiteral(" FROM (ArtLegami INNER JOIN Articoli ON ArtLegami.ArticoloPadre = Articoli.Articolo)")
           + QStringLiteral(" LEFT JOIN Articoli AS Art2 ON ArtLegami.ArticoloFiglio = Art2.Articolo")
           + QStringLiteral(" WHERE") + kind + range + QStringLiteral(" Order By Articoli.Articolo");
}

QString componentQuery(const QString &article)
{
    return QStringLiteral("SELECT Articoli.Articolo, Articoli.Descrizione, Articoli.ArtUM,Articoli.FatConVen,Articoli.sconto")
           + QStringLiteral(", Articoli.DistBase, ArtLegami.ArticoloFiglio, ArtLegami.UM, ArtLegami.Qta")
           + QStringLiteral(", ArtLegami.QualeImporto, ArtLegami.Listino, Art2.Descrizione, Art2.DistBase")
           + QStringLiteral(", Art2.Sconto,Art2.ArtUM,Art2.ArtUMVen,Art2.ArtUMAcq,Art2.FatConVen,Art2.FatConAcq, Art2.Immagine")
           + QStringLiteral(" FROM (ArtLegami INNER JOIN Articoli ON ArtLegami.ArticoloPadre = Articoli.Articolo)")
           + QStringLiteral(" LEFT JOIN Articoli AS Art2 ON ArtLegami.ArticoloFiglio = Art2.Articolo")
           + QStringLiteral(" WHERE Articoli.articolo = ") + lit(article) + QStringLiteral(" ORDER By Articoli.Articolo");
}

QString childrenQuery(const QString &parent)
{
    return QStringLiteral("SELECT Articoli.Articolo, Articoli.Descrizione, Articoli.ArtUM,Articoli.FatConVen,Articoli.sconto,")
           + QStringLiteral(" Articoli.DistBase, ArtLegami.ArticoloFiglio, ArtLegami.UM, ArtLegami.Qta,Art2.Sconto,Art2.ArtUMVen,")
           + QStringLiteral(" ArtLegami.QualeImporto, ArtLegami.Listino, Art2.Descrizione, Art2.DistBase")
           + QStringLiteral(" FROM (ArtLegami INNER JOIN Articoli ON ArtLegami.ArticoloPadre = Articoli.Articolo)")
           + QStringLiteral(" LEFT JOIN Articoli AS Art2 ON ArtLegami.ArticoloFiglio = Art2.Articolo")
           + QStringLiteral(" WHERE Articoli.articolo = ") + lit(parent) + QStringLiteral(" ORDER By Articoli.Articolo");
}

QString implosion(const QString &criteria)
{
    return QStringLiteral("SELECT Articoli_1.Articolo, Articoli_1.Descrizione,Articoli_1.ArtUM,")
           + QStringLiteral(" Articoli.Articolo, Articoli.Descrizione,Articoli.DistBase,")
           + QStringLiteral(" Articoli_1.DistBase, ArtLegami.UM, ArtLegami.Qta")
           + QStringLiteral(" FROM (ArtLegami INNER JOIN Articoli ON ArtLegami.ArticoloPadre = Articoli.Articolo)")
           + QStringLiteral(" INNER JOIN Articoli AS Articoli_1 ON ArtLegami.ArticoloFiglio = Articoli_1.Articolo")
           + QStringLiteral(" WHERE") + criteria + QStringLiteral(" Order By Articoli_1.Articolo, Articoli.Articolo");
}

// Criteria of the order selection: `extra` holds the optional rows (already with their
// leading " and"); the rows that always apply are added here in their places.
QString orderWhere(const QString &h, const QString &l, const QString &beforeTipo, const QString &afterTipo)
{
    QString w = beforeTipo;
    w += QStringLiteral(" and ") + h + QStringLiteral(".Tipo=") + lit(QStringLiteral("3"));
    w += afterTipo;
    w += QStringLiteral(" and (") + h + QStringLiteral(".Stato <> 'E' or ") + h + QStringLiteral(".Stato is null)");
    w += QStringLiteral(" and (") + l + QStringLiteral(".StatoRiga <> 'E' or ") + l + QStringLiteral(".StatoRiga is null)");
    w += QStringLiteral(" and ") + l + QStringLiteral(".TipoRiga = ") + lit(QStringLiteral("A"));
    return QStringLiteral(" Where ") + w.mid(4);
}

QString orderSelect(const QString &h, const QString &l, int type, bool byDoc, const QString &where)
{
    if (type == 2) {
        return QStringLiteral("SELECT FIRST(") + l + QStringLiteral(".Articolo) AS ArtOrd")
               + QStringLiteral(",Sum(") + l + QStringLiteral(".Qta) AS QtaOrd") + QStringLiteral(",Sum(") + l
               + QStringLiteral(".QtaEvasa) AS QtaEvasa")
               + QStringLiteral(", First(Articoli.Descrizione) As ArtOrdDescrizione") + QStringLiteral(", First(Articoli.ArtUM) As ArtOrdUm")
               + QStringLiteral(" FROM ((((") + h + QStringLiteral(" LEFT JOIN ") + l + QStringLiteral(" ON ") + h
               + QStringLiteral(".NumRif = ") + l + QStringLiteral(".NumRif") + QStringLiteral(" AND ") + h
               + QStringLiteral(".Anno = ") + l + QStringLiteral(".Anno)")
               + QStringLiteral(" LEFT JOIN Magazzini AS MagazziniProv") + QStringLiteral(" ON ") + h
               + QStringLiteral(".MagazzProv = MagazziniProv.Magazzino)")
               + QStringLiteral(" LEFT JOIN Magazzini AS MagazziniDest") + QStringLiteral(" ON ") + h
               + QStringLiteral(".MagazzDest = MagazziniDest.Magazzino)")
               + QStringLiteral(" LEFT JOIN Articoli") + QStringLiteral(" ON ") + l + QStringLiteral(".Articolo = Articoli.Articolo)")
               + QStringLiteral(" LEFT JOIN PianoConti") + QStringLiteral(" ON ") + h + QStringLiteral(".ContoCli = PianoConti.Conto")
               + QStringLiteral(" AND ") + h + QStringLiteral(".MastroCli = PianoConti.Mastro") + QStringLiteral(" AND ") + h
               + QStringLiteral(".GruppoCli = PianoConti.Gruppo") + where + QStringLiteral(" GROUP BY ") + l
               + QStringLiteral(".Articolo");
    }
    QString s = QStringLiteral("SELECT ") + h + QStringLiteral(".*");
    s += QStringLiteral(",IIF(") + l + QStringLiteral(".DataCons IS NULL") + QStringLiteral(",") + h
         + QStringLiteral(".DataCons") + QStringLiteral(",") + l + QStringLiteral(".DataCons) as DataConsCalc") + QStringLiteral(",");
    s += l + QStringLiteral(".*") + QStringLiteral(",") + l + QStringLiteral(".Qta AS QtaOrd") + QStringLiteral(",") + l
         + QStringLiteral(".QtaEvasa AS QtaEvasa");
    s += QStringLiteral(", Articoli.Descrizione,Articoli.DistBase") + QStringLiteral(", MagazziniDest.Descrizione")
         + QStringLiteral(", MagazziniProv.Descrizione")
         + QStringLiteral(", PianoConti.Descrizione, PianoConti.Zona, Pianoconti.Categoria");
    s += QStringLiteral(" FROM ((((") + QStringLiteral(" ") + h + QStringLiteral(" LEFT JOIN ") + l + QStringLiteral(" ON ")
         + h + QStringLiteral(".NumRif = ") + l + QStringLiteral(".NumRif") + QStringLiteral(" AND ") + h
         + QStringLiteral(".Anno = ") + l + QStringLiteral(".Anno)");
    s += QStringLiteral(" LEFT JOIN Magazzini AS MagazziniProv") + QStringLiteral(" ON ") + h
         + QStringLiteral(".MagazzProv = MagazziniProv.Magazzino)");
    s += QStringLiteral(" LEFT JOIN Magazzini AS MagazziniDest") + QStringLiteral(" ON ") + h
         + QStringLiteral(".MagazzDest = MagazziniDest.Magazzino)");
    s += QStringLiteral(" LEFT JOIN PianoConti") + QStringLiteral(" ON ") + h + QStringLiteral(".ContoCli = PianoConti.Conto")
         + QStringLiteral(" AND ") + h + QStringLiteral(".MastroCli = PianoConti.Mastro") + QStringLiteral(" AND ") + h
         + QStringLiteral(".GruppoCli = PianoConti.Gruppo)");
    s += QStringLiteral(" LEFT JOIN Articoli") + QStringLiteral(" ON ") + l + QStringLiteral(".Articolo = Articoli.Articolo");
    s += where;
    s += QStringLiteral(" ORDER BY ");
    const QString doc = byDoc ? h + QStringLiteral(".DataDoc, ") + h + QStringLiteral(".NumDoc")
                              : h + QStringLiteral(".DataRif, ") + h + QStringLiteral(".NumRif");
    if (type == 1)
        s += QStringLiteral(" Articoli.Descrizione") + QStringLiteral(", ") + doc;
    else
        s += doc + QStringLiteral(", ") + l + QStringLiteral(".RigDet");
    return s;
}

QString deliveryGroup(const QString &h, const QString &l, const QString &from, const QString &to)
{
    auto side = [&](const QString &t) {
        QString s;
        if (!from.isEmpty())
            s += QStringLiteral(" ") + t + QStringLiteral(".DataCons>=") + from;
        if (!to.isEmpty()) {
            if (!s.isEmpty())
                s += QStringLiteral(" and");
            s += QStringLiteral(" ") + t + QStringLiteral(".DataCons<=") + to;
        }
        return s;
    };
    return QStringLiteral(" and (") + QStringLiteral("IIF(") + l + QStringLiteral(".DataCons is null,(") + side(h)
           + QStringLiteral("),(") + side(l) + QStringLiteral(")))");
}

QString scratchRow(const QString &user, const QString &prg, int year, int number, const QString &comp, const QString &um)
{
    return QStringLiteral("SELECT AppoggioTemp.* FROM AppoggioTemp") + QStringLiteral(" WHERE AppoggioTemp.Utente = ") + lit(user)
           + QStringLiteral(" AND AppoggioTemp.IdProgramma = ") + lit(prg) + QStringLiteral(" AND AppoggioTemp.AppoInte0 = ")
           + QString::number(year) + QStringLiteral(" AND AppoggioTemp.AppoStringa0 = ") + QString::number(number)
           + QStringLiteral(" AND AppoggioTemp.ValoreStringa = ") + lit(comp) + QStringLiteral(" AND AppoggioTemp.AppoStringa1 = ")
           + lit(um);
}

QString stockSums(int year, const QString &article, const QString &store)
{
    QString s = QStringLiteral("Select sum(QtaIniziale) As SumQtaIniziale") + QStringLiteral(", sum(QtaCarico) As SumQtaCarico")
                + QStringLiteral(", sum(QtaSCarico) As SumQtaSCarico") + QStringLiteral(", sum(QtaOrdFor) As SumQtaOrdFor")
                + QStringLiteral(", sum(QtaImpCli) As SumQtaImpCli") + QStringLiteral(" from ArticoliProg")
                + QStringLiteral(" Where Anno = ") + QString::number(year) + QStringLiteral(" and Articolo = ") + lit(article);
    if (!store.isEmpty())
        s += QStringLiteral(" and Magazzino = ") + lit(store);
    return s;
}

QString scratchByArticle(const QString &h, const QString &user, const QString &prg)
{
    return QStringLiteral("SELECT AppoggioTemp.*,") + h + QStringLiteral(".NumRif,") + h + QStringLiteral(".DataRif,") + h
           + QStringLiteral(".NumDoc,") + h + QStringLiteral(".DataDoc") + QStringLiteral(",Articoli.Descrizione,Pianoconti.Descrizione")
           + QStringLiteral(" FROM ((") + h + QStringLiteral(" RIGHT JOIN AppoggioTemp ON ") + QStringLiteral(" (") + h
           + QStringLiteral(".NumRif = clng(iif(isnull(AppoggioTemp.AppoStringa0),0,AppoggioTemp.AppoStringa0)))")
           + QStringLiteral(" AND (") + h + QStringLiteral(".Anno = AppoggioTemp.AppoInte0))")
           + QStringLiteral(" INNER JOIN Articoli ON AppoggioTemp.Valorestringa = Articoli.Articolo)")
           + QStringLiteral(" LEFT JOIN PianoConti ON PianoConti.Gruppo = ") + h + QStringLiteral(".GruppoCli and PianoConti.Mastro= ")
           + h + QStringLiteral(".MastroCli and PianoConti.Conto = ") + h + QStringLiteral(".ContoCli")
           + QStringLiteral(" WHERE AppoggioTemp.Utente = ") + lit(user) + QStringLiteral(" AND AppoggioTemp.IdProgramma = ") + lit(prg)
           + QStringLiteral(" ORDER By AppoggioTemp.ValoreStringa, AppoggioTemp.AppoInte0,clng(iif(isnull(AppoggioTemp.AppoStringa0),0,AppoggioTemp.AppoStringa0))");
}

using Row = QVariantList;

QList<Row> readAll(ResultSets &rs, const QString &h)
{
    QList<Row> rows;
    const int n = int(rs.RsFieldNames(h).size());
    if (rs.RsIsEmpty(h))
        return rows;
    rs.RsMoveFirst(h);
    while (!rs.RsEof(h)) {
        Row r;
        for (int i = 0; i < n; ++i)
            r << rs.RsFieldAt(h, i);
        rows << r;
        rs.RsMoveNext(h);
    }
    return rows;
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (!b.isValid())
        return a.isNull();
    if (b.typeId() == QMetaType::Double)
        return a.typeId() == QMetaType::Double && qFuzzyCompare(a.toDouble(), b.toDouble());
    return a == b;
}

} // namespace

class TestDbStatements : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void statements_data();
    void statements();
    void cachePreparesOncePerShape();
    void boundValuesPrepareOnceAndKeepTheirText();

private:
    QTemporaryDir dir_;
    QString file_;
    Database db_;
};

void TestDbStatements::initTestCase()
{
    QVERIFY(dir_.isValid());
    QString error;
    file_ = kemtest::CreateFixtureCompany(dir_.path(), &error);
    QVERIFY2(!file_.isEmpty(), qPrintable(error));
    db_.DbOpen(file_);
}

void TestDbStatements::statements_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("expected");       // rows of a query, records affected by an action
    QTest::addColumn<QVariantMap>("values"); // a row with all these field values must exist
    QTest::addColumn<QString>("check");      // optional query run afterwards (same transaction)
    QTest::addColumn<int>("checkRows");

    const QString O = QStringLiteral("OrdVenTest"), OD = QStringLiteral("OrdVenDett");
    const QString P = QStringLiteral("PreVenTest"), PD = QStringLiteral("PreVenDett");
    const QString all = QStringLiteral(" Articoli.distbase > ") + QStringLiteral("0") + QStringLiteral(" AND articoli.distbase < ")
                        + QStringLiteral("3");

    // Company parameters.
    QTest::newRow("currency") << QStringLiteral("Select * from Monete") + QStringLiteral(" where moneta = ") + lit(QStringLiteral("euro"))
                              << 1 << QVariantMap{{"NumDec", 2}, {"NumDecGest", 2}, {"Operatore", "/"}, {"Cee", "S"}}
                              << QString() << 0;
    QTest::newRow("currency missing") << QStringLiteral("Select * from Monete where moneta = ") + lit(QStringLiteral("USD"))
                                      << 0 << QVariantMap{} << QString() << 0;
    // Page layout: user fonts.
    QTest::newRow("user fonts") << QStringLiteral("Select * from StaLasFontPers") + QStringLiteral(" Order by Progressivo") << 2
                                << QVariantMap{{"Progressivo", 5}, {"Nome", "Arial"}, {"Size", 10.0}, {"Bold", true}, {"Italic", false}}
                                << QString() << 0;
    // BOM print.
    QTest::newRow("parents, all kinds")
        << parentQuery(all, QString()) << 6
        << QVariantMap{{"Articoli.Articolo", "PF2"}, {"ArtLegami.ArticoloFiglio", "XX9"}, {"Art2.Descrizione", QVariant()},
                       {"Descrizione", "Sedia"}}
        << QString() << 0;
    QTest::newRow("parents, finished, ranged")
        << parentQuery(QStringLiteral(" Articoli.distbase= ") + QStringLiteral("1"),
                       QStringLiteral(" AND Articoli.articolo >= ") + lit(QStringLiteral("pf1"))
                           + QStringLiteral(" AND Articoli.articolo <= ") + lit(QStringLiteral("PF1")))
        << 2
        << QVariantMap{{"Articoli.Articolo", "PF1"}, {"ArtLegami.ArticoloFiglio", "SL1"}, {"Art2.Descrizione", "Piano"},
                       {"Art2.DistBase", 2}, {"Articoli.Descrizione", "Tavolo"}, {"Articoli.Lunghezza", 1200.0},
                       {"ArtLegami.Listino", "LIS1"}, {"Articoli.Immagine", "pf1.png"}}
        << QString() << 0;
    QTest::newRow("parents, semi-finished")
        << parentQuery(QStringLiteral(" Articoli.distbase= ") + QStringLiteral("2"), QString()) << 2
        << QVariantMap{{"Articoli.Articolo", "SL1"}, {"ArtLegami.ArticoloFiglio", "MB2"}, {"ArtLegami.Qta", 0.96},
                       {"Art2.ArtUM", "MQ"}}
        << QString() << 0;
    QTest::newRow("components of PF1") << componentQuery(QStringLiteral("PF1")) << 2
                                       << QVariantMap{{"ArtLegami.ArticoloFiglio", "MB1"}, {"Art2.FatConAcq", 100.0},
                                                      {"Art2.ArtUMAcq", "CF"}, {"Articoli.sconto", "5"}}
                                       << QString() << 0;
    QTest::newRow("components of a base material") << componentQuery(QStringLiteral("MB1")) << 0 << QVariantMap{}
                                                   << QString() << 0;
    // Cost and price lookup.
    QTest::newRow("yearly costs")
        << QStringLiteral("Select * from ArticoliCosti") + QStringLiteral(" Where anno = ") + QStringLiteral("2024")
               + QStringLiteral(" AND Articolo = ") + lit(QStringLiteral("MB1")) + QStringLiteral(" AND Livello1 = ")
               + lit(QStringLiteral("~ç~")) + QStringLiteral(" AND Livello2 = ") + lit(QStringLiteral("~ç~"))
        << 1 << QVariantMap{{"MedioPonderale", 0.1}, {"CostoUltimo", 0.12}, {"Standard", 0.11}} << QString() << 0;
    const auto promo = [](const QString &date) {
        return QStringLiteral("Select top 1 * from ArtLisPromozioni") + QStringLiteral(" Where Articolo = ") + lit(QStringLiteral("MB1"))
               + QStringLiteral(" AND Listino = ") + lit(QStringLiteral("LIS1")) + QStringLiteral(" AND Livello1 = ")
               + lit(QStringLiteral("~ç~")) + QStringLiteral(" AND Livello2 = ") + lit(QStringLiteral("~ç~"))
               + QStringLiteral(" AND DataInizioProm <= ") + date + QStringLiteral(" AND DataFineProm >= ") + date
               + QStringLiteral(" ORDER BY DataInizioProm Desc");
    };
    QTest::newRow("promotion active") << promo(QStringLiteral("#03/15/2024#")) << 1
                                      << QVariantMap{{"Prezzo", 0.5}, {"MessProm", "S"}, {"Descrizione", "Promo marzo"},
                                                     {"DataInizioProm", QDate(2024, 3, 1)}}
                                      << QString() << 0;
    QTest::newRow("promotion over") << promo(QStringLiteral("#04/01/2024#")) << 0 << QVariantMap{} << QString() << 0;
    const auto listPrice = [](const QString &date) {
        return QStringLiteral("Select top 1 ArtListini.*, Listini.ScoSomSost, Listini.Sconto from ArtListini LEFT JOIN Listini")
               + QStringLiteral(" ON ArtListini.Listino = Listini.Listino") + QStringLiteral(" Where Articolo = ")
               + lit(QStringLiteral("SL1")) + QStringLiteral(" AND ArtListini.Listino = ") + lit(QStringLiteral("LIS1"))
               + QStringLiteral(" AND Livello1 = ") + lit(QStringLiteral("~ç~")) + QStringLiteral(" AND Livello2 = ")
               + lit(QStringLiteral("~ç~")) + QStringLiteral(" AND DataInizio <= ") + date
               + QStringLiteral(" ORDER BY DataInizio Desc");
    };
    QTest::newRow("list price, latest not after the date")
        << listPrice(QStringLiteral("#12/31/2024#")) << 1
        << QVariantMap{{"ArtListini.Prezzo", 110.0}, {"Prezzo", 110.0}, {"DataInizio", QDate(2024, 6, 1)},
                       {"ArtListini.ScoSomSost", "L"}, {"Listini.ScoSomSost", "M"}, {"Listini.Sconto", "10"},
                       {"ArtListini.Sconto", QVariant()}}
        << QString() << 0;
    QTest::newRow("list price before any") << listPrice(QStringLiteral("#12/31/2023#")) << 0 << QVariantMap{} << QString() << 0;
    // Cost rollup.
    QTest::newRow("links with list VAT flag")
        << QStringLiteral("Select ArtLegami.*, Listini.Ivato from ArtLegami") + QStringLiteral(" Left Join Listini")
               + QStringLiteral(" On ArtLegami.Listino = Listini.Listino") + QStringLiteral(" Where ArticoloPadre = ")
               + lit(QStringLiteral("PF1"))
        << 2
        << QVariantMap{{"ArticoloFiglio", "SL1"}, {"Artlegami.listino", "LIS1"}, {"Listini.Ivato", true}, {"Qta", 1.0},
                       {"QualeImporto", "L"}}
        << QString() << 0;
    QTest::newRow("list VAT flag")
        << QStringLiteral("Select Listini.* from Listini") + QStringLiteral(" Where Listini.Listino = ") + lit(QStringLiteral("LIS2"))
        << 1 << QVariantMap{{"Listini.Ivato", false}} << QString() << 0;
    QTest::newRow("component with VAT rate")
        << QStringLiteral("Select Articoli.* , TabIva.Aliquota") + QStringLiteral(" from Articoli LEFT JOIN TabIva")
               + QStringLiteral(" ON Articoli.IvaVendite") + QStringLiteral(" = TabIva.Iva")
               + QStringLiteral(" Where Articoli.Articolo = ") + lit(QStringLiteral("MB1"))
        << 1
        << QVariantMap{{"TabIva.Aliquota", 22.0}, {"ArtUM", "PZ"}, {"Articoli.ArtUMAcq", "CF"}, {"FatConAcq", 100.0},
                       {"DistBase", 3}}
        << QString() << 0;
    QTest::newRow("component missing") << QStringLiteral("Select Articoli.* , TabIva.Aliquota from Articoli LEFT JOIN TabIva ON "
                                                         "Articoli.IvaVendite = TabIva.Iva Where Articoli.Articolo = ")
                                              + lit(QStringLiteral("XX9"))
                                       << 0 << QVariantMap{} << QString() << 0;
    // Implosion.
    QTest::newRow("implosion, all")
        << implosion(QStringLiteral(" Articoli_1.distbase <> ") + QStringLiteral("0") + QStringLiteral(" AND Articoli_1.distbase <> ")
                     + QStringLiteral("1"))
        << 5
        << QVariantMap{{"Articoli_1.Articolo", "MB1"}, {"Articoli.Articolo", "SL1"}, {"Articoli_1.DistBase", 3},
                       {"Articoli.DistBase", 2}, {"ArtLegami.Qta", 4.0}, {"Articoli_1.Descrizione", "Vite"},
                       {"Articoli.Descrizione", "Piano"}}
        << QString() << 0;
    QTest::newRow("implosion, base materials from MB2")
        << implosion(QStringLiteral(" Articoli_1.distbase= ") + QStringLiteral("3") + QStringLiteral(" and Articoli_1.Articolo>=")
                     + lit(QStringLiteral("MB2")))
        << 1 << QVariantMap{{"Articoli_1.Articolo", "MB2"}, {"Articoli.Articolo", "SL1"}, {"ArtLegami.UM", "MQ"}}
        << QString() << 0;
    // Order selection.
    const QString noSel = orderWhere(O, OD, QString(), QString());
    QTest::newRow("orders, document/article")
        << orderSelect(O, OD, 0, false, noSel) << 3
        << QVariantMap{{"OrdVenTest.NumRif", 1}, {"OrdVenDett.RigDet", 1}, {"DataConsCalc", QDate(2024, 3, 15)},
                       {"QtaOrd", 5.0}, {"QtaEvasa", 1.0}, {"Descrizione", "Tavolo"}, {"MagazziniDest.Descrizione", "Esterno"},
                       {"MagazziniProv.Descrizione", "Centrale"}, {"PianoConti.Descrizione", "Rossi Mobili"},
                       {"Pianoconti.Categoria", "A"}, {"OrdVenTest.DataCons", QDate(2024, 3, 15)},
                       {"OrdVenDett.DataCons", QVariant()}}
        << QString() << 0;
    QTest::newRow("orders, line delivery date wins")
        << orderSelect(O, OD, 0, true, noSel) << 3
        << QVariantMap{{"OrdVenDett.RigDet", 2}, {"Articolo", "PF2"}, {"DataConsCalc", QDate(2024, 4, 10)}} << QString() << 0;
    QTest::newRow("orders, article/document")
        << orderSelect(O, OD, 1, true, noSel) << 3
        << QVariantMap{{"OrdVenTest.NumRif", 3}, {"Articolo", "PF2"}, {"DataConsCalc", QDate(2024, 5, 1)}} << QString() << 0;
    QTest::newRow("orders, delivery range")
        << orderSelect(O, OD, 0, false,
                       orderWhere(O, OD, deliveryGroup(O, OD, QStringLiteral("#03/01/2024#"), QStringLiteral("#03/31/2024#")),
                                  QString()))
        << 1 << QVariantMap{{"OrdVenDett.RigDet", 1}, {"Articolo", "PF1"}} << QString() << 0;
    QTest::newRow("orders, delivery upper bound only")
        << orderSelect(O, OD, 0, false,
                       orderWhere(O, OD, deliveryGroup(O, OD, QString(), QStringLiteral("#04/30/2024#")), QString()))
        << 2 << QVariantMap{{"OrdVenDett.RigDet", 2}, {"OrdVenTest.NumRif", 1}} << QString() << 0;
    QTest::newRow("orders, customer range")
        << orderSelect(O, OD, 0, false,
                       orderWhere(O, OD, QString(),
                                  QStringLiteral(" and ") + O + QStringLiteral(".GruppoCli & ") + O + QStringLiteral(".MastroCli & ")
                                      + O + QStringLiteral(".ContoCli >=") + lit(QStringLiteral("c010001")) + QStringLiteral(" and ")
                                      + O + QStringLiteral(".GruppoCli & ") + O + QStringLiteral(".MastroCli & ") + O
                                      + QStringLiteral(".ContoCli <=") + lit(QStringLiteral("C010001"))))
        << 2 << QVariantMap{{"OrdVenTest.ContoCli", "0001"}} << QString() << 0;
    QTest::newRow("orders, agent and warehouse")
        << orderSelect(O, OD, 0, false,
                       orderWhere(O, OD, QString(),
                                  QStringLiteral(" and (") + O + QStringLiteral(".MagazzProv = ") + lit(QStringLiteral("01"))
                                      + QStringLiteral(" OR ") + O + QStringLiteral(".MagazzDest = ") + lit(QStringLiteral("01"))
                                      + QStringLiteral(")") + QStringLiteral(" and ((") + O + QStringLiteral(".Agente1 >= ")
                                      + lit(QStringLiteral("AG2")) + QStringLiteral(") or (") + O
                                      + QStringLiteral(".Agente2 >= ") + lit(QStringLiteral("AG2")) + QStringLiteral("))")
                                      + QStringLiteral(" and Pianoconti.Zona>=") + lit(QStringLiteral("MI"))
                                      + QStringLiteral(" and Articoli.ArtGruppo>=") + lit(QStringLiteral("MOB"))))
        << 1 << QVariantMap{{"OrdVenTest.NumRif", 3}, {"OrdVenTest.Agente2", "AG2"}} << QString() << 0;
    QTest::newRow("orders, dates and numbers")
        << orderSelect(O, OD, 0, false,
                       orderWhere(O, OD,
                                  QStringLiteral(" and ") + O + QStringLiteral(".FattDocumento>=") + lit(QStringLiteral("OC"))
                                      + QStringLiteral(" and ") + O + QStringLiteral(".DataRif>=") + QStringLiteral("#02/01/2024#")
                                      + QStringLiteral(" and ") + O + QStringLiteral(".DataRif<=") + QStringLiteral("#02/01/2024#")
                                      + QStringLiteral(" and ") + O + QStringLiteral(".NumRif>=") + QStringLiteral("1"),
                                  QStringLiteral(" and ") + O + QStringLiteral(".Numdoc<=") + QStringLiteral("10")))
        << 2 << QVariantMap{{"OrdVenTest.DataRif", QDate(2024, 2, 1)}, {"NumDoc", 10}} << QString() << 0;
    QTest::newRow("orders grouped by article")
        << orderSelect(O, OD, 2, false, noSel) << 2
        << QVariantMap{{"ArtOrd", "PF2"}, {"QtaOrd", 3.0}, {"QtaEvasa", 0.0}, {"ArtOrdDescrizione", "Sedia"}, {"ArtOrdUm", "PZ"}}
        << QString() << 0;
    QTest::newRow("quotes grouped by article")
        << orderSelect(P, PD, 2, false, orderWhere(P, PD, QString(), QString())) << 1
        << QVariantMap{{"ArtOrd", "PF2"}, {"QtaOrd", 9.0}} << QString() << 0;
    QTest::newRow("quotes, document/article")
        << orderSelect(P, PD, 0, true, orderWhere(P, PD, QString(), QString())) << 1
        << QVariantMap{{"PreVenTest.NumRif", 7}, {"DataConsCalc", QDate(2024, 6, 30)}, {"PianoConti.Descrizione", "Bianchi Arredo"}}
        << QString() << 0;
    // Requirement explosion and scratch table.
    QTest::newRow("children of PF1") << childrenQuery(QStringLiteral("PF1")) << 2
                                     << QVariantMap{{"ArtLegami.ArticoloFiglio", "SL1"}, {"Art2.DistBase", 2}, {"Art2.Descrizione", "Piano"}}
                                     << QString() << 0;
    QTest::newRow("scratch row of a document")
        << scratchRow(QStringLiteral("mario"), QStringLiteral("FABB"), 2024, 1, QStringLiteral("MB1"), QStringLiteral("PZ")) << 1
        << QVariantMap{{"ValoreNumero", 40.0}, {"AppoInte1", 3}, {"IdCampo", "1"}} << QString() << 0;
    QTest::newRow("scratch row of the run total")
        << scratchRow(QStringLiteral("mario"), QStringLiteral("FABB"), 0, 0, QStringLiteral("mb1"), QStringLiteral("pz")) << 1
        << QVariantMap{{"ValoreNumero", 52.0}} << QString() << 0;
    QTest::newRow("stock sums") << stockSums(2024, QStringLiteral("MB1"), QString()) << 1
                                << QVariantMap{{"SumQtaIniziale", 120.0}, {"SumQtaCarico", 50.0}, {"SumQtaSCarico", 30.0},
                                               {"SumQtaOrdFor", 10.0}, {"SumQtaImpCli", 5.0}}
                                << QString() << 0;
    QTest::newRow("stock sums of a warehouse") << stockSums(2024, QStringLiteral("MB1"), QStringLiteral("02")) << 1
                                               << QVariantMap{{"SumQtaIniziale", 20.0}, {"SumQtaCarico", 0.0}} << QString() << 0;
    QTest::newRow("stock sums without rows") << stockSums(2024, QStringLiteral("MB2"), QString()) << 1
                                             << QVariantMap{{"SumQtaIniziale", QVariant()}} << QString() << 0;
    QTest::newRow("ordered article consumed")
        << QStringLiteral("Select sum(Valorenumero) as TotQtaResPrec FROM AppoggioTemp") + QStringLiteral(" WHERE Utente = ")
               + lit(QStringLiteral("mario")) + QStringLiteral(" AND IdProgramma = ") + lit(QStringLiteral("FABB") + QStringLiteral("_art"))
               + QStringLiteral(" AND IdCampo = ") + lit(QStringLiteral("PF1"))
        << 1 << QVariantMap{{"TotQtaResPrec", 4.0}} << QString() << 0;
    QTest::newRow("scratch rows to print")
        << QStringLiteral("SELECT AppoggioTemp.* FROM AppoggioTemp") + QStringLiteral(" WHERE AppoggioTemp.Utente = ")
               + lit(QStringLiteral("mario")) + QStringLiteral(" AND AppoggioTemp.IdProgramma = ") + lit(QStringLiteral("FABB"))
               + QStringLiteral(" AND AppoggioTemp.AppoInte0 = ") + QStringLiteral("2024")
               + QStringLiteral(" AND AppoggioTemp.AppoStringa0 = ") + QStringLiteral("1")
               + QStringLiteral(" ORDER By AppoggioTemp.ValoreStringa")
        << 2 << QVariantMap{{"ValoreStringa", "SL1"}, {"AppoStringa2", "Piano"}} << QString() << 0;
    QTest::newRow("scratch rows by article with documents")
        << scratchByArticle(O, QStringLiteral("mario"), QStringLiteral("FABB")) << 3
        << QVariantMap{{"AppoggioTemp.ValoreStringa", "MB1"}, {"OrdVenTest.NumDoc", 10}, {"OrdVenTest.DataDoc", QDate(2024, 2, 2)},
                       {"Articoli.Descrizione", "Vite"}, {"Pianoconti.Descrizione", "Rossi Mobili"}}
        << QString() << 0;
    QTest::newRow("run-wide scratch row finds no document")
        << scratchByArticle(O, QStringLiteral("mario"), QStringLiteral("FABB")) << 3
        << QVariantMap{{"AppoInte0", 0}, {"OrdVenTest.NumDoc", QVariant()}, {"Pianoconti.Descrizione", QVariant()}}
        << QString() << 0;
    QTest::newRow("delete scratch rows")
        << QStringLiteral("DELETE FROM AppoggioTemp") + QStringLiteral(" WHERE Utente = ") + lit(QStringLiteral("mario"))
               + QStringLiteral(" AND IdProgramma = ") + lit(QStringLiteral("FABB"))
        << 3 << QVariantMap{}
        << QStringLiteral("SELECT * FROM AppoggioTemp WHERE Utente = 'luigi' OR IdProgramma = 'FABB_art'") << 2;
    // Substitution and deletion.
    const QString cond = QStringLiteral(" WHERE ArtLegami.ArticoloFiglio = ") + lit(QStringLiteral("MB1"))
                         + QStringLiteral(" AND ArtLegami.ArticoloPadre >= ") + lit(QStringLiteral("PF1"))
                         + QStringLiteral(" AND ArtLegami.ArticoloPadre <= ") + lit(QStringLiteral("PF2"));
    QTest::newRow("substitution in place")
        << QStringLiteral("UPDATE ArtLegami SET") + QStringLiteral(" ArtLegami.ArticoloFiglio = ") + lit(QStringLiteral("MB2"))
               + QStringLiteral(", ArtLegami.UM = ") + lit(QStringLiteral("MQ")) + QStringLiteral(", ArtLegami.QualeImporto = ")
               + lit(QStringLiteral("S")) + QStringLiteral(", ArtLegami.Listino = ") + lit(QStringLiteral("LIS2")) + cond
        << 2 << QVariantMap{}
        << QStringLiteral("SELECT * FROM ArtLegami WHERE ArticoloFiglio = 'MB2' AND UM = 'MQ' AND Listino = 'LIS2'") << 2;
    QTest::newRow("substitution rows") << QStringLiteral("Select * from ArtLegami") + cond << 2
                                       << QVariantMap{{"ArticoloPadre", "PF2"}, {"Qta", 6.0}} << QString() << 0;
    QTest::newRow("deletion") << QStringLiteral("Delete * from ArtLegami") + cond << 2 << QVariantMap{}
                              << QStringLiteral("SELECT * FROM ArtLegami WHERE ArticoloFiglio = 'MB1'") << 1;
    // Decoding filters.
    QTest::newRow("active articles") << QStringLiteral("Select * from Articoli where (ucase(Inattivo)<>'S') ") << 4
                                     << QVariantMap{{"Articolo", "PF1"}} << QString() << 0;
    QTest::newRow("semi-finished or base")
        << QStringLiteral("Select Articolo from Articoli where (DistBase = 2 OR  DistBase = 3)") << 3
        << QVariantMap{{"Articolo", "MB2"}} << QString() << 0;
}

void TestDbStatements::statements()
{
    QFETCH(QString, sql);
    QFETCH(int, expected);
    QFETCH(QVariantMap, values);
    QFETCH(QString, check);
    QFETCH(int, checkRows);

    QList<Row> withCache;
    for (bool cache : {true, false}) {
        db_.setStatementCache(cache);
        TransactionGuard tx(db_); // every case leaves the fixture as it found it
        ResultSets rs;
        const bool action = sql.startsWith(u"UPDATE", Qt::CaseInsensitive) || sql.startsWith(u"DELETE", Qt::CaseInsensitive);
        if (action) {
            QCOMPARE(db_.DbExecute(sql), qint64(expected));
        } else {
            const QString h = rs.RsOpen(db_, sql);
            QCOMPARE(rs.RsCount(h), qint64(expected));
            QCOMPARE(rs.RsIsEmpty(h), expected == 0);
            if (!values.isEmpty()) {
                bool found = false;
                rs.RsMoveFirst(h);
                while (!found && !rs.RsEof(h)) {
                    found = true;
                    for (auto it = values.cbegin(); it != values.cend() && found; ++it)
                        found = sameValue(rs.RsField(h, it.key()), it.value());
                    rs.RsMoveNext(h);
                }
                QVERIFY2(found, "no row carries the expected field values");
            }
            const QList<Row> rows = readAll(rs, h);
            if (cache)
                withCache = rows;
            else
                QCOMPARE(rows, withCache);
        }
        if (!check.isEmpty()) {
            const QString c = rs.RsOpen(db_, check);
            QCOMPARE(rs.RsCount(c), qint64(checkRows));
        }
    }
    db_.setStatementCache(true);
}

void TestDbStatements::cachePreparesOncePerShape()
{
    const auto links = [](const QString &a) {
        return QStringLiteral("Select ArtLegami.*, Listini.Ivato from ArtLegami Left Join Listini On ArtLegami.Listino = "
                              "Listini.Listino Where ArticoloPadre = ")
               + lit(a);
    };
    const QStringList articles = {QStringLiteral("PF1"), QStringLiteral("PF2"), QStringLiteral("SL1"), QStringLiteral("MB1"),
                                  QStringLiteral("PF1")};
    for (bool cache : {true, false}) {
        db_.setStatementCache(cache);
        db_.resetStats();
        ResultSets rs;
        qint64 rows = 0;
        for (const QString &a : articles) {
            RsGuard h(rs, rs.RsOpen(db_, links(a)));
            rows += rs.RsCount(h);
        }
        QCOMPARE(rows, qint64(2 + 2 + 2 + 0 + 2));
        QCOMPARE(db_.stats().statements, qint64(articles.size()));
        QCOMPARE(db_.stats().prepared, cache ? qint64(1) : qint64(articles.size()));
        QCOMPARE(rs.openCount(), 0);
    }
    db_.setStatementCache(true);
}

// Values bound to "?" markers: the statement is prepared once however many times it runs, a
// text that would end a literal is stored as it is, Null stays Null, and a marker count that
// does not match is refused without writing.
void TestDbStatements::boundValuesPrepareOnceAndKeepTheirText()
{
    const QString insert = QStringLiteral(
        "INSERT INTO AppoggioTemp (Utente, IdProgramma, IdCampo, AppoInte1, AppoStringa2, ValoreNumero) VALUES (?, ?, ?, ?, ?, ?)");
    const QString update = QStringLiteral("UPDATE AppoggioTemp SET ValoreNumero = ValoreNumero + ? WHERE Utente = ? AND IdProgramma = ?");
    const QString tricky = QStringLiteral("O'Neil'); DELETE FROM Articoli; --");
    db_.setStatementCache(true);
    db_.resetStats();
    const int rows = 50;
    for (int i = 0; i < rows; ++i)
        QCOMPARE(db_.DbExecute(insert, {QStringLiteral("bound"), QStringLiteral("42"), QString::number(i),
                                        i % 2 ? QVariant(i) : QVariant(), tricky, 0.1 * i}),
                 qint64(1));
    QCOMPARE(db_.DbExecute(update, {1.5, QStringLiteral("BOUND"), QStringLiteral("42")}), qint64(rows));
    QCOMPARE(db_.stats().statements, qint64(rows + 1));
    QCOMPARE(db_.stats().prepared, qint64(2));

    ResultSets rs;
    RsGuard h(rs, rs.RsOpen(db_, QStringLiteral("SELECT IdCampo, AppoInte1, AppoStringa2, ValoreNumero FROM AppoggioTemp "
                                                "WHERE Utente = 'bound' AND IdCampo = '7'")));
    QVERIFY(!rs.RsIsEmpty(h));
    rs.RsMoveFirst(h);
    QCOMPARE(rs.RsField(h, QStringLiteral("AppoStringa2")).toString(), tricky);
    QCOMPARE(rs.RsField(h, QStringLiteral("AppoInte1")).toInt(), 7);
    QCOMPARE(rs.RsField(h, QStringLiteral("ValoreNumero")).toDouble(), 0.1 * 7 + 1.5);
    RsGuard even(rs, rs.RsOpen(db_, QStringLiteral("SELECT AppoInte1 FROM AppoggioTemp WHERE Utente = 'bound' AND IdCampo = '8'")));
    rs.RsMoveFirst(even);
    QVERIFY(rs.RsField(even, QStringLiteral("AppoInte1")).isNull());
    RsGuard articles(rs, rs.RsOpen(db_, QStringLiteral("SELECT COUNT(*) AS N FROM Articoli")));
    rs.RsMoveFirst(articles);
    QVERIFY(rs.RsField(articles, QStringLiteral("N")).toInt() > 0);

    // One value short, or a query: refused, nothing written.
    bool refused = false;
    try {
        db_.DbExecute(insert, {QStringLiteral("bound"), QStringLiteral("42"), QStringLiteral("x")});
    } catch (const DbError &e) {
        refused = e.number() == 3061;
    }
    QVERIFY(refused);
    refused = false;
    try {
        db_.DbExecute(QStringLiteral("SELECT * FROM AppoggioTemp WHERE Utente = ?"), {QStringLiteral("bound")});
    } catch (const DbError &) {
        refused = true;
    }
    QVERIFY(refused);
    RsGuard count(rs, rs.RsOpen(db_, QStringLiteral("SELECT COUNT(*) AS N FROM AppoggioTemp WHERE Utente = 'bound'")));
    rs.RsMoveFirst(count);
    QCOMPARE(rs.RsField(count, QStringLiteral("N")).toInt(), rows);
    db_.DbExecute(QStringLiteral("DELETE FROM AppoggioTemp WHERE Utente = 'bound'"));
}

QTEST_GUILESS_MAIN(TestDbStatements)
#include "tst_dbstatements.moc"
