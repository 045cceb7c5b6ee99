// Cost and price lookup of one article on a small company built here.
#include "bomcore/pricelookup.h"
#include "tests/support/testcompany.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include "platform/db/kemdb.h"
#include "platform/util/kemutil.h"

#include <QTemporaryDir>
#include <QtTest>

using kemtest::RecordingSink;

class TestPriceLookup : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void lookup_data();
    void lookup();
    void databaseError();

private:
    QTemporaryDir dir_;
    QString dbPath_;
};

void TestPriceLookup::initTestCase()
{
    QVERIFY(dir_.isValid());
    dbPath_ = dir_.filePath(QStringLiteral("prezzi.db"));
    const QStringList rows = {
        "INSERT INTO Listini (Listino, Descrizione, Ivato, ScoSomSost, Sconto) VALUES "
        "('BASE','Base',0,NULL,NULL), ('SCO','Scontato',0,'S','10'), ('MIX','Misto',0,'M','10'),"
        " ('IVA','Ivato',1,NULL,NULL)",
        "INSERT INTO ArticoliCosti (Anno, Articolo, MedioPonderale, MedioPonderaleLire, CostoUltimo,"
        " CostoUltimoLire, Standard, StandardLire) VALUES"
        " (2026,'LEAF',10.5,20330,11,21300,12,23235), (2025,'LEAF',99,99,99,99,99,99)",
        "INSERT INTO ArtListini (Articolo, Listino, DataInizio, Prezzo, PrezzoLire, ScoSomSost, Sconto)"
        " VALUES ('LEAF','BASE','2026-01-01',100,193627,NULL,NULL),"
        " ('LEAF','BASE','2026-03-01',120,232352,NULL,NULL),"
        " ('LEAF','BASE','2026-09-01',150,290440,NULL,NULL),"
        " ('LEAF','SCO','2026-01-01',100,193627,NULL,NULL),"
        " ('ART20','SCO','2026-01-01',100,193627,NULL,'20'),"
        " ('LEAF','MIX','2026-01-01',100,193627,'L',NULL),"
        " ('MART','BASE','2026-01-01',100,193627,'M','10'),"
        " ('SURC','BASE','2026-01-01',100,193627,NULL,'10-5'),"
        " ('BAD','BASE','2026-01-01',100,193627,NULL,'10++5'),"
        " ('ODD','BASE','2026-01-01',10.126,19607,NULL,NULL),"
        " ('THIRD','SCO','2026-01-01',33.33,64536,NULL,NULL),"
        " ('LEAF','IVA','2026-01-01',122,236225,NULL,NULL),"
        " ('PROMO','BASE','2026-01-01',100,193627,NULL,NULL),"
        " ('PROMO','SCO','2026-01-01',100,193627,NULL,NULL)",
        "INSERT INTO ArtLisPromozioni (Articolo, Listino, DataInizioProm, DataFineProm, Prezzo,"
        " PrezzoLire, Descrizione, MessProm) VALUES"
        " ('PROMO','BASE','2026-06-01','2026-06-30',80,154902,'Saldi estivi','S'),"
        " ('PROMO','BASE','2026-01-01','2026-01-31',50,96814,'Inverno','S'),"
        " ('PROMO','SCO','2026-06-01','2026-06-30',80,154902,'Promo muta','N'),"
        " ('LEAF','BASE','2026-07-01','2026-07-31',60,116176,'Futura','S')",
    };
    QString error;
    QVERIFY2(kemtest::BuildCompanyDb(dbPath_, rows, &error), qPrintable(error));
}

void TestPriceLookup::lookup_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("article");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("listIvato");
    QTest::addColumn<QString>("currency");
    QTest::addColumn<QString>("discount");
    QTest::addColumn<double>("factor");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected"); // number, or empty for no value
    QTest::addColumn<bool>("vatIncluded");
    QTest::addColumn<QString>("message");

    const QString none;
    // Yearly costs.
    QTest::newRow("average cost") << "M" << "LEAF" << none << none << "Euro" << none << 1.0 << 2 << "10.5" << false << none;
    QTest::newRow("method any case") << "m" << "LEAF" << none << none << "Euro" << none << 1.0 << 2 << "10.5" << false << none;
    QTest::newRow("last cost") << "U" << "LEAF" << none << none << "Euro" << none << 1.0 << 2 << "11" << false << none;
    QTest::newRow("standard cost") << "S" << "LEAF" << none << none << "Euro" << none << 1.0 << 2 << "12" << false << none;
    QTest::newRow("cost times factor") << "M" << "LEAF" << none << none << "Euro" << none << 2.5 << 2 << "26.25" << false << none;
    QTest::newRow("cost in lire") << "M" << "LEAF" << none << none << "L." << none << 1.0 << 0 << "20330" << false << none;
    QTest::newRow("last cost in lire") << "U" << "LEAF" << none << none << "l." << none << 1.0 << 0 << "21300" << false << none;
    QTest::newRow("standard in lire") << "S" << "LEAF" << none << none << "L." << none << 1.0 << 0 << "23235" << false << none;
    QTest::newRow("cost other currency") << "U" << "LEAF" << none << none << "USD" << none << 1.0 << 2 << none << false << none;
    QTest::newRow("no cost row") << "M" << "NOCOST" << none << none << "Euro" << none << 1.0 << 2 << none << false << none;
    QTest::newRow("cost ignores VAT flag") << "M" << "LEAF" << "IVA" << "S" << "Euro" << none << 1.0 << 2 << "10.5" << false << none;
    // List prices.
    QTest::newRow("latest row not after date") << "L" << "LEAF" << "BASE" << none << "Euro" << none << 1.0 << 2 << "120" << false << none;
    QTest::newRow("list price in lire") << "L" << "LEAF" << "BASE" << none << "L." << none << 1.0 << 0 << "232352" << false << none;
    QTest::newRow("list ignores factor") << "L" << "LEAF" << "BASE" << none << "Euro" << none << 3.0 << 2 << "120" << false << none;
    QTest::newRow("list other currency") << "L" << "LEAF" << "BASE" << none << "USD" << none << 1.0 << 2 << "120" << false << none;
    QTest::newRow("blank method is list") << "" << "LEAF" << "BASE" << none << "Euro" << none << 1.0 << 2 << "120" << false << none;
    QTest::newRow("blank list") << "L" << "LEAF" << "  " << none << "Euro" << none << 1.0 << 2 << none << false << none;
    QTest::newRow("not in list") << "L" << "NOCOST" << "BASE" << none << "Euro" << none << 1.0 << 2 << none << false << none;
    QTest::newRow("list discount") << "L" << "LEAF" << "SCO" << none << "Euro" << "5" << 1.0 << 2 << "90" << false << none;
    QTest::newRow("article row discount wins") << "L" << "ART20" << "SCO" << none << "Euro" << none << 1.0 << 2 << "80" << false << none;
    QTest::newRow("rule L takes list rule M") << "L" << "LEAF" << "MIX" << none << "Euro" << "5" << 1.0 << 2 << "85.5" << false << none;
    QTest::newRow("rule M chains") << "L" << "MART" << "BASE" << none << "Euro" << "5" << 1.0 << 2 << "85.5" << false << none;
    QTest::newRow("rule M surcharge") << "L" << "MART" << "BASE" << none << "Euro" << "-5" << 1.0 << 2 << "94.5" << false << none;
    QTest::newRow("surcharge expression") << "L" << "SURC" << "BASE" << none << "Euro" << none << 1.0 << 2 << "94.5" << false << none;
    QTest::newRow("invalid discount")
        << "L" << "BAD" << "BASE" << none << "Euro" << none << 1.0 << 2 << "100" << false
        << "Sconto non valido \"10++5\" per l'articolo BAD nel listino BASE: prezzo non scontato";
    QTest::newRow("managed decimals 2") << "L" << "ODD" << "BASE" << none << "Euro" << none << 1.0 << 2 << "10.13" << false << none;
    QTest::newRow("managed decimals 3") << "L" << "ODD" << "BASE" << none << "Euro" << none << 1.0 << 3 << "10.126" << false << none;
    QTest::newRow("discounted then rounded") << "L" << "THIRD" << "SCO" << none << "Euro" << none << 1.0 << 2 << "30" << false << none;
    QTest::newRow("VAT-inclusive list") << "L" << "LEAF" << "IVA" << "S" << "Euro" << none << 1.0 << 2 << "122" << true << none;
    QTest::newRow("VAT flag any case") << "L" << "LEAF" << "IVA" << "s" << "Euro" << none << 1.0 << 2 << "122" << true << none;
    // Promotions.
    QTest::newRow("promotion with notice")
        << "L" << "PROMO" << "BASE" << none << "Euro" << none << 1.0 << 2 << "80" << false
        << "Articolo con prezzo in promozione: \r\nSaldi estivi";
    QTest::newRow("promotion takes no discount") << "L" << "PROMO" << "SCO" << none << "Euro" << "5" << 1.0 << 2 << "80" << false << none;
    QTest::newRow("promotion in lire") << "L" << "PROMO" << "SCO" << none << "L." << none << 1.0 << 0 << "154902" << false << none;
    QTest::newRow("promotion VAT flag") << "L" << "PROMO" << "SCO" << "S" << "Euro" << none << 1.0 << 2 << "80" << true << none;
}

void TestPriceLookup::lookup()
{
    QFETCH(QString, method);
    QFETCH(QString, article);
    QFETCH(QString, list);
    QFETCH(QString, listIvato);
    QFETCH(QString, currency);
    QFETCH(QString, discount);
    QFETCH(double, factor);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    QFETCH(bool, vatIncluded);
    QFETCH(QString, message);

    kem::Database db;
    db.DbOpen(dbPath_);
    RecordingSink sink;
    const kem::CompanyParams params = kemtest::FixtureParams();
    kem::PriceLookup lookup(db, params, sink);
    bool przIvato = !vatIncluded; // must be overwritten
    const QString none;
    const QString result = lookup.CercaListinoDett(
        method, none, none, none, none, 2026, article, list, listIvato, przIvato,
        QDate(2026, 6, 15), currency, static_cast<qint16>(decimals), factor, QStringLiteral("PZ"),
        discount);

    QVERIFY2(sink.errors.isEmpty(), qPrintable(sink.errors.join('\n')));
    if (expected.isEmpty()) {
        QVERIFY2(result.isEmpty(), qPrintable(result));
    } else {
        QVERIFY(!result.isEmpty());
        QCOMPARE(kem::TextToNum(result), expected.toDouble());
        // The text carries exactly the managed decimals.
        const qsizetype comma = result.lastIndexOf(QLatin1Char(','));
        QCOMPARE(comma < 0 ? 0 : int(result.size() - comma - 1), decimals);
    }
    QCOMPARE(przIvato, vatIncluded);
    QCOMPARE(sink.messages, message.isEmpty() ? QStringList() : QStringList{message});

    // The same from the year's costs and the date's prices read in one go; lookups of another
    // year and date are still queried one by one.
    const QList<QPair<qint16, QDate>> preloads = {{qint16(2026), QDate(2026, 6, 15)},
                                                  {qint16(2025), QDate(2026, 6, 14)}};
    for (const auto &[year, date] : preloads) {
        kem::PriceLookup preloaded(db, params, sink);
        const qint64 before = db.stats().statements;
        preloaded.preload(year, date);
        QCOMPARE(db.stats().statements - before, qint64(3));
        bool flag = !vatIncluded;
        const QString again = preloaded.CercaListinoDett(
            method, none, none, none, none, 2026, article, list, listIvato, flag,
            QDate(2026, 6, 15), currency, static_cast<qint16>(decimals), factor,
            QStringLiteral("PZ"), discount);
        QCOMPARE(again, result);
        QCOMPARE(flag, przIvato);
        if (year == 2026)
            QCOMPARE(db.stats().statements - before, qint64(3)); // nothing read after the preload
    }
}

void TestPriceLookup::databaseError()
{
    // A database without the cost table: the error is shown and the value is empty.
    const QString path = dir_.filePath(QStringLiteral("vuoto.db"));
    {
        const QString name = QStringLiteral("vuoto");
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            raw.setDatabaseName(path);
            QVERIFY(raw.open());
            QSqlQuery q(raw);
            QVERIFY(q.exec(QStringLiteral("CREATE TABLE Altro (Codice TEXT PRIMARY KEY)")));
            raw.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    kem::Database db;
    db.DbOpen(path);
    RecordingSink sink;
    const kem::CompanyParams params = kemtest::FixtureParams();
    kem::PriceLookup lookup(db, params, sink);
    bool przIvato = true;
    const QString none;
    const QString result = lookup.CercaListinoDett(QStringLiteral("M"), none, none, none, none, 2026,
                                                   QStringLiteral("LEAF"), none, none, przIvato,
                                                   QDate(2026, 6, 15), QStringLiteral("Euro"), 2, 1,
                                                   none, none);
    QVERIFY(result.isEmpty());
    QVERIFY(!przIvato);
    QCOMPARE(sink.errors.size(), 1);
    QVERIFY2(sink.errors.first().startsWith(QLatin1String("Errore(")), qPrintable(sink.errors.first()));
}

QTEST_GUILESS_MAIN(TestPriceLookup)
#include "tst_pricelookup.moc"
