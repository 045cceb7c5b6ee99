// The result-set service (loop, names, write-back by primary key, closing) and the Jet error
// numbers of the database object.
#include "tests/support/testcompany.h"
#include "platform/db/kemdb.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace kem;

namespace {

int errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const DbError &e) {
        return e.number();
    }
    return 0;
}

const QString parents = QStringLiteral(
    "SELECT Articoli.Articolo, Articoli.Descrizione, ArtLegami.ArticoloFiglio, Art2.Descrizione, Art2.DistBase"
    " FROM (ArtLegami INNER JOIN Articoli ON ArtLegami.ArticoloPadre = Articoli.Articolo)"
    " LEFT JOIN Articoli AS Art2 ON ArtLegami.ArticoloFiglio = Art2.Articolo"
    " WHERE Articoli.distbase > 0 AND articoli.distbase < 3 Order By Articoli.Articolo, ArtLegami.ArticoloFiglio");

} // namespace

class TestResultSets : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void canonicalLoop();
    void fieldNames_data();
    void fieldNames();
    void unknownFieldAndNoRecord();
    void updateByPrimaryKey();
    void updateDuplicateKeyKeepsRow();
    void addNewInsertsWithDefaults();
    void editNeedsOneTableWithKey();
    void closing();
    void interleavedSetsAndSpellings();
    void repeatedTextsReadAsWritten();
    void transactions();
    void openErrors_data();
    void openErrors();
    void password();
    void statementErrors_data();
    void statementErrors();
    void readOnly();
    void lockedByAnotherConnection();
    void exclusiveOpenKeepsOthersOut();

private:
    QTemporaryDir dir_;
    QString template_;
    QString file_;
    Database db_;
};

void TestResultSets::initTestCase()
{
    QVERIFY(dir_.isValid());
    QString error;
    template_ = kemtest::CreateFixtureCompany(dir_.path(), &error);
    QVERIFY2(!template_.isEmpty(), qPrintable(error));
    file_ = dir_.path() + QStringLiteral("/copia.db");
}

void TestResultSets::init()
{
    // A fresh copy of the company for every test: several of them write.
    db_.DbClose();
    QFile::remove(file_);
    QVERIFY(QFile::copy(template_, file_));
    QVERIFY(db_.DbOpen(file_).startsWith(QStringLiteral("SQLITE;")));
}

void TestResultSets::canonicalLoop()
{
    ResultSets rs;
    const QString h = rs.RsOpen(db_, parents);
    QVERIFY(!rs.RsIsEmpty(h));
    QCOMPARE(rs.RsCount(h), 6);
    QStringList seen;
    rs.RsMoveFirst(h);
    while (!rs.RsEof(h)) {
        seen << rs.RsField(h, QStringLiteral("Articoli.Articolo")).toString() + u'>'
                    + rs.RsField(h, QStringLiteral("ArtLegami.ArticoloFiglio")).toString();
        rs.RsMoveNext(h);
    }
    QCOMPARE(seen, (QStringList{"PF1>MB1", "PF1>SL1", "PF2>MB1", "PF2>XX9", "SL1>MB1", "SL1>MB2"}));
    // Moving first again restarts the loop.
    rs.RsMoveFirst(h);
    QCOMPARE(rs.RsField(h, QStringLiteral("ArticoloFiglio")).toString(), QStringLiteral("MB1"));
    rs.RsClose(h);
}

void TestResultSets::fieldNames_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");

    const QString both = QStringLiteral(
        "SELECT Articoli.Descrizione, Art2.Descrizione FROM (ArtLegami INNER JOIN Articoli ON ArtLegami.ArticoloPadre = "
        "Articoli.Articolo) LEFT JOIN Articoli AS Art2 ON ArtLegami.ArticoloFiglio = Art2.Articolo "
        "WHERE ArtLegami.ArticoloPadre = 'PF1' AND ArtLegami.ArticoloFiglio = 'SL1'");
    QTest::newRow("plain name is the first column") << both << "Descrizione" << QVariant("Tavolo");
    QTest::newRow("qualified by alias") << both << "Art2.Descrizione" << QVariant("Piano");
    QTest::newRow("qualified by table") << both << "Articoli.Descrizione" << QVariant("Tavolo");
    QTest::newRow("any case") << both << "art2.DESCRIZIONE" << QVariant("Piano");

    const QString stars = QStringLiteral(
        "SELECT OrdVenTest.*, OrdVenDett.* FROM OrdVenTest INNER JOIN OrdVenDett ON OrdVenTest.Anno = OrdVenDett.Anno "
        "AND OrdVenTest.NumRif = OrdVenDett.NumRif WHERE OrdVenDett.NumRif = 1 AND OrdVenDett.RigDet = 2");
    QTest::newRow("header.* then lines.*: plain is the header's") << stars << "DataCons" << QVariant(QDate(2024, 3, 15));
    QTest::newRow("lines column qualified") << stars << "OrdVenDett.DataCons" << QVariant(QDate(2024, 4, 10));
    QTest::newRow("column only in lines") << stars << "RigDet" << QVariant(2);
    QTest::newRow("double") << stars << "ordvendett.qta" << QVariant(2.0);

    const QString alias = QStringLiteral("SELECT OrdVenDett.Qta AS QtaOrd, OrdVenDett.* FROM OrdVenDett "
                                         "WHERE NumRif = 1 AND RigDet = 1");
    QTest::newRow("alias") << alias << "QtaOrd" << QVariant(5.0);
    QTest::newRow("star after alias") << alias << "OrdVenDett.Qta" << QVariant(5.0);

    const QString star = QStringLiteral("SELECT * FROM Listini INNER JOIN ArtListini ON Listini.Listino = ArtListini.Listino "
                                        "WHERE ArtListini.DataInizio = #06/01/2024#");
    QTest::newRow("* over a join, first table") << star << "Listini.Sconto" << QVariant("10");
    QTest::newRow("* over a join, second table") << star << "ArtListini.Prezzo" << QVariant(110.0);
    QTest::newRow("boolean") << star << "Ivato" << QVariant(true);
    QTest::newRow("expression without alias") << QStringLiteral("SELECT Count(*) FROM Articoli") << "Expr1000" << QVariant(5);
}

void TestResultSets::fieldNames()
{
    QFETCH(QString, sql);
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    ResultSets rs;
    RsGuard h(rs, rs.RsOpen(db_, sql));
    QCOMPARE(rs.RsCount(h), 1);
    rs.RsMoveFirst(h);
    QCOMPARE(rs.RsField(h, name), value);
}

void TestResultSets::unknownFieldAndNoRecord()
{
    ResultSets rs;
    RsGuard h(rs, rs.RsOpen(db_, parents));
    rs.RsMoveFirst(h);
    QCOMPARE(errorOf([&] { rs.RsField(h, QStringLiteral("Art3.Descrizione")); }), 3265);
    QCOMPARE(errorOf([&] { rs.RsField(h, QStringLiteral("Prezzo")); }), 3265);
    while (!rs.RsEof(h))
        rs.RsMoveNext(h);
    QCOMPARE(errorOf([&] { rs.RsField(h, QStringLiteral("Articolo")); }), 3021);
    QCOMPARE(errorOf([&] { rs.RsMoveNext(h); }), 3021);

    RsGuard empty(rs, rs.RsOpen(db_, QStringLiteral("SELECT * FROM Articoli WHERE Articolo = 'NONE'")));
    QVERIFY(rs.RsIsEmpty(empty));
    QVERIFY(rs.RsEof(empty));
    QCOMPARE(errorOf([&] { rs.RsMoveFirst(empty); }), 3021);
}

void TestResultSets::updateByPrimaryKey()
{
    // Substitution row by row: the key column itself changes.
    ResultSets rs;
    {
        RsGuard h(rs, rs.RsOpen(db_, QStringLiteral("Select * from ArtLegami WHERE ArtLegami.ArticoloFiglio = 'MB1'"), true));
        QCOMPARE(rs.RsCount(h), 3);
        rs.RsMoveFirst(h);
        while (!rs.RsEof(h)) {
            rs.RsEdit(h);
            rs.RsFieldSet(h, QStringLiteral("ArticoloFiglio"), QStringLiteral("MB9"));
            rs.RsFieldSet(h, QStringLiteral("Qta"), rs.RsField(h, QStringLiteral("Qta")).toDouble() * 2);
            rs.RsUpdate(h);
            QCOMPARE(rs.RsField(h, QStringLiteral("ArtLegami.ArticoloFiglio")).toString(), QStringLiteral("MB9"));
            rs.RsMoveNext(h);
        }
    }
    RsGuard after(rs, rs.RsOpen(db_, QStringLiteral("Select ArticoloPadre, Qta from ArtLegami WHERE ArticoloFiglio = 'MB9' "
                                                    "Order By ArticoloPadre")));
    QCOMPARE(rs.RsCount(after), 3);
    QList<double> qta;
    for (rs.RsMoveFirst(after); !rs.RsEof(after); rs.RsMoveNext(after))
        qta << rs.RsField(after, QStringLiteral("Qta")).toDouble();
    QCOMPARE(qta, (QList<double>{16, 12, 8}));
    RsGuard gone(rs, rs.RsOpen(db_, QStringLiteral("Select * from ArtLegami WHERE ArticoloFiglio = 'MB1'")));
    QVERIFY(rs.RsIsEmpty(gone));
}

void TestResultSets::updateDuplicateKeyKeepsRow()
{
    ResultSets rs;
    RsGuard h(rs, rs.RsOpen(db_, QStringLiteral("Select * from ArtLegami WHERE ArticoloPadre = 'PF1' AND ArticoloFiglio = 'MB1'")));
    rs.RsMoveFirst(h);
    rs.RsEdit(h);
    rs.RsFieldSet(h, QStringLiteral("ArticoloFiglio"), QStringLiteral("SL1")); // PF1 already has SL1
    QCOMPARE(errorOf([&] { rs.RsUpdate(h); }), 3022);
    rs.RsCancelUpdate(h);
    QCOMPARE(rs.RsField(h, QStringLiteral("ArticoloFiglio")).toString(), QStringLiteral("MB1"));
    RsGuard check(rs, rs.RsOpen(db_, QStringLiteral("Select * from ArtLegami WHERE ArticoloPadre = 'PF1'")));
    QCOMPARE(rs.RsCount(check), 2);
    QCOMPARE(errorOf([&] { rs.RsUpdate(h); }), 3020);
    QCOMPARE(errorOf([&] { rs.RsFieldSet(h, QStringLiteral("Qta"), 1); }), 3020);
}

void TestResultSets::addNewInsertsWithDefaults()
{
    const QString row = QStringLiteral(
        "SELECT AppoggioTemp.* FROM AppoggioTemp WHERE AppoggioTemp.Utente = 'anna' AND AppoggioTemp.IdProgramma = 'FABB' "
        "AND AppoggioTemp.AppoInte0 = 2024 AND AppoggioTemp.AppoStringa0 = 1 AND AppoggioTemp.ValoreStringa = 'MB1' "
        "AND AppoggioTemp.AppoStringa1 = 'PZ'");
    ResultSets rs;
    for (int pass = 0; pass < 2; ++pass) {
        RsGuard h(rs, rs.RsOpen(db_, row));
        if (rs.RsIsEmpty(h)) {
            rs.RsAddNew(h);
            QCOMPARE(rs.RsField(h, QStringLiteral("ValoreNumero")), QVariant(0.0)); // column default
            rs.RsFieldSet(h, QStringLiteral("Utente"), QStringLiteral("anna"));
            rs.RsFieldSet(h, QStringLiteral("IdProgramma"), QStringLiteral("FABB"));
            rs.RsFieldSet(h, QStringLiteral("IdCampo"), QStringLiteral("1"));
            rs.RsFieldSet(h, QStringLiteral("AppoInte0"), 2024);
            rs.RsFieldSet(h, QStringLiteral("AppoStringa0"), QStringLiteral("1"));
            rs.RsFieldSet(h, QStringLiteral("ValoreStringa"), QStringLiteral("MB1"));
            rs.RsFieldSet(h, QStringLiteral("AppoStringa1"), QStringLiteral("PZ"));
        } else {
            QCOMPARE(pass, 1);
            rs.RsMoveFirst(h);
            rs.RsEdit(h);
        }
        rs.RsFieldSet(h, QStringLiteral("ValoreNumero"), rs.RsField(h, QStringLiteral("ValoreNumero")).toDouble() + 6);
        rs.RsFieldSet(h, QStringLiteral("AppoDouble1"), rs.RsField(h, QStringLiteral("AppoDouble1")).toDouble() + 6);
        rs.RsUpdate(h);
        QCOMPARE(rs.RsCount(h), 1);
    }
    RsGuard h(rs, rs.RsOpen(db_, row));
    QCOMPARE(rs.RsCount(h), 1);
    rs.RsMoveFirst(h);
    QCOMPARE(rs.RsField(h, QStringLiteral("ValoreNumero")), QVariant(12.0));
    QCOMPARE(rs.RsField(h, QStringLiteral("AppoDouble1")), QVariant(12.0));
}

void TestResultSets::editNeedsOneTableWithKey()
{
    ResultSets rs;
    RsGuard h(rs, rs.RsOpen(db_, parents));
    rs.RsMoveFirst(h);
    QCOMPARE(errorOf([&] { rs.RsEdit(h); }), 3027);
    QCOMPARE(errorOf([&] { rs.RsOpen(db_, parents, true); }), 3027);
    QCOMPARE(errorOf([&] { rs.RsOpen(db_, QStringLiteral("SELECT Qta FROM ArtLegami"), true); }), 3027);
    QCOMPARE(rs.openCount(), 1);
    RsGuard g(rs, rs.RsOpen(db_, QStringLiteral("SELECT Qta, ArticoloFiglio, ArticoloPadre FROM ArtLegami"), true));
    rs.RsMoveFirst(g);
    rs.RsEdit(g);
    rs.RsFieldSet(g, QStringLiteral("Qta"), 3.5);
    rs.RsUpdate(g);
}

void TestResultSets::closing()
{
    QString kept;
    {
        ResultSets rs;
        rs.RsOpen(db_, parents);
        kept = rs.RsOpen(db_, QStringLiteral("SELECT * FROM ArtLegami"));
        {
            RsGuard g(rs, rs.RsOpen(db_, parents));
            QCOMPARE(rs.openCount(), 3);
        }
        QCOMPARE(rs.openCount(), 2);
        QCOMPARE(errorOf([&] { rs.RsClose(kept); rs.RsIsEmpty(kept); }), 3420);
        rs.RsOpen(db_, parents);
    }
    // Nothing of the destroyed service holds the tables.
    TransactionGuard tx(db_);
    QCOMPARE(db_.DbExecute(QStringLiteral("DROP TABLE ArtLegami")), 0);

    // A result set outlives its database: reading works, writing reports the closed database.
    ResultSets rs;
    QString h;
    {
        Database other;
        other.DbOpen(file_);
        h = rs.RsOpen(other, QStringLiteral("SELECT * FROM Monete WHERE Moneta = 'Euro'"));
    }
    rs.RsMoveFirst(h);
    QCOMPARE(rs.RsField(h, QStringLiteral("NumDec")), QVariant(2));
    rs.RsEdit(h);
    rs.RsFieldSet(h, QStringLiteral("NumDec"), 3);
    QCOMPARE(errorOf([&] { rs.RsUpdate(h); }), 3420);
}

void TestResultSets::interleavedSetsAndSpellings()
{
    // Two result sets of one statement share their columns; names are read in several
    // spellings, sets are opened and closed between reads.
    ResultSets rs;
    const QString a = rs.RsOpen(db_, parents);
    const QString b = rs.RsOpen(db_, parents);
    rs.RsMoveFirst(a);
    rs.RsMoveFirst(b);
    rs.RsMoveNext(b);
    const QStringList spellings = {QStringLiteral("ArtLegami.ArticoloFiglio"), QStringLiteral("artlegami.articolofiglio"),
                                   QStringLiteral("ARTICOLOFIGLIO"), QStringLiteral("ArticoloFiglio")};
    for (const QString &name : spellings) {
        QCOMPARE(rs.RsField(a, name).toString(), QStringLiteral("MB1"));
        QCOMPARE(rs.RsField(b, name).toString(), QStringLiteral("SL1"));
        QCOMPARE(rs.RsField(a, QStringLiteral("Art2.Descrizione")), rs.RsField(a, QStringLiteral("art2.descrizione")));
    }
    // An unknown name stays unknown however often it is asked for.
    QCOMPARE(errorOf([&] { rs.RsField(a, QStringLiteral("Art3.Descrizione")); }), 3265);
    QCOMPARE(errorOf([&] { rs.RsField(a, QStringLiteral("Art3.Descrizione")); }), 3265);
    // Many sets opened after a was last read: a still reads its own row.
    QStringList more;
    for (int i = 0; i < 40; ++i)
        more << rs.RsOpen(db_, QStringLiteral("SELECT * FROM Articoli"));
    QCOMPARE(rs.RsField(a, QStringLiteral("ArticoloFiglio")).toString(), QStringLiteral("MB1"));
    rs.RsMoveNext(a);
    QCOMPARE(rs.RsField(a, QStringLiteral("ArticoloFiglio")).toString(), QStringLiteral("SL1"));
    // The set read last is closed: it is gone, the other reads on.
    rs.RsClose(a);
    QCOMPARE(errorOf([&] { rs.RsField(a, QStringLiteral("ArticoloFiglio")); }), 3420);
    QCOMPARE(rs.RsField(b, QStringLiteral("ArticoloFiglio")).toString(), QStringLiteral("SL1"));

    // Names of the same length written as literals, read alternately on every row, and the
    // same names built at run time: each finds its own column.
    const QString prices = rs.RsOpen(db_, QStringLiteral("SELECT ArtListini.Sconto, ArtListini.Prezzo, ArtListini.Listino"
                                                         " FROM ArtListini ORDER BY Articolo, DataInizio"));
    int rows = 0;
    for (rs.RsMoveFirst(prices); !rs.RsEof(prices); rs.RsMoveNext(prices), ++rows) {
        for (int round = 0; round < 2; ++round) {
            QCOMPARE(rs.RsField(prices, QStringLiteral("Prezzo")), rs.RsFieldAt(prices, 1));
            QCOMPARE(rs.RsField(prices, QStringLiteral("Sconto")), rs.RsFieldAt(prices, 0));
            QCOMPARE(rs.RsField(prices, QString::fromLatin1("Sconto")), rs.RsFieldAt(prices, 0));
            QCOMPARE(rs.RsField(prices, QStringLiteral("ArtListini.Listino")), rs.RsFieldAt(prices, 2));
        }
    }
    QVERIFY(rows > 1);
    rs.RsCloseAll();
    QCOMPARE(errorOf([&] { rs.RsField(b, QStringLiteral("ArticoloFiglio")); }), 3420);
    QCOMPARE(rs.openCount(), 0);
}

void TestResultSets::transactions()
{
    const QString count = QStringLiteral("SELECT Count(*) AS n FROM ArtLegami");
    auto rows = [&] {
        ResultSets rs;
        RsGuard h(rs, rs.RsOpen(db_, count));
        rs.RsMoveFirst(h);
        return rs.RsField(h, QStringLiteral("n")).toInt();
    };
    QCOMPARE(rows(), 6);
    {
        TransactionGuard tx(db_);
        db_.DbExecute(QStringLiteral("Delete * from ArtLegami"));
        QCOMPARE(rows(), 0);
    }
    QCOMPARE(rows(), 6);
    {
        TransactionGuard outer(db_);
        db_.DbExecute(QStringLiteral("Delete * from ArtLegami WHERE ArticoloPadre = 'PF1'"));
        {
            TransactionGuard inner(db_);
            db_.DbExecute(QStringLiteral("Delete * from ArtLegami WHERE ArticoloPadre = 'PF2'"));
            QCOMPARE(rows(), 2);
        }
        QCOMPARE(rows(), 4);
        outer.commit();
    }
    QCOMPARE(rows(), 4);
    QCOMPARE(db_.transactionDepth(), 0);
    QCOMPARE(errorOf([&] { db_.CommitTrans(); }), 3034);
    {
        ReadTransaction run(db_);
        db_.DbExecute(QStringLiteral("Delete * from ArtLegami WHERE ArticoloPadre = 'SL1'"));
    }
    QCOMPARE(rows(), 2);
}

void TestResultSets::openErrors_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // written to the file first when not empty
    QTest::addColumn<int>("number");

    QTest::newRow("missing file") << "missing.db" << QByteArray() << 3024;
    QTest::newRow("not a database") << "garbage.db" << QByteArray(8192, 'x') << 3343;
    QTest::newRow("damaged header") << "damaged.db" << QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\xff') << 3343;
    QTest::newRow("data source name") << "SERVERDATI" << QByteArray() << 3059;
    QTest::newRow("dsn file") << "SERVERDATI.DSN" << QByteArray() << 3059;
    QTest::newRow("odbc text") << "odbc;DSN=dati;UID=x" << QByteArray() << 3151;
}

void TestResultSets::openErrors()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(int, number);
    QString path = name;
    if (name.contains(u'.') && !name.startsWith(u"odbc", Qt::CaseInsensitive) && !name.endsWith(u".DSN"))
        path = dir_.path() + u'/' + name;
    if (!content.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    Database db;
    QCOMPARE(errorOf([&] { db.DbOpen(path); }), number);
    QVERIFY(!db.isOpen());
    if (content.isEmpty() && path.startsWith(dir_.path()))
        QVERIFY2(!QFile::exists(path), "a missing database file must not be created");
}

void TestResultSets::repeatedTextsReadAsWritten()
{
    // Short texts come back again and again in a column (units, list codes, flags): every row
    // reads its own, whatever came before it.
    const QStringList texts{"PZ", "KG", "PZ", "~ç~", "~ç~", "pz", "PZ ", "", "", "PZ",
                            "un testo più lungo di sedici byte", "un testo più lungo di sedici byte",
                            "M", "LT", "BAR", "MQ", "KG", "sedici byte esat", "sedici byte esat", "è", "é"};
    QStringList statements{QStringLiteral("CREATE TABLE Ripetuti (Numero INTEGER, Testo TEXT)")};
    for (qsizetype i = 0; i < texts.size(); ++i)
        statements << QStringLiteral("INSERT INTO Ripetuti VALUES (%1, '%2')").arg(i).arg(texts[i]);
    QString error;
    QVERIFY2(kemtest::RunOnFile(file_, statements, &error), qPrintable(error));
    Database db;
    QVERIFY(!db.DbOpen(file_).isEmpty());
    ResultSets rs;
    RsGuard h(rs, rs.RsOpen(db, QStringLiteral("SELECT Numero, Testo FROM Ripetuti ORDER BY Numero")));
    QStringList read;
    for (rs.RsMoveFirst(h); !rs.RsEof(h); rs.RsMoveNext(h))
        read << rs.RsField(h, QStringLiteral("Testo")).toString();
    QCOMPARE(read, texts);
}

void TestResultSets::password()
{
    QString error;
    QVERIFY2(kemtest::RunOnFile(file_, {QStringLiteral("CREATE TABLE KemAccesso (Password TEXT)"),
                                        QStringLiteral("INSERT INTO KemAccesso VALUES ('Segreta')")},
                                &error),
             qPrintable(error));
    Database db;
    QCOMPARE(errorOf([&] { db.DbOpen(file_); }), 3031);
    db.DbParamSet(QStringLiteral("DbAccPWD"), QStringLiteral("segreta"));
    QCOMPARE(errorOf([&] { db.DbOpen(file_); }), 3031);
    db.DbParamSet(QStringLiteral("dbaccpwd"), QStringLiteral("Segreta"));
    QCOMPARE(db.DbParamGet(QStringLiteral("DBACCPWD")), QStringLiteral("Segreta"));
    QVERIFY(!db.DbOpen(file_).isEmpty());
    db.DbParamSet(QStringLiteral("DbAccPWD"), QStringLiteral(";pwd=Segreta"));
    QVERIFY(!db.DbOpen(file_).isEmpty());
    db.DbParamSet(QStringLiteral("DbAccPWD"), QString());
    QVERIFY(!db.DbOpen(file_, false, false, QStringLiteral(";pwd=Segreta")).isEmpty());
}

void TestResultSets::statementErrors_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("action");
    QTest::addColumn<int>("number");
    QTest::newRow("unknown table") << "SELECT * FROM Articolo" << false << 3078;
    QTest::newRow("unknown column") << "SELECT Prezzo FROM Articoli" << false << 3061;
    QTest::newRow("syntax") << "SELECT * FRM Articoli" << false << 3075;
    QTest::newRow("duplicate key") << "INSERT INTO Monete (Moneta, NumDec) VALUES ('EURO', 2)" << true << 3022;
    QTest::newRow("null key") << "INSERT INTO Monete (Descrizione) VALUES ('x')" << true << 3314;
    QTest::newRow("select as action") << "SELECT * FROM Monete" << true << 3065;
    QTest::newRow("unknown table in action") << "Delete * from Articolo" << true << 3078;
    QTest::newRow("table created then queried") << "CREATE TABLE Prova (Codice TEXT DEFAULT 'x' PRIMARY KEY)" << true << 0;
}

void TestResultSets::statementErrors()
{
    QFETCH(QString, sql);
    QFETCH(bool, action);
    QFETCH(int, number);
    for (bool cache : {true, false}) {
        db_.setStatementCache(cache);
        ResultSets rs;
        if (number == 0) {
            // No error expected: a definition with literals runs, and the new table is seen.
            TransactionGuard tx(db_);
            db_.DbExecute(sql);
            db_.DbExecute(QStringLiteral("INSERT INTO Prova DEFAULT VALUES"));
            RsGuard h(rs, rs.RsOpen(db_, QStringLiteral("SELECT * FROM Prova")));
            rs.RsMoveFirst(h);
            QCOMPARE(rs.RsField(h, QStringLiteral("Prova.Codice")), QVariant(QStringLiteral("x")));
            continue;
        }
        try {
            if (action)
                db_.DbExecute(sql);
            else
                rs.RsOpen(db_, sql);
            QFAIL("no error");
        } catch (const DbError &e) {
            QCOMPARE(e.number(), number);
            QCOMPARE(e.statement(), sql);
            QVERIFY(!e.description().isEmpty());
        }
    }
    db_.setStatementCache(true);
}

void TestResultSets::readOnly()
{
    Database ro;
    QVERIFY(ro.DbOpen(file_, false, true).contains(QStringLiteral("READONLY")));
    ResultSets rs;
    QCOMPARE(rs.RsCount(rs.RsOpen(ro, QStringLiteral("SELECT * FROM Articoli"))), 5);
    QCOMPARE(errorOf([&] { ro.DbExecute(QStringLiteral("Delete * from Articoli")); }), 3027);
}

void TestResultSets::lockedByAnotherConnection()
{
    db_.BeginTrans();
    db_.DbExecute(QStringLiteral("UPDATE Articoli SET Articoli.Descrizione = 'x' WHERE Articolo = 'PF1'"));
    Database other;
    other.DbOpen(file_);
    QCOMPARE(errorOf([&] { other.DbExecute(QStringLiteral("UPDATE Articoli SET Descrizione = 'y' WHERE Articolo = 'PF2'")); }),
             3260);
    db_.Rollback();
    QCOMPARE(other.DbExecute(QStringLiteral("UPDATE Articoli SET Descrizione = 'y' WHERE Articolo = 'PF2'")), 1);
}

void TestResultSets::exclusiveOpenKeepsOthersOut()
{
    db_.DbClose();
    Database first;
    QVERIFY(first.DbOpen(file_, true).contains(QStringLiteral("EXCLUSIVE")));
    Database second;
    second.DbOpen(file_);
    QCOMPARE(errorOf([&] { second.DbExecute(QStringLiteral("UPDATE Articoli SET Descrizione = 'y' WHERE Articolo = 'PF2'")); }),
             3260);
    first.DbClose();
    QCOMPARE(second.DbExecute(QStringLiteral("UPDATE Articoli SET Descrizione = 'y' WHERE Articolo = 'PF2'")), 1);
}

QTEST_GUILESS_MAIN(TestResultSets)
#include "tst_resultsets.moc"
