#include "schema/companyschema.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

class TstCompanySchema : public QObject {
    Q_OBJECT
private slots:
    void createsEveryTableWithPrimaryKey();
    void failedCreationLeavesNothing();
    void menuTableAlone();
};

static QSqlDatabase OpenMemory(const QString &name)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(QStringLiteral(":memory:"));
    return db;
}

void TstCompanySchema::createsEveryTableWithPrimaryKey()
{
    {
        QSqlDatabase db = OpenMemory(QStringLiteral("c1"));
        QVERIFY(db.open());
        QString err;
        QVERIFY2(kem::CreateCompanySchema(db, &err), qPrintable(err));
        QStringList tables = db.tables();
        tables.sort();
        QStringList expected{
            "Agenti", "Appoggio", "AppoggioTemp", "ArtLegami", "ArtLisPromozioni", "ArtListini",
            "Articoli", "ArticoliCosti", "ArticoliProg", "Listini", "Magazzini", "MenuDett",
            "Monete", "OrdVenDett", "OrdVenTest", "PianoConti", "PreVenDett", "PreVenTest",
            "StaLasFontPers", "TabCategorie", "TabClassiArt", "TabClassiPdc", "TabGruppi",
            "TabIva", "TabSottoGruppi", "TabTipiDoc", "TabUM", "TabZone", "TestiEmail"};
        expected.sort();
        QCOMPARE(tables, expected);
        for (const QString &t : tables) {
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(t)));
            int pk = 0;
            while (q.next())
                pk += q.value(5).toInt() > 0 ? 1 : 0;
            QVERIFY2(pk > 0, qPrintable(t));
        }
        // Text compares without regard to case.
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("INSERT INTO Articoli (Articolo) VALUES ('abc')")));
        QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*) FROM Articoli WHERE Articolo = 'ABC'")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 1);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("c1"));
}

void TstCompanySchema::failedCreationLeavesNothing()
{
    {
        QSqlDatabase db = OpenMemory(QStringLiteral("c2"));
        QVERIFY(db.open());
        QSqlQuery q(db);
        // A table of the schema already there: creation fails part way and is rolled back.
        QVERIFY(q.exec(QStringLiteral("CREATE TABLE Monete (x)")));
        QString err;
        QVERIFY(!kem::CreateCompanySchema(db, &err));
        QVERIFY(err.contains(QStringLiteral("Monete")));
        QCOMPARE(db.tables(), QStringList{QStringLiteral("Monete")});
    }
    QSqlDatabase::removeDatabase(QStringLiteral("c2"));
}

void TstCompanySchema::menuTableAlone()
{
    {
        QSqlDatabase db = OpenMemory(QStringLiteral("c3"));
        QVERIFY(db.open());
        QString err;
        QVERIFY2(kem::CreateSchemaTables(db, {QStringLiteral("MenuDett")}, &err), qPrintable(err));
        QCOMPARE(db.tables(), QStringList{QStringLiteral("MenuDett")});
        QVERIFY(!kem::CreateSchemaTables(db, {QStringLiteral("NoSuchTable")}, &err));
        QVERIFY(err.contains(QStringLiteral("NoSuchTable")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("c3"));
}

QTEST_GUILESS_MAIN(TstCompanySchema)
#include "tst_companyschema.moc"
