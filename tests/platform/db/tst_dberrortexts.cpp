// What the user reads for an error of the database engine: the data access layer's number and
// its Italian text, never the engine's own English words.
#include "platform/db/errortexts.h"
#include "platform/db/kemdb.h"
#include "tests/support/testcompany.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace kem;

class TestDbErrorTexts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void engineErrors_data();
    void engineErrors();
    void openErrors_data();
    void openErrors();
    void textOfEveryNumber();

private:
    QTemporaryDir dir_;
    QString file_;
};

void TestDbErrorTexts::initTestCase()
{
    QString error;
    file_ = kemtest::CreateFixtureCompany(dir_.path(), &error);
    QVERIFY2(!file_.isEmpty(), qPrintable(error));
}

void TestDbErrorTexts::engineErrors_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");
    QTest::newRow("unknown table") << "Select * from Monetine" << 3078
                                   << "Il motore di database non trova la tabella o la query di input: 'Monetine'";
    QTest::newRow("unknown column") << "Select Colore from Articoli" << 3061
                                    << "Parametri insufficienti: un nome della query non è una colonna: 'Colore'";
    QTest::newRow("syntax") << "Select from where" << 3075 << "Errore di sintassi nell'espressione della query";
    QTest::newRow("duplicate key") << "INSERT INTO TabIva (Iva, Descrizione, Aliquota) VALUES ('22', 'Doppia', 22)" << 3022
                                   << "Le modifiche non sono state apportate: creerebbero valori duplicati nell'indice, nella chiave primaria o nella relazione: 'TabIva.Iva'";
}

void TestDbErrorTexts::engineErrors()
{
    QFETCH(QString, sql);
    QFETCH(int, number);
    QFETCH(QString, text);
    Database db;
    db.DbOpen(file_);
    try {
        if (sql.startsWith(QLatin1String("Select"))) {
            ResultSets rs;
            RsGuard guard(rs, rs.RsOpen(db, sql));
        } else {
            db.DbExecute(sql);
        }
        QFAIL("no error");
    } catch (const DbError &e) {
        QCOMPARE(e.number(), number);
        QCOMPARE(e.description(), text);
        QVERIFY(!e.engineMessage().isEmpty());  // the engine's words are kept for who debugs
    }
}

void TestDbErrorTexts::openErrors_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");  // empty: no file
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");
    const QString missing = dir_.filePath(QStringLiteral("manca.db"));
    QTest::newRow("missing file") << missing << QByteArray() << 3024
                                  << QStringLiteral("Impossibile trovare il file: '%1'").arg(missing);
    QTest::newRow("not a database") << dir_.filePath(QStringLiteral("rotto.db")) << QByteArray(8192, 'x') << 3343
                                    << "Formato di database non riconosciuto o file danneggiato";
}

void TestDbErrorTexts::openErrors()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(int, number);
    QFETCH(QString, text);
    if (!content.isEmpty()) {
        QFile f(name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    Database db;
    try {
        db.DbOpen(name);
        ResultSets rs;
        RsGuard guard(rs, rs.RsOpen(db, QStringLiteral("Select * from Articoli")));
        QFAIL("no error");
    } catch (const DbError &e) {
        QCOMPARE(e.number(), number);
        QCOMPARE(e.description(), text);
    }
}

void TestDbErrorTexts::textOfEveryNumber()
{
    // Every number the layer gives has an Italian text of its own.
    for (int n : {6, 94, 3020, 3021, 3022, 3024, 3027, 3031, 3034, 3035, 3059, 3061, 3065, 3075, 3078,
                  3079, 3085, 3151, 3164, 3197, 3218, 3260, 3265, 3314, 3317, 3343, 3420, 3464}) {
        const QString text = JetErrorText(n, QStringLiteral("english words"));
        QVERIFY2(!text.contains(QLatin1String("english")) && !text.startsWith(QLatin1String("Errore del motore")),
                 qPrintable(QString::number(n) + ": " + text));
    }
    // Anything else tells what the engine said.
    QCOMPARE(JetErrorText(3000, QStringLiteral("disk I/O error")), QStringLiteral("Errore del motore di database: disk I/O error"));
}

QTEST_GUILESS_MAIN(TestDbErrorTexts)
#include "tst_dberrortexts.moc"
