// Cost rollup over a small company built here, through the straightforward and the cached path.
#include "bomcore/bomsource.h"
#include "tests/support/testcompany.h"
#include "platform/db/kemdb.h"

#include <QTemporaryDir>
#include <QtTest>

using kemtest::RecordingSink;
using Path = kem::BomSource::Path;

Q_DECLARE_METATYPE(kem::BomSource::Path)

namespace {

constexpr int kChainDepth = 100000;  // far deeper than any call stack would allow

QString link(const QString &parent, const QString &child, double qta, const QString &um,
             const QString &method, const QString &list = {})
{
    return QStringLiteral("('%1','%2','%3',%4,%5,%6)")
        .arg(parent, child, um, QString::number(qta, 'g', 17),
             method.isEmpty() ? QStringLiteral("NULL") : "'" + method + "'",
             list.isEmpty() ? QStringLiteral("NULL") : "'" + list + "'");
}

// One valuation, as the report asks for it.
struct Run {
    bool ok = false;
    double value = -1;
};

Run value(kem::CostRollup &rollup, const QString &article, double qty, const QString &method,
          const QString &list, qint16 kind)
{
    Run r;
    r.ok = rollup.CreaMovDiBaLegami(article, QStringLiteral("PZ"), QString(), qty, 1, r.value, 0, 1,
                                    method, list, kind);
    return r;
}

} // namespace

// A rollup on the fixture database with the test's path, preloaded when asked.
struct Rig {
    Rig(const QString &dbPath, kem::BomSource::Path path, bool preload)
        : db(opened(dbPath)), source(*db, params, sink, path), rollup(source.rollup())
    {
        if (preload)
            source.beginRun();
    }
    static std::unique_ptr<kem::Database> opened(const QString &dbPath)
    {
        auto db = std::make_unique<kem::Database>();
        db->DbOpen(dbPath);
        return db;
    }
    RecordingSink sink;
    const kem::CompanyParams params = kemtest::FixtureParams();
    std::unique_ptr<kem::Database> db;
    kem::BomSource source;
    kem::CostRollup &rollup;
};

class TestCostRollup : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void rollup_data();
    void rollup();
    void vatRateIsTheArticlesOwn_data();
    void vatRateIsTheArticlesOwn();
    void afterCycleTheNextValuationWorks_data();
    void afterCycleTheNextValuationWorks();
    void deepStructureHasNoDepthLimit_data();
    void deepStructureHasNoDepthLimit();
    void scarValuesOneLinkOfAResultSet_data();
    void scarValuesOneLinkOfAResultSet();
    void cachedSharedStructureCostsNoStatements();

private:
    void addPaths();
    QTemporaryDir dir_;
    QString dbPath_;
};

void TestCostRollup::initTestCase()
{
    QVERIFY(dir_.isValid());
    dbPath_ = dir_.filePath(QStringLiteral("distinte.db"));
    QStringList articles = {
        "('BASE1','PZ','PZ','PZ',1,1,3,'22')",     "('BASE2','KG','G','T',0.001,1000,3,'22')",
        "('BASE3','PZ','PZ','PZ',1,1,3,'22')",     "('BASE4','PZ','PZ','PZ',1,1,3,'22')",
        "('SEMI','PZ','PZ','PZ',1,1,2,'22')",      "('SEMINL','PZ','PZ','PZ',1,1,2,'22')",
        "('FINNL','PZ','PZ','PZ',1,1,1,'22')",     "('PF','PZ','PZ','PZ',1,1,1,'22')",
        "('PFNOL','PZ','PZ','PZ',1,1,1,'22')",     "('PSEMI','PZ','PZ','PZ',1,1,1,'22')",
        "('PFIN','PZ','PZ','PZ',1,1,1,'22')",      "('PQ','PZ','PZ','PZ',1,1,1,'22')",
        "('PUA','PZ','PZ','PZ',1,1,1,'22')",       "('PUV','PZ','PZ','PZ',1,1,1,'22')",
        "('PUX','PZ','PZ','PZ',1,1,1,'22')",       "('PUK','PZ','PZ','PZ',1,1,1,'22')",
        "('MISS','PZ','PZ','PZ',1,1,1,'22')",      "('PMISS','PZ','PZ','PZ',1,1,1,'22')",
        "('SELF','PZ','PZ','PZ',1,1,2,'22')",      "('CP','PZ','PZ','PZ',1,1,1,'22')",
        "('CA','PZ','PZ','PZ',1,1,2,'22')",        "('CB','PZ','PZ','PZ',1,1,2,'22')",
        "('BASEV','PZ','PZ','PZ',1,1,3,'22')",     "('BASEV4','PZ','PZ','PZ',1,1,3,'4')",
        "('PV','PZ','PZ','PZ',1,1,1,'22')",
    };
    QStringList links = {
        link("BASE3", "BASE1", 1, "PZ", "U"),
        link("SEMI", "BASE1", 2, "PZ", "M"),     link("SEMI", "BASE2", 0.5, "KG", "S"),
        link("PF", "SEMI", 3, "PZ", "", "LS"),   link("PF", "BASE3", 1, "PZ", "M"),
        link("PF", "BASE1", 0.333, "PZ", "U"),
        link("PSEMI", "SEMINL", 2, "PZ", "", "LS"),
        link("PFIN", "FINNL", 2, "PZ", "", "LS"),
        link("PQ", "BASE4", 0.333, "PZ", "M"),
        link("PUA", "BASE2", 2, "T", "M"),       link("PUV", "BASE2", 500, "G", "M"),
        link("PUX", "BASE2", 2, "XX", "M"),      link("PUK", "BASE2", 2, "kg", "M"),
        link("MISS", "BASE1", 1, "PZ", "M"),     link("MISS", "GHOST", 1, "PZ", "M"),
        link("PMISS", "MISS", 1, "PZ", ""),      link("PMISS", "BASE1", 1, "PZ", "M"),
        link("SELF", "SELF", 1, "PZ", ""),
        link("CP", "BASE1", 1, "PZ", "M"),       link("CP", "CA", 1, "PZ", ""),
        link("CA", "CB", 1, "PZ", ""),
        link("CB", "CA", 1, "PZ", ""),           link("CB", "BASE1", 1, "PZ", "M"),
        link("PV", "BASEV", 2, "PZ", "L", "LIV"), link("PV", "BASEV4", 1, "PZ", "L", "LIV"),
    };
    // A chain D0 -> D1 -> ... -> Dn, deeper than any recursion limit would allow.
    for (int i = 0; i <= kChainDepth; ++i) {
        articles << QStringLiteral("('D%1','PZ','PZ','PZ',1,1,%2,'22')").arg(i).arg(i == kChainDepth ? 3 : 2);
        if (i < kChainDepth)
            links << link(QStringLiteral("D%1").arg(i), QStringLiteral("D%1").arg(i + 1), 1, "PZ", "M");
    }
    const QStringList rows = {
        "INSERT INTO Listini (Listino, Descrizione, Ivato) VALUES ('LS','Semilavorati',0),"
        " ('LIV','Ivato',1)",
        "INSERT INTO TabIva (Iva, Descrizione, Aliquota) VALUES ('22','22%',22), ('4','4%',4)",
        "INSERT INTO Articoli (Articolo, ArtUM, ArtUMVen, ArtUMAcq, FatConVen, FatConAcq, DistBase,"
        " IvaVendite) VALUES " + articles.join(','),
        "INSERT INTO ArtLegami (ArticoloPadre, ArticoloFiglio, UM, Qta, QualeImporto, Listino) VALUES "
            + links.join(','),
        "INSERT INTO ArticoliCosti (Anno, Articolo, MedioPonderale, CostoUltimo, Standard) VALUES"
        " (2026,'BASE1',2.5,3,4), (2026,'BASE2',1.2,1.3,1.5), (2026,'BASE3',7,7,8),"
        " (2026,'BASE4',1000,1000,1000), (2026,'PFNOL',50,50,60), (2026,'BASEV',5,5,5),"
        " (2026,'BASEV4',5,5,5), (2026,'D" + QString::number(kChainDepth) + "',1,1,1)",
        "INSERT INTO ArtListini (Articolo, Listino, DataInizio, Prezzo) VALUES"
        " ('SEMINL','LS','2026-01-01',9), ('FINNL','LS','2026-01-01',9),"
        " ('BASEV','LIV','2026-01-01',12.2), ('BASEV4','LIV','2026-01-01',10.4)",
    };
    QString error;
    QVERIFY2(kemtest::BuildCompanyDb(dbPath_, rows, &error), qPrintable(error));
}

void TestCostRollup::rollup_data()
{
    QTest::addColumn<Path>("path");
    QTest::addColumn<bool>("preload");
    QTest::addColumn<QString>("article");
    QTest::addColumn<double>("qty");
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("override");
    QTest::addColumn<int>("qtyDecimals");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("expected");
    QTest::addColumn<QStringList>("messages");

    const QString none;
    const QStringList quiet;
    for (int mode = 0; mode < 3; ++mode) {
        const Path path = mode == 0 ? Path::Straightforward : Path::Cached;
        const bool preload = mode == 2;
        const char *p = mode == 0 ? "straight: " : mode == 1 ? "cached: " : "preloaded: ";
        auto row = [p, path, preload](const char *name) -> QTestData & {
            return QTest::newRow(qPrintable(QString(p) + name)) << path << preload;
        };
        // Leaves.
        row("leaf without links at average cost") << "PFNOL" << 3.0 << "M" << none << 0 << none << 3 << true << 150.0 << quiet;
        row("leaf quantity 0 gives the price") << "PFNOL" << 0.0 << "M" << none << 0 << none << 3 << true << 50.0 << quiet;
        row("leaf without cost is 0") << "PFNOL" << 2.0 << "L" << "LS" << 0 << none << 3 << true << 0.0 << quiet;
        row("base with links valued as leaf") << "BASE3" << 2.0 << "M" << none << 3 << none << 3 << true << 14.0 << quiet;
        row("base with links as kind 0 explodes") << "BASE3" << 2.0 << "M" << none << 0 << none << 3 << true << 6.0 << quiet;
        // Assemblies: SEMI 6 x (2 x 2,5 + 0,5 x 1,5) = 34,50; BASE3 2 x 7 = 14; BASE1 0,666 x 3 = 2,00.
        row("assembly through levels") << "PF" << 2.0 << none << none << 0 << none << 3 << true << 50.5 << quiet;
        // Standard everywhere: SEMI 6 x (2 x 4 + 0,5 x 1,5) = 52,50; BASE3 2 x 8; BASE1 0,666 x 4 = 2,66.
        row("standard cost everywhere") << "PF" << 2.0 << none << none << 0 << "S" << 3 << true << 71.16 << quiet;
        row("semi-finished list passed down") << "PSEMI" << 1.0 << none << none << 0 << none << 3 << true << 18.0 << quiet;
        row("finished component gets no list") << "PFIN" << 1.0 << none << none << 0 << none << 3 << true << 0.0 << quiet;
        row("0,333 x 3 is 0,999") << "PQ" << 3.0 << none << none << 0 << none << 3 << true << 999.0 << quiet;
        row("0,333 x 3 to 2 decimals is 1") << "PQ" << 3.0 << none << none << 0 << none << 2 << true << 1000.0 << quiet;
        // Units: BASE2 is stocked in KG, sold in G (0,001), bought in T (1000), cost 1,2.
        row("purchase unit") << "PUA" << 1.0 << none << none << 0 << none << 3 << true << 2400.0 << quiet;
        row("sales unit") << "PUV" << 1.0 << none << none << 0 << none << 3 << true << 0.6 << quiet;
        row("unknown unit factor 1") << "PUX" << 1.0 << none << none << 0 << none << 3 << true << 2.4 << quiet;
        row("stock unit any case") << "PUK" << 1.0 << none << none << 0 << none << 3 << true << 2.4 << quiet;
        // VAT-inclusive list: 12,20 at 22% and 10,40 at 4% are both 10 net.
        row("VAT removed at each rate") << "PV" << 1.0 << none << none << 0 << none << 3 << true << 30.0 << quiet;
        row("VAT removed from a leaf") << "BASEV" << 1.0 << "L" << "LIV" << 3 << none << 3 << true << 10.0 << quiet;
        row("no VAT removed from a cost") << "BASEV" << 1.0 << "M" << "LIV" << 3 << none << 3 << true << 5.0 << quiet;
        // Failures.
        const QStringList ghost{"Prodotto GHOST previsto come legame ma inesistente"};
        row("missing component") << "MISS" << 1.0 << none << none << 0 << none << 3 << false << 0.0 << ghost;
        row("missing component below") << "PMISS" << 1.0 << none << none << 0 << none << 3 << false << 0.0 << ghost;
        row("article that contains itself") << "SELF" << 1.0 << none << none << 0 << none << 3 << false << 0.0
            << QStringList{"Distinta ciclica: SELF -> SELF"};
        row("cycle below a parent") << "CP" << 1.0 << none << none << 0 << none << 3 << false << 0.0
            << QStringList{"Distinta ciclica: CA -> CB -> CA (nella distinta di CP)"};
        row("cycle from its start") << "CA" << 1.0 << none << none << 0 << none << 3 << false << 0.0
            << QStringList{"Distinta ciclica: CA -> CB -> CA"};
    }
}

void TestCostRollup::rollup()
{
    QFETCH(Path, path);
    QFETCH(bool, preload);
    QFETCH(QString, article);
    QFETCH(double, qty);
    QFETCH(QString, method);
    QFETCH(QString, list);
    QFETCH(int, kind);
    QFETCH(QString, override);
    QFETCH(int, qtyDecimals);
    QFETCH(bool, ok);
    QFETCH(double, expected);
    QFETCH(QStringList, messages);

    kem::Database db;
    db.DbOpen(dbPath_);
    RecordingSink sink;
    kem::CompanyParams params = kemtest::FixtureParams();
    params.numDecQta = static_cast<qint16>(qtyDecimals);
    kem::BomSource source(db, params, sink, path);
    kem::CostRollup &rollup = source.rollup();
    rollup.setOverride(override, QString(), QString());
    if (preload)
        source.beginRun();

    const Run r = value(rollup, article, qty, method, list, static_cast<qint16>(kind));
    QCOMPARE(r.ok, ok);
    QVERIFY2(qAbs(r.value - expected) < 1e-9, qPrintable(QString::number(r.value, 'g', 17)));
    QCOMPARE(sink.messages, messages);
    QVERIFY2(sink.errors.isEmpty(), qPrintable(sink.errors.join('\n')));
}

void TestCostRollup::addPaths()
{
    QTest::addColumn<Path>("path");
    QTest::addColumn<bool>("preload");
    QTest::newRow("straight") << Path::Straightforward << false;
    QTest::newRow("cached") << Path::Cached << false;
    QTest::newRow("preloaded") << Path::Cached << true;
}

void TestCostRollup::vatRateIsTheArticlesOwn_data() { addPaths(); }

void TestCostRollup::vatRateIsTheArticlesOwn()
{
    // After PV the last component read is BASEV4 (4%); BASEV (22%) must still lose 22%.
    QFETCH(Path, path);
    QFETCH(bool, preload);
    Rig rig(dbPath_, path, preload);
    kem::CostRollup &rollup = rig.rollup;
    [[maybe_unused]] RecordingSink &sink = rig.sink;
    QCOMPARE(value(rollup, "PV", 1, {}, {}, 0).value, 30.0);
    const Run r = value(rollup, "BASEV", 1, "L", "LIV", 3);
    QVERIFY(r.ok);
    QCOMPARE(r.value, 10.0);
}

void TestCostRollup::afterCycleTheNextValuationWorks_data() { addPaths(); }

void TestCostRollup::afterCycleTheNextValuationWorks()
{
    QFETCH(Path, path);
    QFETCH(bool, preload);
    Rig rig(dbPath_, path, preload);
    kem::CostRollup &rollup = rig.rollup;
    [[maybe_unused]] RecordingSink &sink = rig.sink;
    QVERIFY(!value(rollup, "CP", 1, {}, {}, 0).ok);
    QVERIFY(!value(rollup, "MISS", 1, {}, {}, 0).ok);
    // CB reached on its own fails too; the cycle CA -> CB -> CA was told already (from CP) and
    // is not told again as CB -> CA -> CB, on either path.
    const qsizetype shown = sink.messages.size();
    const Run cb = value(rollup, "CB", 1, {}, {}, 0);
    QVERIFY(!cb.ok);
    QCOMPARE(cb.value, 0.0);
    QCOMPARE(sink.messages.size(), shown);
    const Run r = value(rollup, "PF", 2, {}, {}, 0);
    QVERIFY(r.ok);
    QCOMPARE(r.value, 50.5);
}

void TestCostRollup::deepStructureHasNoDepthLimit_data() { addPaths(); }

void TestCostRollup::deepStructureHasNoDepthLimit()
{
    QFETCH(Path, path);
    QFETCH(bool, preload);
    Rig rig(dbPath_, path, preload);
    kem::CostRollup &rollup = rig.rollup;
    [[maybe_unused]] RecordingSink &sink = rig.sink;
    const Run r = value(rollup, "D0", 4, {}, {}, 0);
    QVERIFY(sink.messages.isEmpty());
    QVERIFY(r.ok);
    QCOMPARE(r.value, 4.0);
}

void TestCostRollup::scarValuesOneLinkOfAResultSet_data() { addPaths(); }

void TestCostRollup::scarValuesOneLinkOfAResultSet()
{
    // The link method on a result set of the caller: the links of PF, first one SEMI x 3.
    QFETCH(Path, path);
    QFETCH(bool, preload);
    Rig rig(dbPath_, path, preload);
    kem::CostRollup &rollup = rig.rollup;
    [[maybe_unused]] RecordingSink &sink = rig.sink;
    kem::ResultSets rs;
    kem::RsGuard h(rs, rs.RsOpen(*rig.db, "Select ArtLegami.*, Listini.Ivato from ArtLegami Left Join Listini"
                                     " On ArtLegami.Listino = Listini.Listino"
                                     " Where ArticoloPadre = 'MISS' ORDER BY ArticoloFiglio"));
    rs.RsMoveFirst(h);
    double v = -1;
    QVERIFY(rollup.CreaMovDiBaScar(rs, h, 4, v, 1)); // BASE1 x 4 at 2,5
    QCOMPARE(v, 10.0);
    rs.RsMoveNext(h);
    QVERIFY(!rollup.CreaMovDiBaScar(rs, h, 4, v, 1)); // GHOST
    QCOMPARE(v, 0.0);
    QCOMPARE(sink.messages, QStringList{"Prodotto GHOST previsto come legame ma inesistente"});
    QCOMPARE(sink.lastButtons, QStringList{"&Ok"});
}

void TestCostRollup::cachedSharedStructureCostsNoStatements()
{
    kem::Database db;
    db.DbOpen(dbPath_);
    RecordingSink sink;
    const kem::CompanyParams params = kemtest::FixtureParams();
    kem::BomSource straight(db, params, sink, Path::Straightforward);

    qint64 before = db.stats().statements;
    QCOMPARE(value(straight.rollup(), "PF", 2, {}, {}, 0).value, 50.5);
    const qint64 straightFirst = db.stats().statements - before;
    // One links query per assembly (PF, SEMI), one article query per link (3 + 2) and one
    // cost query per leaf link (4).
    QCOMPARE(straightFirst, qint64(2 + 5 + 4));
    before = db.stats().statements;
    QCOMPARE(value(straight.rollup(), "PF", 2, {}, {}, 0).value, 50.5);
    QCOMPARE(db.stats().statements - before, straightFirst); // the same reads again

    kem::BomSource cached(db, params, sink, Path::Cached);
    kem::CostRollup &rollup = cached.rollup();
    before = db.stats().statements;
    QCOMPARE(value(rollup, "PF", 2, {}, {}, 0).value, 50.5);
    QVERIFY(db.stats().statements - before > 0);
    QVERIFY(db.stats().statements - before <= straightFirst);
    // The shared sub-assembly again, at the quantity already valued and at a new one.
    before = db.stats().statements;
    QCOMPARE(value(rollup, "SEMI", 6, {}, {}, 0).value, 34.5);
    QCOMPARE(value(rollup, "SEMI", 7, {}, {}, 0).value, 40.25);
    QCOMPARE(value(rollup, "PF", 2, {}, {}, 0).value, 50.5);
    QCOMPARE(db.stats().statements - before, qint64(0));
    // A new run reads again.
    cached.endRun();
    before = db.stats().statements;
    QCOMPARE(value(rollup, "SEMI", 6, {}, {}, 0).value, 34.5);
    QVERIFY(db.stats().statements - before > 0);

    // Preloaded: links, articles, lists, costs, promotions and list prices in six statements;
    // valuations then read nothing.
    before = db.stats().statements;
    cached.beginRun();
    QCOMPARE(db.stats().statements - before, qint64(6));
    before = db.stats().statements;
    QCOMPARE(value(rollup, "PF", 2, {}, {}, 0).value, 50.5);
    QCOMPARE(value(rollup, "SEMI", 6, {}, {}, 0).value, 34.5);
    QCOMPARE(db.stats().statements - before, qint64(0));
    QCOMPARE(value(rollup, "PSEMI", 1, {}, {}, 0).value, 18.0); // by list LS
    QCOMPARE(value(rollup, "PV", 1, {}, {}, 0).value, 30.0);     // VAT-inclusive list LIV
    QCOMPARE(value(rollup, "BASEV", 1, "L", "LIV", 3).value, 10.0);
    QCOMPARE(db.stats().statements - before, qint64(0));

    // The straightforward path uses nothing the cached one read.
    before = db.stats().statements;
    QCOMPARE(value(straight.rollup(), "PF", 2, {}, {}, 0).value, 50.5);
    QCOMPARE(db.stats().statements - before, straightFirst);
}

QTEST_GUILESS_MAIN(TestCostRollup)
#include "tst_costrollup.moc"
