// The stock sums of a warehouse year read for the whole year at once against the same sums
// read article by article, on the demo company: every article (with and without
// progressives, in any case), every warehouse, and the years with and without rows.
#include "common/stocksums.h"
#include "schema/democompany.h"

#include "platform/db/kemdb.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace kem;

class TestStockSums : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void yearTableMatchesArticleSums_data();
    void yearTableMatchesArticleSums();

private:
    QTemporaryDir tmp_;
    Database db_;
    QStringList articles_;
};

void TestStockSums::initTestCase()
{
    QString error;
    const QString dir = tmp_.filePath(QStringLiteral("azienda"));
    QVERIFY2(WriteDemoCompany(dir, &error), qPrintable(error));
    db_.DbOpen(QDir(dir).filePath(QStringLiteral("dati/azienda.db")));
    ResultSets rs;
    RsGuard h(rs, rs.RsOpen(db_, QStringLiteral("SELECT Articolo FROM Articoli ORDER BY Articolo")));
    rs.RsMoveFirst(h);
    while (!rs.RsEof(h)) {
        articles_ << rs.RsField(h, QStringLiteral("Articolo")).toString();
        rs.RsMoveNext(h);
    }
    QVERIFY(articles_.size() > 20);
}

void TestStockSums::yearTableMatchesArticleSums_data()
{
    QTest::addColumn<QString>("warehouse");
    QTest::newRow("every warehouse") << QString();
    QTest::newRow("warehouse 01") << QStringLiteral("01");
    QTest::newRow("warehouse 02") << QStringLiteral("02");
    QTest::newRow("a warehouse without stock") << QStringLiteral("CL");
}

void TestStockSums::yearTableMatchesArticleSums()
{
    QFETCH(QString, warehouse);
    StockSumsTable table(db_, warehouse, 2);
    int withStock = 0;
    const QList<int> years{2024, 2025, 2026, 1999};
    for (int year : years) {
        for (const QString &a : articles_ + QStringList{QStringLiteral("NON-ESISTE")}) {
            const StockSums one = ReadStockSums(db_, year, a, warehouse, 2);
            for (const QString &asked : {a, a.toLower()}) {
                const StockSums all = table.get(year, asked);
                QCOMPARE(all.giacenza, one.giacenza);
                QCOMPARE(all.disponibilita, one.disponibilita);
            }
            if (one.giacenza != 0 || one.disponibilita != 0)
                ++withStock;
        }
    }
    QCOMPARE(withStock > 0, warehouse != QStringLiteral("CL"));
}

QTEST_GUILESS_MAIN(TestStockSums)
#include "tst_stocksums.moc"
