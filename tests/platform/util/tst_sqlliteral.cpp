#include "platform/util/kemutil.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <cmath>
#include <limits>

using kem::VarKind;
Q_DECLARE_METATYPE(kem::VarKind)

class TestSqlLiteral : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        auto db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("lit"));
        db.setDatabaseName(QStringLiteral(":memory:"));
        QVERIFY2(db.open(), qPrintable(db.lastError().text()));
        exec("CREATE TABLE Clienti (Codice TEXT, Nome TEXT)");
        exec("INSERT INTO Clienti VALUES ('A1', 'Rossi'), ('B2', 'Bianchi'), ('C3', 'Verdi')");
    }

    void cleanupTestCase() { QSqlDatabase::removeDatabase(QStringLiteral("lit")); }

    void literal_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<VarKind>("kind");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("ok");
        const double nan = std::numeric_limits<double>::quiet_NaN();

        QTest::newRow("text") << QVariant("abc") << VarKind::Text << "'abc'" << true;
        QTest::newRow("text quote") << QVariant("O'NEIL") << VarKind::Text << "'O''NEIL'" << true;
        QTest::newRow("text injection") << QVariant("x' OR '1'='1") << VarKind::Text << "'x'' OR ''1''=''1'" << true;
        QTest::newRow("text empty") << QVariant(QString("")) << VarKind::Text << "''" << true;
        QTest::newRow("null text") << QVariant() << VarKind::Text << "Null" << true;
        QTest::newRow("int16") << QVariant(42) << VarKind::Int16 << "42" << true;
        QTest::newRow("int16 min") << QVariant(-32768) << VarKind::Int16 << "-32768" << true;
        QTest::newRow("int16 overflow") << QVariant(70000) << VarKind::Int16 << "Null" << false;
        QTest::newRow("int32 from italian text") << QVariant("1.234") << VarKind::Int32 << "1234" << true;
        QTest::newRow("int32 garbage text") << QVariant("abc") << VarKind::Int32 << "Null" << false;
        QTest::newRow("int32 half up") << QVariant(2.5) << VarKind::Int32 << "3" << true;
        QTest::newRow("int32 half negative") << QVariant(-2.5) << VarKind::Int32 << "-3" << true;
        QTest::newRow("int32 large") << QVariant(2147483647LL) << VarKind::Int32 << "2147483647" << true;
        QTest::newRow("int32 overflow") << QVariant(2147483648LL) << VarKind::Int32 << "Null" << false;
        QTest::newRow("double") << QVariant(2.5) << VarKind::Double << "2.5" << true;
        QTest::newRow("double 2.675") << QVariant(2.675) << VarKind::Double << "2.675" << true;
        QTest::newRow("double binary sum") << QVariant(0.1 + 0.2) << VarKind::Double << "0.30000000000000004" << true;
        QTest::newRow("double negative zero") << QVariant(-0.0) << VarKind::Double << "0" << true;
        QTest::newRow("double large") << QVariant(1e20) << VarKind::Double << "1e+20" << true;
        QTest::newRow("double italian text") << QVariant("1.234,5") << VarKind::Double << "1234.5" << true;
        QTest::newRow("double nan") << QVariant(nan) << VarKind::Double << "Null" << false;
        QTest::newRow("date") << QVariant(QDate(2024, 12, 25)) << VarKind::Date << "#12/25/2024#" << true;
        QTest::newRow("date time") << QVariant(QDateTime(QDate(2024, 3, 5), QTime(10, 30))) << VarKind::Date
                                   << "#03/05/2024#" << true;
        QTest::newRow("date italian text") << QVariant("05/03/2024") << VarKind::Date << "#03/05/2024#" << true;
        QTest::newRow("date short text") << QVariant("5/3/2024") << VarKind::Date << "#03/05/2024#" << true;
        QTest::newRow("date iso text") << QVariant("2024-03-05") << VarKind::Date << "#03/05/2024#" << true;
        QTest::newRow("date impossible") << QVariant("31/02/2024") << VarKind::Date << "Null" << false;
        QTest::newRow("date null") << QVariant(QDate()) << VarKind::Date << "Null" << true;
        QTest::newRow("bool true") << QVariant(true) << VarKind::Bool << "True" << true;
        QTest::newRow("bool false") << QVariant(false) << VarKind::Bool << "False" << true;
        QTest::newRow("bool S") << QVariant("S") << VarKind::Bool << "True" << true;
        QTest::newRow("bool N") << QVariant("n") << VarKind::Bool << "False" << true;
        QTest::newRow("bool garbage") << QVariant("forse") << VarKind::Bool << "Null" << false;
    }

    void literal()
    {
        QFETCH(QVariant, value);
        QFETCH(VarKind, kind);
        QFETCH(QString, expected);
        QFETCH(bool, ok);
        bool actualOk = !ok;
        QCOMPARE(kem::SqlLiteral(value, kind, &actualOk), expected);
        QCOMPARE(actualOk, ok);
    }

    // Whatever the text holds, the literal matches exactly that text and nothing else.
    void textNeverChangesTheStatement_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("code with quote") << QStringLiteral("O'NEIL");
        QTest::newRow("always true") << QStringLiteral("x' OR '1'='1");
        QTest::newRow("second statement") << QStringLiteral("'; DELETE FROM Clienti; --");
        QTest::newRow("doubled quotes") << QStringLiteral("a''b");
        QTest::newRow("lone quote") << QStringLiteral("'");
        QTest::newRow("backslash quote") << QStringLiteral("\\'");
        QTest::newRow("accents") << QStringLiteral("perché l'è così");
    }

    void textNeverChangesTheStatement()
    {
        QFETCH(QString, text);
        const QString lit = kem::SqlLiteral(text, VarKind::Text);
        exec(QStringLiteral("INSERT INTO Clienti VALUES (%1, 'prova')").arg(lit));

        QSqlQuery q(QSqlDatabase::database(QStringLiteral("lit")));
        QVERIFY(q.exec(QStringLiteral("SELECT Codice FROM Clienti WHERE Codice = %1").arg(lit)));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), text);
        QVERIFY(!q.next()); // only the row just inserted, never every row

        exec(QStringLiteral("DELETE FROM Clienti WHERE Codice = %1").arg(lit));
        QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM Clienti")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 3);
    }

    void doubleReadsBackExactly_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("2.675") << 2.675;
        QTest::newRow("binary sum") << 0.1 + 0.2;
        QTest::newRow("tiny") << 1e-300;
        QTest::newRow("large fraction") << 123456789.123;
        QTest::newRow("negative") << -1936.27;
    }

    void doubleReadsBackExactly()
    {
        QFETCH(double, value);
        QSqlQuery q(QSqlDatabase::database(QStringLiteral("lit")));
        QVERIFY(q.exec(QStringLiteral("SELECT %1").arg(kem::SqlLiteral(value, VarKind::Double))));
        QVERIFY(q.next());
        QVERIFY2(q.value(0).toDouble() == value, qPrintable(q.value(0).toString()));
    }

    void isBlank_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<VarKind>("kind");
        QTest::addColumn<bool>("blank");
        QTest::newRow("text empty") << QVariant(QString("")) << VarKind::Text << true;
        QTest::newRow("text blanks") << QVariant("   ") << VarKind::Text << true;
        QTest::newRow("text") << QVariant(" a ") << VarKind::Text << false;
        QTest::newRow("text zero") << QVariant("0") << VarKind::Text << false;
        QTest::newRow("null text") << QVariant() << VarKind::Text << true;
        QTest::newRow("int zero") << QVariant(0) << VarKind::Int16 << true;
        QTest::newRow("int") << QVariant(-1) << VarKind::Int32 << false;
        QTest::newRow("double zero") << QVariant(0.0) << VarKind::Double << true;
        QTest::newRow("double small") << QVariant(0.001) << VarKind::Double << false;
        QTest::newRow("double text zero") << QVariant("0,00") << VarKind::Double << true;
        QTest::newRow("double text not a number") << QVariant("abc") << VarKind::Double << false;
        QTest::newRow("null double") << QVariant() << VarKind::Double << true;
        QTest::newRow("date null") << QVariant(QDate()) << VarKind::Date << true;
        QTest::newRow("date invalid") << QVariant(QDate(2024, 2, 30)) << VarKind::Date << true;
        QTest::newRow("date") << QVariant(QDate(2024, 2, 29)) << VarKind::Date << false;
        QTest::newRow("date blank text") << QVariant(" ") << VarKind::Date << true;
        QTest::newRow("bool false") << QVariant(false) << VarKind::Bool << true;
        QTest::newRow("bool true") << QVariant(true) << VarKind::Bool << false;
        QTest::newRow("bool N") << QVariant("N") << VarKind::Bool << true;
        QTest::newRow("null bool") << QVariant() << VarKind::Bool << true;
    }

    void isBlank()
    {
        QFETCH(QVariant, value);
        QFETCH(VarKind, kind);
        QFETCH(bool, blank);
        QCOMPARE(kem::IsBlank(value, kind), blank);
    }

private:
    void exec(const QString &sql)
    {
        QSqlQuery q(QSqlDatabase::database(QStringLiteral("lit")));
        QVERIFY2(q.exec(sql), qPrintable(sql + ": " + q.lastError().text()));
    }
};

QTEST_GUILESS_MAIN(TestSqlLiteral)
#include "tst_sqlliteral.moc"
