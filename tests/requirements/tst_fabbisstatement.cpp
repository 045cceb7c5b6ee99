// The statement of the requirements print: the criteria of every selection field, the three
// forms of the statement, orders against quotes, and what the statement selects on a small
// company (delivery dates of the line against the header's, agents, warehouses, closed lines).
#include "requirements/stfabbis.h"
#include "tests/requirements/requirementsfixture.h"
#include "tests/support/testcompany.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

using Setup = std::function<void(kem::StFabbis &)>;
Q_DECLARE_METATYPE(Setup)

namespace {

const QString kTail = " and OrdVenTest.Tipo='3'";
const QString kClosed = " and (OrdVenTest.Stato <> 'E' or OrdVenTest.Stato is null)"
                        " and (OrdVenDett.StatoRiga <> 'E' or OrdVenDett.StatoRiga is null)"
                        " and OrdVenDett.TipoRiga = 'A'";

// The criteria text as CreaWhereOrdini ends it: " Where " and the work text without its " and".
QString Where(const QString &work) { return " Where " + work.mid(4); }

QStringList Fixture()
{
    return {
        "INSERT INTO Articoli (Articolo, Descrizione, ArtUM, DistBase, ArtGruppo, ArtClasseAttr3) VALUES "
        "('A1','Alfa','PZ',1,'G1','C1'),('A2','Beta','PZ',1,'G2','C5')",
        "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Descrizione, Zona, Categoria) VALUES "
        "('1','10','001','Cliente uno','Z1','K1'),('1','10','002','Cliente due','Z2','K2')",
        "INSERT INTO Magazzini (Magazzino, Descrizione) VALUES ('M1','Sede'),('M2','Filiale')",
        // 1: header delivery 10/03, line 1 without a date, line 2 with 20/03; agents 'AG1'/'AG5'
        // 2: header delivery 25/03; agent2 'AG9'; from M2 to M1
        // 3: closed document; 4: of another kind; 5: a quote
        "INSERT INTO OrdVenTest (Anno, NumRif, DataRif, NumDoc, DataDoc, Tipo, GruppoCli, MastroCli, ContoCli, "
        "Agente1, Agente2, MagazzProv, MagazzDest, DataCons, Stato) VALUES "
        "(2024,1,'2024-03-01',11,'2024-03-02','3','1','10','001','AG1','AG5','M1','M2','2024-03-10',NULL),"
        "(2024,2,'2024-03-05',12,'2024-03-06','3','1','10','002','AG0','AG9','M2','M1','2024-03-25',''),"
        "(2024,3,'2024-03-05',13,'2024-03-06','3','1','10','001','AG1',NULL,'M1','M1','2024-03-10','E'),"
        "(2024,4,'2024-03-05',14,'2024-03-06','4','1','10','001','AG1',NULL,'M1','M1','2024-03-10',NULL)",
        "INSERT INTO OrdVenDett (Anno, NumRif, RigDet, TipoRiga, Articolo, Um, Qta, QtaEvasa, DataCons, StatoRiga) VALUES "
        "(2024,1,1,'A','A1','PZ',5,1,NULL,NULL),(2024,1,2,'A','A2','PZ',3,0,'2024-03-20',NULL),"
        "(2024,1,3,'D','A1','PZ',1,0,NULL,NULL),(2024,1,4,'A','A1','PZ',1,0,NULL,'E'),"
        "(2024,2,1,'A','A1','PZ',2,0,NULL,NULL),(2024,3,1,'A','A1','PZ',2,0,NULL,NULL),"
        "(2024,4,1,'A','A1','PZ',2,0,NULL,NULL)",
        "INSERT INTO PreVenTest (Anno, NumRif, DataRif, NumDoc, DataDoc, Tipo, GruppoCli, MastroCli, ContoCli, DataCons) "
        "VALUES (2024,5,'2024-03-01',15,'2024-03-01','3','1','10','001','2024-03-10')",
        "INSERT INTO PreVenDett (Anno, NumRif, RigDet, TipoRiga, Articolo, Um, Qta, QtaEvasa) VALUES "
        "(2024,5,1,'A','A2','PZ',7,0)",
    };
}

} // namespace

class TestFabbisStatement : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void criteria_data();
    void criteria();
    void statement_data();
    void statement();
    void quotesOnly();
    void selects_data();
    void selects();

private:
    QTemporaryDir dir_;
    QString db_;
};

void TestFabbisStatement::initTestCase()
{
    QVERIFY(dir_.isValid());
    QString error;
    db_ = dir_.filePath("azienda.db");
    QVERIFY2(kemtest::BuildCompanyDb(db_, Fixture(), &error), qPrintable(error));
}

void TestFabbisStatement::criteria_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no selection: the fixed criteria only") << Setup([](kem::StFabbis &) {})
                                                           << Where(kTail + kClosed);
    QTest::newRow("document types and reference dates")
        << Setup([](kem::StFabbis &r) {
               r.osTipoDocDa = "FA";
               r.osTipoDocA = "FZ";
               r.otDataRifDa = QDate(2024, 1, 2);
               r.otDataRifA = QDate(2024, 12, 31);
           })
        << Where(" and OrdVenTest.FattDocumento>='FA' and OrdVenTest.FattDocumento<='FZ'"
                 " and OrdVenTest.DataRif>=#01/02/2024# and OrdVenTest.DataRif<=#12/31/2024#"
                 + kTail + kClosed);
    QTest::newRow("reference and document numbers, document dates")
        << Setup([](kem::StFabbis &r) {
               r.olNumRifDa = 3;
               r.olNumRifA = 9;
               r.otDataDocDa = QDate(2024, 2, 1);
               r.olNumDocDa = 100;
               r.olNumDocA = 200;
           })
        << Where(" and OrdVenTest.NumRif>=3 and OrdVenTest.NumRif<=9 and OrdVenTest.DataDoc>=#02/01/2024#" + kTail
                 + " and OrdVenTest.NumDoc>=100 and OrdVenTest.Numdoc<=200" + kClosed);
    QTest::newRow("delivery range, both bounds")
        << Setup([](kem::StFabbis &r) {
               r.otPrevConsDa = QDate(2024, 3, 1);
               r.otPrevConsA = QDate(2024, 3, 31);
           })
        << Where(" and (IIF(OrdVenDett.DataCons is null,( OrdVenTest.DataCons>=#03/01/2024# and"
                 " OrdVenTest.DataCons<=#03/31/2024#),( OrdVenDett.DataCons>=#03/01/2024# and"
                 " OrdVenDett.DataCons<=#03/31/2024#)))" + kTail + kClosed);
    QTest::newRow("delivery range, upper bound only")
        << Setup([](kem::StFabbis &r) { r.otPrevConsA = QDate(2024, 3, 15); })
        << Where(" and (IIF(OrdVenDett.DataCons is null,( OrdVenTest.DataCons<=#03/15/2024#),("
                 " OrdVenDett.DataCons<=#03/15/2024#)))" + kTail + kClosed);
    QTest::newRow("customer bounds compare the account as one text")
        << Setup([](kem::StFabbis &r) {
               r.osGruppoCliDa = "1";
               r.osMastroCliDa = "10";
               r.osContoCliDa = "001";
               r.osGruppoCliA = "1";
               r.osMastroCliA = "10";
               r.osContoCliA = "009";
           })
        << Where(kTail + " and OrdVenTest.GruppoCli & OrdVenTest.MastroCli & OrdVenTest.ContoCli >='110001'"
                 " and OrdVenTest.GruppoCli & OrdVenTest.MastroCli & OrdVenTest.ContoCli <='110009'" + kClosed);
    QTest::newRow("articles, groups, subgroup")
        << Setup([](kem::StFabbis &r) {
               r.osArticoloDa = "A";
               r.osArticoloA = "B";
               r.osArtGruppoDa = "G1";
               r.osArtGruppoA = "G2";
               r.osArtSottoGru = "S1";
           })
        << Where(kTail + " and OrdVenDett.Articolo>='A' and OrdVenDett.Articolo<='B'"
                 " and Articoli.ArtGruppo>='G1' and Articoli.ArtGruppo<='G2' and Articoli.ArtSottoGru='S1'" + kClosed);
    QTest::newRow("warehouse as source or destination")
        << Setup([](kem::StFabbis &r) { r.osMagazzino = "M1"; })
        << Where(kTail + " and (OrdVenTest.MagazzProv = 'M1' OR OrdVenTest.MagazzDest = 'M1')" + kClosed);
    QTest::newRow("agent range, lower bound only")
        << Setup([](kem::StFabbis &r) { r.osAgenteDa = "AG5"; })
        << Where(kTail + " and ((OrdVenTest.Agente1 >= 'AG5') or (OrdVenTest.Agente2 >= 'AG5'))" + kClosed);
    QTest::newRow("agent range, both bounds")
        << Setup([](kem::StFabbis &r) {
               r.osAgenteDa = "AG1";
               r.osAgenteA = "AG4";
           })
        << Where(kTail + " and ((OrdVenTest.Agente1 >= 'AG1' and OrdVenTest.Agente1 <= 'AG4') or"
                 " (OrdVenTest.Agente2 >= 'AG1' and OrdVenTest.Agente2 <= 'AG4'))" + kClosed);
    QTest::newRow("class level 3 upper bound, customer class, category and zone")
        << Setup([](kem::StFabbis &r) {
               r.osArtClasseAttrA[2] = "C3";
               r.osPdcClasseAttrDa[0] = "P1";
               r.osCatDa = "K1";
               r.osZonA = "Z9";
           })
        << Where(kTail + " AND Articoli.ArtClasseAttr3<='C3' AND PianoConti.PdcClasseAttr1>='P1'"
                 " and Pianoconti.Categoria>='K1' and Pianoconti.Zona<='Z9'" + kClosed);
    QTest::newRow("quotes in values stay inside the literal")
        << Setup([](kem::StFabbis &r) { r.osArticoloDa = "X' OR 1=1 --"; })
        << Where(kTail + " and OrdVenDett.Articolo>='X'' OR 1=1 --'" + kClosed);
}

void TestFabbisStatement::criteria()
{
    QFETCH(Setup, setup);
    QFETCH(QString, expected);
    kemtest::RequirementsRun run(db_, dir_.path());
    setup(*run.report);
    QCOMPARE(run.report->CreaWhereOrdini(QString()), expected);
    // A further criterion comes last.
    QCOMPARE(run.report->CreaWhereOrdini("X=1"), expected + " and X=1");
}

void TestFabbisStatement::statement_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<bool>("numDoc");
    QTest::addColumn<QString>("expected");
    const QString head = "SELECT OrdVenTest.*,IIF(OrdVenDett.DataCons IS NULL,OrdVenTest.DataCons,OrdVenDett.DataCons)"
                         " as DataConsCalc,OrdVenDett.*,OrdVenDett.Qta AS QtaOrd,OrdVenDett.QtaEvasa AS QtaEvasa,"
                         " Articoli.Descrizione,Articoli.DistBase, MagazziniDest.Descrizione, MagazziniProv.Descrizione,"
                         " PianoConti.Descrizione, PianoConti.Zona, Pianoconti.Categoria"
                         " FROM (((( OrdVenTest LEFT JOIN OrdVenDett ON OrdVenTest.NumRif = OrdVenDett.NumRif AND"
                         " OrdVenTest.Anno = OrdVenDett.Anno)"
                         " LEFT JOIN Magazzini AS MagazziniProv ON OrdVenTest.MagazzProv = MagazziniProv.Magazzino)"
                         " LEFT JOIN Magazzini AS MagazziniDest ON OrdVenTest.MagazzDest = MagazziniDest.Magazzino)"
                         " LEFT JOIN PianoConti ON OrdVenTest.ContoCli = PianoConti.Conto AND"
                         " OrdVenTest.MastroCli = PianoConti.Mastro AND OrdVenTest.GruppoCli = PianoConti.Gruppo)"
                         " LEFT JOIN Articoli ON OrdVenDett.Articolo = Articoli.Articolo";
    const QString where = Where(kTail + kClosed);
    QTest::newRow("document/article by reference")
        << 0 << false << head + where + " ORDER BY OrdVenTest.DataRif, OrdVenTest.NumRif, OrdVenDett.RigDet";
    QTest::newRow("document/article by document")
        << 0 << true << head + where + " ORDER BY OrdVenTest.DataDoc, OrdVenTest.NumDoc, OrdVenDett.RigDet";
    QTest::newRow("article/document")
        << 1 << false << head + where + " ORDER BY  Articoli.Descrizione, OrdVenTest.DataRif, OrdVenTest.NumRif";
    QTest::newRow("grouped by article")
        << 2 << false
        << "SELECT FIRST(OrdVenDett.Articolo) AS ArtOrd,Sum(OrdVenDett.Qta) AS QtaOrd,Sum(OrdVenDett.QtaEvasa) AS QtaEvasa,"
           " First(Articoli.Descrizione) As ArtOrdDescrizione, First(Articoli.ArtUM) As ArtOrdUm"
           " FROM ((((OrdVenTest LEFT JOIN OrdVenDett ON OrdVenTest.NumRif = OrdVenDett.NumRif AND"
           " OrdVenTest.Anno = OrdVenDett.Anno)"
           " LEFT JOIN Magazzini AS MagazziniProv ON OrdVenTest.MagazzProv = MagazziniProv.Magazzino)"
           " LEFT JOIN Magazzini AS MagazziniDest ON OrdVenTest.MagazzDest = MagazziniDest.Magazzino)"
           " LEFT JOIN Articoli ON OrdVenDett.Articolo = Articoli.Articolo)"
           " LEFT JOIN PianoConti ON OrdVenTest.ContoCli = PianoConti.Conto AND"
           " OrdVenTest.MastroCli = PianoConti.Mastro AND OrdVenTest.GruppoCli = PianoConti.Gruppo"
               + where + " GROUP BY OrdVenDett.Articolo";
}

void TestFabbisStatement::statement()
{
    QFETCH(int, tipo);
    QFETCH(bool, numDoc);
    QFETCH(QString, expected);
    kemtest::RequirementsRun run(db_, dir_.path());
    run.report->oiTipoStampa = static_cast<qint16>(tipo);
    run.report->obOrdNumdoc = numDoc;
    QString sql;
    run.report->PrepSqlOrdini(sql);
    QCOMPARE(sql, expected);
}

void TestFabbisStatement::quotesOnly()
{
    kemtest::RequirementsRun run(db_, dir_.path());
    run.report->osMagazzino = "M1";
    run.report->osAgenteDa = "A";
    run.report->otPrevConsDa = QDate(2024, 1, 1);
    for (const QString &kind : {QStringLiteral("P"), QStringLiteral("x")}) {
        run.report->osOrdPre = kind;
        for (qint16 tipo = 0; tipo <= 2; ++tipo) {
            run.report->oiTipoStampa = tipo;
            QString sql;
            run.report->PrepSqlOrdini(sql);
            QVERIFY2(!sql.contains("OrdVen"), qPrintable(sql));
            QVERIFY(sql.contains("PreVenTest.") && sql.contains("PreVenDett."));
            QString scratch;
            run.report->PrepSqlAppoggioTemp(scratch, 2024, 1);
            QVERIFY(!scratch.contains("OrdVen"));
        }
    }
    run.report->osOrdPre = "o";  // compared without regard to case
    QVERIFY(run.report->CreaWhereOrdini(QString()).contains("OrdVenTest.Tipo"));
}

void TestFabbisStatement::selects_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QStringList>("lines");  // NumRif/RigDet selected, in statement order
    QTest::newRow("open lines of type A of documents of type 3")
        << "O" << Setup([](kem::StFabbis &) {}) << QStringList{"1/1", "1/2", "2/1"};
    QTest::newRow("line without a date by the header's, line with one by its own")
        << "O" << Setup([](kem::StFabbis &r) {
               r.otPrevConsDa = QDate(2024, 3, 9);
               r.otPrevConsA = QDate(2024, 3, 11);
           })
        << QStringList{"1/1"};
    QTest::newRow("the line's own date wins over the header's")
        << "O" << Setup([](kem::StFabbis &r) { r.otPrevConsDa = QDate(2024, 3, 15); }) << QStringList{"1/2", "2/1"};
    QTest::newRow("delivery upper bound only")
        << "O" << Setup([](kem::StFabbis &r) { r.otPrevConsA = QDate(2024, 3, 20); }) << QStringList{"1/1", "1/2"};
    QTest::newRow("agent lower bound: first or second agent")
        << "O" << Setup([](kem::StFabbis &r) { r.osAgenteDa = "AG5"; }) << QStringList{"1/1", "1/2", "2/1"};
    QTest::newRow("agent range: neither agent")
        << "O" << Setup([](kem::StFabbis &r) { r.osAgenteDa = "AG6"; r.osAgenteA = "AG8"; }) << QStringList{};
    QTest::newRow("warehouse as source")
        << "O" << Setup([](kem::StFabbis &r) { r.osMagazzino = "m2"; }) << QStringList{"1/1", "1/2", "2/1"};
    QTest::newRow("customer lower bound")
        << "O" << Setup([](kem::StFabbis &r) { r.osGruppoCliDa = "1"; r.osMastroCliDa = "10"; r.osContoCliDa = "002"; })
        << QStringList{"2/1"};
    QTest::newRow("class level 3 upper bound")
        << "O" << Setup([](kem::StFabbis &r) { r.osArtClasseAttrA[2] = "C2"; }) << QStringList{"1/1", "2/1"};
    QTest::newRow("category and zone") << "O"
                                       << Setup([](kem::StFabbis &r) { r.osCatDa = "K2"; r.osZonA = "Z2"; })
                                       << QStringList{"2/1"};
    QTest::newRow("quotes") << "P" << Setup([](kem::StFabbis &) {}) << QStringList{"5/1"};
}

void TestFabbisStatement::selects()
{
    QFETCH(QString, kind);
    QFETCH(Setup, setup);
    QFETCH(QStringList, lines);
    kemtest::RequirementsRun run(db_, dir_.path());
    run.report->osOrdPre = kind;
    setup(*run.report);
    QString sql;
    run.report->PrepSqlOrdini(sql);
    kem::ResultSets rs;
    const QString h = rs.RsOpen(run.db, sql);
    kem::RsGuard guard(rs, h);
    const QString L = kind == "O" ? "OrdVenDett." : "PreVenDett.";
    QStringList got;
    if (!rs.RsIsEmpty(h)) {
        rs.RsMoveFirst(h);
        for (; !rs.RsEof(h); rs.RsMoveNext(h))
            got << rs.RsField(h, L + "NumRif").toString() + "/" + rs.RsField(h, L + "RigDet").toString();
    }
    QCOMPARE(got, lines);
}

QTEST_MAIN(TestFabbisStatement)
#include "tst_fabbisstatement.moc"
