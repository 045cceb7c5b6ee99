// The BOM print over a small company built here: quantities through the levels, markers,
// semi-finished and missing components, unit conversions, valuation overrides, columns per
// option, page fit, no data, errors with the run end performed, cycles and the level limit,
// the same lines from the straightforward and the cached path.
#include "bom/prelvo.h"
#include "tests/support/testcompany.h"
#include "tests/bom/prelvofixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using kemtest::PrelvoRun;
using Path = kem::BomSource::Path;

Q_DECLARE_METATYPE(kem::BomSource::Path)

namespace {

constexpr int kLongChain = 1100;  // components below Y0000: beyond the 1000 levels
constexpr int kFullChain = 999;   // components below Z0000: the deepest that fits

QString article(const QString &code, const QString &desc, const QString &um, int distBase,
                const QString &umVen = {}, double fatVen = 1, const QString &umAcq = {}, double fatAcq = 1)
{
    return QStringLiteral("('%1','%2','%3','%4','%5',%6,%7,%8,'22')")
        .arg(code, desc, um, umVen.isEmpty() ? um : umVen, umAcq.isEmpty() ? um : umAcq)
        .arg(fatVen, 0, 'g', 17)
        .arg(fatAcq, 0, 'g', 17)
        .arg(distBase);
}

QString link(const QString &parent, const QString &child, double qta, const QString &um,
             const QString &method, const QString &list = {})
{
    return QStringLiteral("('%1','%2','%3',%4,%5,%6)")
        .arg(parent, child, um, QString::number(qta, 'g', 17),
             method.isEmpty() ? QStringLiteral("NULL") : "'" + method + "'",
             list.isEmpty() ? QStringLiteral("NULL") : "'" + list + "'");
}

QStringList companyRows(bool brokenLinks)
{
    QStringList articles = {
        article("P1", "Prodotto uno", "PZ", 1),
        article("P2", "Prodotto due", "PZ", 1),
        article("P3", "Prodotto tre", "PZ", 1),
        article("S1", "Semilavorato padre", "PZ", 2),
        article("SA", "Semilavorato A", "PZ", 2),
        article("SB", "Semilavorato B", "PZ", 2),
        article("F1", "Finito interno", "PZ", 1),
        article("L", "Lamiera", "PZ", 3),
        article("B3", "Base con legami", "PZ", 3),
        article("K", "Vernice", "KG", 3, "G", 0.001, "T", 1000),
        article("K2", "Vernice bis", "KG", 3, "G", 0.001, "T", 1000),
        article("XCYC", "Con ciclo", "PZ", 1),
        article("XCA", "Ciclo A", "PZ", 2),
        article("XCB", "Ciclo B", "PZ", 2),
        article("XSELF", "Contiene se stesso", "PZ", 1),
    };
    QStringList links = {
        link("P1", "SA", 2.5, "PZ", "", "LS"), link("P1", "B3", 1, "PZ", "M"),
        link("P1", "F1", 1, "PZ", "U"),        link("P1", "K", 2, "XX", "M"),
        link("P1", "K2", 500, "G", "M"),
        link("SA", "L", 4, "PZ", "M"),          link("SA", "SB", 1, "PZ", "", "LS"),
        link("SB", "L", 1, "PZ", "M"),
        link("F1", "L", 1, "PZ", "M"),          link("B3", "L", 1, "PZ", "M"),
        link("P2", "L", 1, "PZ", "M"),          link("P2", "K", 0.5, "t", "M"),
        link("P3", "GHOST", 3, "PZ", "M"),      link("P3", "L", 1, "PZ", "M"),
        link("S1", "L", 2, "PZ", "M"),
        link("XCYC", "XCA", 1, "PZ", ""),       link("XCA", "XCB", 1, "PZ", ""),
        link("XCB", "XCA", 1, "PZ", ""),        link("XCB", "L", 1, "PZ", "M"),
        link("XSELF", "XSELF", 1, "PZ", ""),
    };
    // Two chains: Y0000 deeper than the 1000 levels, Z0000 exactly as deep as they allow.
    for (const auto &[prefix, depth] : {std::pair{QStringLiteral("Y"), kLongChain}, std::pair{QStringLiteral("Z"), kFullChain}}) {
        for (int i = 0; i <= depth; ++i) {
            const QString code = prefix + QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0'));
            articles << article(code, QStringLiteral("Catena ") + code, "PZ", i == 0 ? 1 : i == depth ? 3 : 2);
            if (i < depth)
                links << link(code, prefix + QStringLiteral("%1").arg(i + 1, 4, 10, QLatin1Char('0')), 1, "PZ", "M");
        }
    }
    if (brokenLinks) {
        articles << article("BAD", "Legame guasto", "PZ", 3);
        links << link("SA", "BAD", 1, "PZ", "M");
    }
    QStringList rows = {
        "INSERT INTO Listini (Listino, Descrizione, Ivato) VALUES ('LS','Semilavorati',0)",
        "INSERT INTO TabIva (Iva, Descrizione, Aliquota) VALUES ('22','22%',22)",
        "INSERT INTO Articoli (Articolo, Descrizione, ArtUM, ArtUMVen, ArtUMAcq, FatConVen, FatConAcq,"
        " DistBase, IvaVendite) VALUES " + articles.join(','),
        "INSERT INTO ArtLegami (ArticoloPadre, ArticoloFiglio, UM, Qta, QualeImporto, Listino) VALUES "
            + links.join(','),
        "INSERT INTO ArticoliCosti (Anno, Articolo, MedioPonderale, CostoUltimo, Standard) VALUES"
        " (2026,'L',2,3,4), (2026,'B3',10,10,10), (2026,'K',5,6,7), (2026,'K2',5,6,7)",
    };
    if (brokenLinks) {
        // Reading the link to BAD fails inside the engine (an integer overflow), as a damaged
        // database or a lost connection would.
        rows << "ALTER TABLE ArtLegami RENAME TO ArtLegamiT"
             << "CREATE VIEW ArtLegami AS SELECT ArticoloPadre, ArticoloFiglio, UM,"
                " CASE WHEN ArticoloFiglio = 'BAD' THEN abs(-9223372036854775807 - 1) ELSE Qta END AS Qta,"
                " QualeImporto, Listino FROM ArtLegamiT";
    }
    return rows;
}

const QStringList kP1Full = {
    "P1|Prodotto uno|PZ|10,000|||495,00",
    "* B3|Base con legami|PZ|10,000|M||100,00",
    "* F1|Finito interno|PZ|10,000|U||20,00",
    "* * L|Lamiera|PZ|10,000|M||20,00",
    "* K|Vernice|XX|20,000|M||100,00",
    "* K2|Vernice bis|G|5.000,000|M||25,00",
    "* SA|Semilavorato A|PZ|25,000||SEM|250,00",
    "* * L|Lamiera|PZ|100,000|M||200,00",
    "* * SB|Semilavorato B|PZ|25,000||SEM|50,00",
    "* * * L|Lamiera|PZ|25,000|M||50,00",
};

} // namespace

class TestPrelvo : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void explosion_data();
    void explosion();
    void parentKinds_data();
    void parentKinds();
    void headingsFollowTheValueOption_data();
    void headingsFollowTheValueOption();
    void noDataInTheRange();
    void missingComponent_data();
    void missingComponent();
    void runStateAndQueries();
    void pagePerParent();
    void laterParentNeedsRoomForFiveLines();
    void failingStatementEndsTheRunProperly();
    void cycleIsPrintedOnceAndReported_data();
    void cycleIsPrintedOnceAndReported();
    void eachCycleToldOnce();
    void chainOfAHundredThousandLevels();
    void levelLimit_data();
    void levelLimit();
    void bothPathsWriteTheSameFile();
    void bothPathsTellTheSameMessages();
    void classBoundsIndexOutsideZeroToFive();

private:
    QTemporaryDir dir_;
    QString db_;
    QString brokenDb_;
};

void TestPrelvo::initTestCase()
{
    QVERIFY(dir_.isValid());
    db_ = dir_.filePath(QStringLiteral("azienda.db"));
    brokenDb_ = dir_.filePath(QStringLiteral("guasta.db"));
    QString error;
    QVERIFY2(kemtest::BuildCompanyDb(db_, companyRows(false), &error), qPrintable(error));
    QVERIFY2(kemtest::BuildCompanyDb(brokenDb_, companyRows(true), &error), qPrintable(error));
}

void TestPrelvo::explosion_data()
{
    QTest::addColumn<Path>("path");
    QTest::addColumn<QString>("range");
    QTest::addColumn<bool>("espScal");
    QTest::addColumn<int>("livEsp");
    QTest::addColumn<double>("qtaProd");
    QTest::addColumn<QString>("qualePrezzo");
    QTest::addColumn<bool>("importi");
    QTest::addColumn<QStringList>("expected");
    for (const Path path : {Path::Straightforward, Path::Cached}) {
        const char *p = path == Path::Cached ? "cached" : "straightforward";
        auto row = [&](const char *name) { return std::ref(QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(p, name))) << path); };
        // 10 x 2,5 = 25 and 25 x 4 = 100; depth first; SEM; no unit match; sale unit.
        row("all levels") << "P1" << true << 0 << 10.0 << "" << true << kP1Full;
        row("one level") << "P1" << true << 1 << 10.0 << "" << true
                         << QStringList{kP1Full[0], kP1Full[1], kP1Full[2], kP1Full[4], kP1Full[5], kP1Full[6]};
        row("two levels") << "P1" << true << 2 << 10.0 << "" << true
                          << kP1Full.mid(0, 9);
        row("explosion off") << "P1" << false << 0 << 10.0 << "" << true << QStringList{kP1Full[0]};
        row("standard cost for every link") << "P1" << true << 0 << 10.0 << "S" << true
            << QStringList{"P1|Prodotto uno|PZ|10,000|||815,00",
                           "* B3|Base con legami|PZ|10,000|S||100,00",
                           "* F1|Finito interno|PZ|10,000|S||40,00",
                           "* * L|Lamiera|PZ|10,000|S||40,00",
                           "* K|Vernice|XX|20,000|S||140,00",
                           "* K2|Vernice bis|G|5.000,000|S||35,00",
                           "* SA|Semilavorato A|PZ|25,000||SEM|500,00",
                           "* * L|Lamiera|PZ|100,000|S||400,00",
                           "* * SB|Semilavorato B|PZ|25,000||SEM|100,00",
                           "* * * L|Lamiera|PZ|25,000|S||100,00"};
        row("average cost, values off") << "P1" << true << 0 << 1.0 << "M" << false
            << QStringList{"P1|Prodotto uno|PZ|1,000||",
                           "* B3|Base con legami|PZ|1,000|M|",
                           "* F1|Finito interno|PZ|1,000|M|",
                           "* * L|Lamiera|PZ|1,000|M|",
                           "* K|Vernice|XX|2,000|M|",
                           "* K2|Vernice bis|G|500,000|M|",
                           "* SA|Semilavorato A|PZ|2,500||SEM",
                           "* * L|Lamiera|PZ|10,000|M|",
                           "* * SB|Semilavorato B|PZ|2,500||SEM",
                           "* * * L|Lamiera|PZ|2,500|M|"};
        // Purchase unit in another case: 0,5 t = 500 kg at 5.
        row("purchase unit") << "P2" << true << 0 << 1.0 << "" << true
            << QStringList{"P2|Prodotto due|PZ|1,000|||2.502,00",
                           "* K|Vernice|t|0,500|M||2.500,00",
                           "* L|Lamiera|PZ|1,000|M||2,00"};
    }
}

void TestPrelvo::explosion()
{
    QFETCH(Path, path);
    QFETCH(QString, range);
    QFETCH(bool, espScal);
    QFETCH(int, livEsp);
    QFETCH(double, qtaProd);
    QFETCH(QString, qualePrezzo);
    QFETCH(bool, importi);
    QFETCH(QStringList, expected);
    PrelvoRun r(db_, dir_.path());
    r.report->PathSet(path);
    r.report->osArticoloDa = range;
    r.report->osArticoloA = range;
    r.report->obEspScal = espScal;
    r.report->oiLivEsp = static_cast<qint16>(livEsp);
    r.report->odQtaProd = qtaProd;
    r.report->osQualePrezzo = qualePrezzo;
    r.report->obStampoImporti = importi;
    const QStringList lines = r.run();
    QCOMPARE(lines, expected);
    QVERIFY2(!r.report->LastRun().failed, qPrintable(r.report->LastRun().error));
    QVERIFY(r.sink.messages.isEmpty());
}

void TestPrelvo::parentKinds_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QStringList>("parents");
    QTest::newRow("finished only") << 1 << QStringList{"P1", "P2", "P3"};
    QTest::newRow("semi-finished only") << 2 << QStringList{"S1"};
    QTest::newRow("both") << 0 << QStringList{"P1", "P2", "P3", "S1"};
    QTest::newRow("any other value: both") << 7 << QStringList{"P1", "P2", "P3", "S1"};
}

void TestPrelvo::parentKinds()
{
    QFETCH(int, tipo);
    QFETCH(QStringList, parents);
    PrelvoRun r(db_, dir_.path());
    r.report->oiTipoDibaArt = static_cast<qint16>(tipo);
    r.report->obEspScal = false;
    r.report->osArticoloDa = QStringLiteral("P");
    r.report->osArticoloA = QStringLiteral("S9");
    QStringList codes;
    for (const QString &line : r.run())
        codes << line.section(QLatin1Char('|'), 0, 0);
    QCOMPARE(codes, parents);
}

void TestPrelvo::headingsFollowTheValueOption_data()
{
    QTest::addColumn<bool>("importi");
    QTest::addColumn<bool>("imgRiga");
    QTest::addColumn<QString>("headings");
    QTest::newRow("values on") << true << false << "Codice|Descrizione articolo|Um|Quantità|Val.|Cod.Listino|Importo";
    QTest::newRow("values off") << false << false << "Codice|Descrizione articolo|Um|Quantità|Val.|Cod.Listino";
    // Without image lines for the run, row images are switched off: the usual columns.
    QTest::newRow("row images without image lines") << true << true
                                                    << "Codice|Descrizione articolo|Um|Quantità|Val.|Cod.Listino|Importo";
}

void TestPrelvo::headingsFollowTheValueOption()
{
    QFETCH(bool, importi);
    QFETCH(bool, imgRiga);
    QFETCH(QString, headings);
    PrelvoRun r(db_, dir_.path());
    r.report->osArticoloDa = r.report->osArticoloA = QStringLiteral("P2");
    r.report->obStampoImporti = importi;
    r.report->obStaImgRiga = imgRiga;
    r.run();
    QVERIFY(!r.report->obStaImgRiga);
    const QStringList grid = kemtest::GridLines(r.keep.report->DocumentGet());
    const int at = grid.indexOf(headings);
    QVERIFY2(at >= 0, qPrintable(grid.join('\n')));
    QCOMPARE(grid.value(at + 1), QStringLiteral("---"));  // the rule under the headings
}

void TestPrelvo::noDataInTheRange()
{
    PrelvoRun r(db_, dir_.path());
    r.report->osArticoloDa = QStringLiteral("NONE1");
    r.report->osArticoloA = QStringLiteral("NONE2");
    QVERIFY(r.run().isEmpty());
    QCOMPARE(r.sink.messages, QStringList{"Non ci sono dati nell'intervallo richiesto"});
    QVERIFY(!r.report->LastRun().printed);
    QVERIFY(!r.report->LastRun().failed);
    QVERIFY(!r.report->obStaAtt);
}

void TestPrelvo::missingComponent_data()
{
    QTest::addColumn<Path>("path");
    QTest::newRow("straightforward") << Path::Straightforward;
    QTest::newRow("cached") << Path::Cached;
}

void TestPrelvo::missingComponent()
{
    QFETCH(Path, path);
    PrelvoRun r(db_, dir_.path());
    r.report->PathSet(path);
    r.report->osArticoloDa = r.report->osArticoloA = QStringLiteral("P3");
    const QStringList lines = r.run();
    QCOMPARE(lines, (QStringList{"P3|Prodotto tre|PZ|1,000|||0,00",
                                 "* GHOST|*** Art.Inesistente ***|PZ|3,000|M||0,00",
                                 "* L|Lamiera|PZ|1,000|M||2,00"}));
    QVERIFY(r.sink.messages.contains("Prodotto GHOST previsto come legame ma inesistente"));
    QVERIFY(!r.report->LastRun().failed);
}

void TestPrelvo::runStateAndQueries()
{
    PrelvoRun r(db_, dir_.path());
    r.report->osArticoloDa = QStringLiteral("A'B");
    r.report->osArticoloA = QString();
    r.report->oiTipoDibaArt = 0;
    QVERIFY2(r.report->ComponiSqlPadri().endsWith(
                 " WHERE Articoli.distbase > 0 AND articoli.distbase < 3 AND Articoli.articolo >= 'A''B' Order By Articoli.Articolo"),
             qPrintable(r.report->ComponiSqlPadri()));
    QVERIFY(kem::Prelvo::ComponiSqlFigli(QStringLiteral("X'1")).endsWith(" WHERE Articoli.articolo = 'X''1' ORDER By Articoli.Articolo"));
    r.report->osArticoloDa = r.report->osArticoloA = QStringLiteral("P2");
    r.run();
    // The print-active flag was raised for the job and lowered by the library when it ended.
    QCOMPARE(r.keep.title, QStringLiteral("Stampa Distinta Base"));
    QVERIFY(r.keep.shown);
    QCOMPARE(r.report->oiStaAtt(), qint16(0));
    QVERIFY(!r.report->obStaAtt);
    QVERIFY(QFile::exists(r.options->FileName));
}

void TestPrelvo::pagePerParent()
{
    for (const bool salto : {false, true}) {
        PrelvoRun r(db_, dir_.path());
        r.report->osArticoloDa = QStringLiteral("P1");
        r.report->osArticoloA = QStringLiteral("P3");
        r.report->obSaltoPag = salto ? 1 : 0;
        r.run();
        const kem::Document &doc = r.keep.report->DocumentGet();
        QHash<QString, int> pageOf;
        int headings = 0, empty = 0;
        for (const kem::GridRow &row : doc.rows) {
            if (row.rule)
                continue;
            if (row.cells.isEmpty()) {
                ++empty;
                continue;
            }
            const QString first = row.cells.first().text;
            if (first == QLatin1String("Codice"))
                ++headings;
            if (first == QLatin1String("P1") || first == QLatin1String("P2") || first == QLatin1String("P3"))
                pageOf.insert(first, row.page);
        }
        if (salto) {
            QCOMPARE(pageOf.value("P1"), 1);
            QCOMPARE(pageOf.value("P2"), 2);
            QCOMPARE(pageOf.value("P3"), 3);
            QCOMPARE(headings, 3);
        } else {
            QCOMPARE(pageOf.value("P3"), 1);
            QCOMPARE(headings, 1);
            // The blank line after the first header line and one between two BOMs.
            QCOMPARE(empty, 1 + 2);
        }
    }
}

void TestPrelvo::laterParentNeedsRoomForFiveLines()
{
    // Many short BOMs (parent, one component, a blank line) over several pages.
    const QString db = dir_.filePath(QStringLiteral("brevi.db"));
    QStringList articles{article("L", "Lamiera", "PZ", 3)}, links;
    for (int i = 0; i < 90; ++i) {
        const QString code = QStringLiteral("Q%1").arg(i, 3, 10, QLatin1Char('0'));
        articles << article(code, "Breve " + code, "PZ", 1);
        links << link(code, "L", 1, "PZ", "M");
    }
    QString error;
    QVERIFY2(kemtest::BuildCompanyDb(db, {"INSERT INTO Articoli (Articolo, Descrizione, ArtUM, ArtUMVen, ArtUMAcq,"
                                          " FatConVen, FatConAcq, DistBase, IvaVendite) VALUES " + articles.join(','),
                                          "INSERT INTO ArtLegami (ArticoloPadre, ArticoloFiglio, UM, Qta, QualeImporto,"
                                          " Listino) VALUES " + links.join(',')},
                                     &error), qPrintable(error));
    PrelvoRun r(db, dir_.path());
    r.run();
    const kem::Document &doc = r.keep.report->DocumentGet();
    QVERIFY(doc.pages.size() > 2);
    const double bottom = doc.pageSize.height() - doc.marginBottom;
    // Line pitch of the body: a parent and its component.
    double lh = 0;
    QList<QList<const kem::TextRun *>> bodyPerPage;
    for (const kem::Page &page : doc.pages) {
        QList<const kem::TextRun *> body;
        for (const kem::TextRun &t : page.texts)
            if (t.x <= doc.marginLeft + 0.01 && (t.text.startsWith('Q') || t.text.startsWith(QLatin1String("* "))))
                body << &t;
        bodyPerPage << body;
    }
    QVERIFY(bodyPerPage.first().size() >= 2);
    lh = bodyPerPage.first().at(1)->baseline - bodyPerPage.first().at(0)->baseline;
    QVERIFY(lh > 0);
    int breaksForParents = 0;
    for (int p = 0; p < bodyPerPage.size(); ++p) {
        const auto &body = bodyPerPage.at(p);
        for (const kem::TextRun *t : body) {
            if (!t->text.startsWith('Q') || (p == 0 && t == body.first()))
                continue;
            // The parent line and four more lines fit below it.
            QVERIFY2(t->baseline + 4 * lh <= bottom + 0.01,
                     qPrintable(QStringLiteral("%1 on page %2 at %3").arg(t->text).arg(p + 1).arg(t->baseline)));
        }
        // A page that ends with room for a component line but not for a new BOM.
        if (p + 1 < bodyPerPage.size() && !body.isEmpty() && bodyPerPage.at(p + 1).first()->text.startsWith('Q')
            && body.last()->baseline + 2 * lh <= bottom)
            ++breaksForParents;
    }
    QVERIFY(breaksForParents > 0);
}

void TestPrelvo::failingStatementEndsTheRunProperly()
{
    for (const Path path : {Path::Straightforward, Path::Cached}) {
        PrelvoRun r(brokenDb_, dir_.path());
        r.report->PathSet(path);
        r.report->osArticoloDa = r.report->osArticoloA = QStringLiteral("P1");
        QFile::remove(r.options->FileName);
        r.run();
        const auto &last = r.report->LastRun();
        QVERIFY(last.failed);
        const QString prefix = QStringLiteral("(Stampa Distinta Base) Errore durante la stampa : Errore(");
        QVERIFY2(last.error.startsWith(prefix), qPrintable(last.error));
        QVERIFY2(r.sink.errors.contains(last.error), qPrintable(r.sink.errors.join('\n')));
        if (path == Path::Straightforward) {
            // The failure comes in the middle of the explosion, at the components of SA:
            // the run end closes the document, and what was printed is written.
            QCOMPARE(last.lines, qint64(7));
            QVERIFY(QFile::exists(r.options->FileName));
        } else {
            // The cached path reads every link before the job starts: nothing printed, and
            // the run reports its error only.
            QCOMPARE(last.lines, qint64(0));
            QVERIFY(!r.sink.messages.contains("Non ci sono dati nell'intervallo richiesto"));
        }
        QVERIFY(!r.report->obStaAtt);
        QCOMPARE(r.report->oiStaAtt(), qint16(0));
        // The database is usable again (no transaction or result set left open): a healthy
        // range prints.
        r.report->PathSet(Path::Straightforward);
        r.report->osArticoloDa = r.report->osArticoloA = QStringLiteral("P2");
        QVERIFY(!r.run().isEmpty());
        QVERIFY(!r.report->LastRun().failed);
    }
}

void TestPrelvo::cycleIsPrintedOnceAndReported_data()
{
    QTest::addColumn<Path>("path");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("cycle");
    for (const Path path : {Path::Straightforward, Path::Cached}) {
        const QString p = path == Path::Cached ? "cached" : "straightforward";
        QTest::newRow(qPrintable(p + ": through other articles")) << path << "XCYC"
            << QStringList{"XCYC|Con ciclo|PZ|1,000|||0,00", "* XCA|Ciclo A|PZ|1,000||SEM|0,00",
                           "* * XCB|Ciclo B|PZ|1,000||SEM|0,00", "* * * L|Lamiera|PZ|1,000|M||2,00",
                           "* * * XCA|Ciclo A|PZ|1,000||SEM|0,00"}
            << "Distinta ciclica: XCA -> XCB -> XCA (nella distinta di XCYC)";
        QTest::newRow(qPrintable(p + ": directly")) << path << "XSELF"
            << QStringList{"XSELF|Contiene se stesso|PZ|1,000|||0,00", "* XSELF|Contiene se stesso|PZ|1,000|||0,00"}
            << "Distinta ciclica: XSELF -> XSELF";
    }
}

void TestPrelvo::cycleIsPrintedOnceAndReported()
{
    QFETCH(Path, path);
    QFETCH(QString, parent);
    QFETCH(QStringList, lines);
    QFETCH(QString, cycle);
    PrelvoRun r(db_, dir_.path());
    r.report->PathSet(path);
    r.report->osArticoloDa = r.report->osArticoloA = parent;
    QCOMPARE(r.run(), lines);
    // Told once in the run, by the first to meet it (the parent's valuation), not again by
    // the explosion.
    QCOMPARE(r.sink.messages.filter(QStringLiteral("Distinta ciclica")), QStringList{cycle});
    QVERIFY(!r.report->LastRun().failed);
    QVERIFY(r.report->LastRun().printed);
}

void TestPrelvo::eachCycleToldOnce()
{
    // Three cycles, of one, two and five articles, met from several parents and starts.
    const QString dbPath = dir_.filePath(QStringLiteral("cicli.db"));
    QStringList articles{"('P1','Padre 1',1)", "('P2','Padre 2',1)", "('Y1','Uno',2)"};
    QStringList links{"('P1','Y1'),('P1','Y2A'),('P1','Y5A'),('P2','Y2B'),('P2','Y5C'),('P2','Y1'),('Y1','Y1')",
                      "('Y2A','Y2B'),('Y2B','Y2A')"};
    const QStringList five{"Y5A", "Y5B", "Y5C", "Y5D", "Y5E"};
    for (const char *a : {"Y2A", "Y2B"})
        articles << QStringLiteral("('%1','Due',2)").arg(QLatin1String(a));
    for (int i = 0; i < five.size(); ++i) {
        articles << QStringLiteral("('%1','Cinque',2)").arg(five[i]);
        links << QStringLiteral("('%1','%2')").arg(five[i], five[(i + 1) % five.size()]);
    }
    QString error;
    QVERIFY2(kemtest::BuildCompanyDb(dbPath, {
        "INSERT INTO Articoli (Articolo, Descrizione, DistBase) VALUES " + articles.join(','),
        "CREATE TEMP TABLE L (P TEXT, F TEXT)",
        "INSERT INTO L VALUES " + links.join(','),
        "INSERT INTO ArtLegami (ArticoloPadre, ArticoloFiglio, UM, Qta, QualeImporto) SELECT P, F, 'PZ', 1, 'M' FROM L",
    }, &error), qPrintable(error));
    QStringList told[2];
    for (const Path path : {Path::Straightforward, Path::Cached}) {
        PrelvoRun r(dbPath, dir_.path());
        r.report->PathSet(path);
        r.report->oiTipoDibaArt = 0;  // the cycles' own articles are parents too
        QVERIFY(!r.run().isEmpty());
        told[path == Path::Cached] = r.sink.messages.filter(QStringLiteral("Distinta ciclica"));
    }
    QVERIFY2(told[0].size() == 3, qPrintable(told[0].join(QLatin1Char('\n'))));
    QCOMPARE(told[1], told[0]);
}

void TestPrelvo::chainOfAHundredThousandLevels()
{
    // A product over a chain of 100,000 semi-finished articles down to one base material with a
    // standard cost of 2: valued to the bottom, exploded to the level limit, never a crash.
    constexpr int depth = 100000;
    const QString dbPath = dir_.filePath(QStringLiteral("catena.db"));
    QString error;
    QVERIFY2(kemtest::BuildCompanyDb(dbPath, {
        "CREATE TEMP TABLE N (I INTEGER)",
        QStringLiteral("WITH RECURSIVE c(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM c WHERE i < %1) "
                       "INSERT INTO N SELECT i FROM c").arg(depth),
        QStringLiteral("INSERT INTO Articoli (Articolo, Descrizione, ArtUM, DistBase) SELECT 'K' || I, 'Livello', 'PZ', "
                       "CASE WHEN I = 0 THEN 1 WHEN I = %1 THEN 3 ELSE 2 END FROM N").arg(depth),
        QStringLiteral("INSERT INTO ArtLegami (ArticoloPadre, ArticoloFiglio, UM, Qta, QualeImporto) "
                       "SELECT 'K' || I, 'K' || (I + 1), 'PZ', 1, 'S' FROM N WHERE I < %1").arg(depth),
        QStringLiteral("INSERT INTO ArticoliCosti (Anno, Articolo, MedioPonderale, CostoUltimo, Standard) "
                       "VALUES (2026, 'K%1', 2, 2, 2)").arg(depth),
    }, &error), qPrintable(error));
    // The cached path here; the straightforward rollup of such a chain (a statement prepared
    // anew for every level) is in the cost rollup tests.
    {
        PrelvoRun r(dbPath, dir_.path());
        r.report->PathSet(Path::Cached);
        r.report->osArticoloDa = r.report->osArticoloA = QStringLiteral("K0");
        // Without the explosion: the parent's line with the value of the whole chain.
        r.report->obEspScal = false;
        QCOMPARE(r.run(), QStringList{"K0|Livello|PZ|1,000|||2,00"});
        QCOMPARE(r.sink.errors, QStringList());
        // With it: the run ends at the level limit with its message, after the lines that fit.
        r.report->obEspScal = true;
        r.run();
        QVERIFY(r.report->LastRun().failed);
        QVERIFY2(r.report->LastRun().error.contains(QStringLiteral("oltre i 1000 livelli")), qPrintable(r.report->LastRun().error));
        QCOMPARE(r.report->LastRun().lines, qint64(1 + 999));
    }
}

void TestPrelvo::levelLimit_data()
{
    QTest::addColumn<QString>("parent");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<qint64>("lines");
    QTest::newRow("999 component levels fit") << "Z0000" << false << qint64(1 + kFullChain);
    QTest::newRow("the 1000th level ends the run") << "Y0000" << true << qint64(1 + 999);
}

void TestPrelvo::levelLimit()
{
    QFETCH(QString, parent);
    QFETCH(bool, fails);
    QFETCH(qint64, lines);
    PrelvoRun r(db_, dir_.path());
    r.report->PathSet(Path::Cached);
    r.report->osArticoloDa = r.report->osArticoloA = parent;
    const QStringList printed = r.run();
    QCOMPARE(r.report->LastRun().lines, lines);
    QCOMPARE(r.report->LastRun().failed, fails);
    if (fails) {
        QVERIFY2(r.report->LastRun().error.startsWith("(Stampa Distinta Base) Errore durante la stampa : Errore(9): "),
                 qPrintable(r.report->LastRun().error));
        QVERIFY(QFile::exists(r.options->FileName));
        QVERIFY(!r.report->obStaAtt);
    }
    // The deepest line printed carries 999 markers.
    QVERIFY(printed.last().startsWith(QStringLiteral("* ").repeated(999) + parent.left(1)));
}

void TestPrelvo::bothPathsWriteTheSameFile()
{
    QByteArray files[2];
    for (const Path path : {Path::Straightforward, Path::Cached}) {
        PrelvoRun r(db_, dir_.path());
        r.report->PathSet(path);
        r.report->oiTipoDibaArt = 0;
        r.report->osArticoloDa = QStringLiteral("P");
        r.report->osArticoloA = QStringLiteral("XZ");
        r.report->odQtaProd = 3;
        r.run();
        QFile f(r.options->FileName);
        QVERIFY(f.open(QIODevice::ReadOnly));
        files[path == Path::Cached] = f.readAll();
        if (path == Path::Cached)
            QVERIFY(r.report->LastRun().stats.statements > 0);
    }
    QVERIFY(files[0].contains("* * * XCA"));
    QCOMPARE(files[1], files[0]);
}

void TestPrelvo::bothPathsTellTheSameMessages()
{
    // The demo's promotion asks for a notice: it is looked up for parents' values and for
    // component lines, and a value kept by the cached path tells it again each time it serves.
    kemtest::DemoCompany demo;
    QString error;
    QVERIFY2(demo.open(&error), qPrintable(error));
    QStringList messages[2];
    for (const Path path : {Path::Straightforward, Path::Cached}) {
        PrelvoRun r(demo.filePath(QStringLiteral("dati/azienda.db")), dir_.path());
        r.params = demo.session().params();
        r.report->PathSet(path);
        r.report->oiTipoDibaArt = 0;
        r.report->osQualePrezzo = QStringLiteral("L");
        r.report->osListino = QStringLiteral("01");
        r.run();
        QVERIFY(r.report->LastRun().printed);
        messages[path == Path::Cached] = r.sink.messages;
    }
    QVERIFY2(messages[0].filter(QStringLiteral("Articolo con prezzo in promozione")).size() >= 2,
             qPrintable(messages[0].join('\n')));
    QCOMPARE(messages[1], messages[0]);
}

void TestPrelvo::classBoundsIndexOutsideZeroToFive()
{
    PrelvoRun r(db_, dir_.path());
    r.report->osArtClasseAttrDaLet(5, QStringLiteral("Z"));
    QCOMPARE(r.report->osArtClasseAttrDa(5), QStringLiteral("Z"));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, r.report->osArtClasseAttrALet(6, QStringLiteral("X")));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, r.report->osArtClasseAttrDa(-1));
}

QTEST_MAIN(TestPrelvo)
#include "tst_prelvo.moc"
