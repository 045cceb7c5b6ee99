// Building a company database file: values as stored, failures that leave the old file alone.
#include "schema/companydbbuilder.h"
#include "tests/schema/companytestdb.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TstCompanyDbBuilder : public QObject {
    Q_OBJECT
private slots:
    void valuesStoredWithTheirTypes_data();
    void valuesStoredWithTheirTypes();
    void failedRowKeepsTheOldFile_data();
    void failedRowKeepsTheOldFile();
};

void TstCompanyDbBuilder::valuesStoredWithTheirTypes_data()
{
    QTest::addColumn<QString>("column"); // Appoggio.Memo (TEXT) or a StaLasFontPers column
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("stored"); // quote() of the stored value
    QTest::newRow("null QString") << "Memo" << QVariant(QString()) << "NULL";
    QTest::newRow("empty QString") << "Memo" << QVariant(QStringLiteral("")) << "''";
    QTest::newRow("invalid") << "Memo" << QVariant() << "NULL";
    QTest::newRow("apostrophe") << "Memo" << QVariant(QStringLiteral("TAV-O'NEIL"))
                                << "'TAV-O''NEIL'";
    QTest::newRow("accents") << "Memo" << QVariant(QStringLiteral("~ç~")) << "'~ç~'";
    QTest::newRow("date") << "Memo" << QVariant(QDate(2026, 3, 5)) << "'2026-03-05'";
    QTest::newRow("int") << "Size" << QVariant(42) << "42.0";
    QTest::newRow("double") << "Size" << QVariant(1936.27) << "1936.27";
    QTest::newRow("bool") << "Bold" << QVariant(true) << "1";
    QTest::newRow("false") << "Bold" << QVariant(false) << "0";
}

void TstCompanyDbBuilder::valuesStoredWithTheirTypes()
{
    QFETCH(QString, column);
    QFETCH(QVariant, value);
    QFETCH(QString, stored);
    const bool text = column == "Memo";
    const QString table = text ? "Appoggio" : "StaLasFontPers";
    QTemporaryDir tmp;
    const QString file = tmp.filePath("a.db");
    {
        kem::CompanyDbBuilder b(file);
        QString err;
        QVERIFY2(b.start(&err, {table}), qPrintable(err));
        {
            kem::RowInserter ins(b.db(), b.status(), table,
                                 {text ? "Codice" : "Progressivo", column});
            QVERIFY(ins.add({text ? QVariant("K") : QVariant(1), value}));
            QCOMPARE(ins.count(), qint64(1));
        }
        QVERIFY2(b.finish(&err), qPrintable(err));
    }
    CompanyTestDb db(file);
    QCOMPARE(db.scalar(QString("SELECT quote(%1) FROM %2").arg(column, table)).toString(), stored);
}

void TstCompanyDbBuilder::failedRowKeepsTheOldFile_data()
{
    QTest::addColumn<int>("fault");
    QTest::newRow("duplicate key") << 0;
    QTest::newRow("too few values") << 1;
    QTest::newRow("unknown column") << 2;
    QTest::newRow("missing key value") << 3;
}

void TstCompanyDbBuilder::failedRowKeepsTheOldFile()
{
    QFETCH(int, fault);
    QTemporaryDir tmp;
    const QString file = tmp.filePath("azienda.db");
    {
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the earlier company");
    }
    QString err;
    {
        kem::CompanyDbBuilder b(file);
        QVERIFY2(b.start(&err, {"Appoggio"}), qPrintable(err));
        {
            kem::RowInserter ins(b.db(), b.status(), "Appoggio",
                                 fault == 2 ? QStringList{"Codice", "Nessuna"}
                                            : QStringList{"Codice", "Descr"});
            if (fault != 2)
                QVERIFY(ins.add({"A", "primo"}));
            bool ok = true;
            switch (fault) {
            case 0: ok = ins.add({"a", "stesso codice, altra maiuscola"}); break;
            case 1: ok = ins.add({"B"}); break;
            case 2: ok = ins.add({"B", "x"}); break;
            case 3: ok = ins.add({QVariant(), "x"}); break;
            }
            QVERIFY(!ok);
            // Later rows are skipped once the build has failed.
            QVERIFY(!ins.add({"C", "dopo"}));
        }
        QVERIFY(!b.finish(&err));
        QVERIFY(err.contains("Appoggio"));
    }
    QFile old(file);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("the earlier company"));
    QVERIFY(!QFile::exists(file + ".tmp"));
}

QTEST_GUILESS_MAIN(TstCompanyDbBuilder)
#include "tst_companydbbuilder.moc"
