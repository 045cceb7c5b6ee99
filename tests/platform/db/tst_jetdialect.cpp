// The Jet dialect on SQLite: what the translator writes, what the shape key keeps, and how
// the translated statements behave on a real connection.
#include "tests/support/testcompany.h"
#include "platform/db/dialect.h"
#include "platform/db/jetsql.h"
#include "platform/db/kemdb.h"

#include <QDate>
#include <QTemporaryDir>
#include <QtTest>

using namespace kem;

class TestJetDialect : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void translate_data();
    void translate();
    void shapeKey_data();
    void shapeKey();
    void behaviour_data();
    void behaviour();
    void badSyntax_data();
    void badSyntax();
    void topLimitsRows();
    void deleteStarRemovesRows();

private:
    QTemporaryDir dir_;
    QString file_;
    Database db_;
};

void TestJetDialect::initTestCase()
{
    QVERIFY(dir_.isValid());
    QString error;
    file_ = kemtest::CreateFixtureCompany(dir_.path(), &error);
    QVERIFY2(!file_.isEmpty(), qPrintable(error));
    QVERIFY(!db_.DbOpen(file_).isEmpty());
}

void TestJetDialect::translate_data()
{
    QTest::addColumn<QString>("jet");
    QTest::addColumn<QString>("engine");

    QTest::newRow("delete star") << "Delete * from ArtLegami WHERE ArtLegami.ArticoloFiglio = 'MB1'"
                                 << "Delete from ArtLegami WHERE ArtLegami.ArticoloFiglio = 'MB1'";
    QTest::newRow("delete table star") << "DELETE ArtLegami.* FROM ArtLegami" << "DELETE FROM ArtLegami";
    QTest::newRow("top to limit") << "Select top 1 * from ArtLisPromozioni ORDER BY DataInizioProm Desc"
                                  << "Select * from ArtLisPromozioni ORDER BY DataInizioProm Desc LIMIT 1";
    QTest::newRow("top in sub-query")
        << "SELECT a FROM T WHERE a IN (SELECT TOP 3 b FROM U ORDER BY b) ORDER BY a"
        << "SELECT a FROM T WHERE a IN (SELECT b FROM U ORDER BY b LIMIT 3) ORDER BY a";
    QTest::newRow("date literal") << "SELECT * FROM T WHERE d >= #03/15/2024# AND e <= #2024-12-31#"
                                  << "SELECT * FROM T WHERE d >= '2024-03-15' AND e <= '2024-12-31'";
    QTest::newRow("double-quoted text") << "SELECT * FROM T WHERE a = \"It's\"" << "SELECT * FROM T WHERE a = 'It''s'";
    QTest::newRow("nothing inside literals")
        << "SELECT 'a & b', \"#01/02/2024# [x] top 1\", 'Delete * from T' FROM T"
        << "SELECT 'a & b', '#01/02/2024# [x] top 1', 'Delete * from T' FROM T";
    QTest::newRow("concatenation") << "SELECT a & b & c AS abc FROM T"
                                   << "SELECT (jet_cat(a, b, c) COLLATE NOCASE) AS abc FROM T";
    QTest::newRow("concatenation then comparison")
        << "SELECT * FROM H WHERE H.G & H.M & H.C >= 'C010001' and x = 1"
        << "SELECT * FROM H WHERE (jet_cat(H.G, H.M, H.C) COLLATE NOCASE) >= 'C010001' and x = 1";
    QTest::newRow("concatenation binds looser than +")
        << "SELECT 'n' & a + 1 FROM T" << "SELECT (jet_cat('n', a + 1) COLLATE NOCASE) FROM T";
    QTest::newRow("concatenation of calls") << "SELECT UCase(a) & Mid(b, 2, 1) FROM T"
                                            << "SELECT (jet_cat((jet_ucase(a) COLLATE NOCASE), (jet_mid(b, 2, 1) COLLATE NOCASE)) COLLATE NOCASE) FROM T";
    QTest::newRow("functions") << "SELECT IsNull(x), First(y), CLng(z), iif(x, 1, 2), Left(a, 2), Nz(b) FROM T"
                               << "SELECT jet_isnull(x), (jet_first(y) COLLATE NOCASE), jet_clng(z), (iif(x, 1, 2) COLLATE NOCASE), "
                                   "(jet_left(a, 2) COLLATE NOCASE), (jet_nz(b) COLLATE NOCASE) FROM T";
    QTest::newRow("left join is not Left()") << "SELECT * FROM (A LEFT JOIN B ON A.k = B.k) RIGHT JOIN C ON B.j = C.j"
                                             << "SELECT * FROM (A LEFT JOIN B ON A.k = B.k) RIGHT JOIN C ON B.j = C.j";
    QTest::newRow("update set targets unqualified")
        << "UPDATE ArtLegami SET ArtLegami.ArticoloFiglio = 'MB2', ArtLegami.UM = 'MQ' WHERE ArtLegami.ArticoloFiglio = 'MB1'"
        << "UPDATE ArtLegami SET ArticoloFiglio = 'MB2', UM = 'MQ' WHERE ArtLegami.ArticoloFiglio = 'MB1'";
    QTest::newRow("booleans, names, mod") << "SELECT [Order Date] FROM T WHERE b = True AND c <> False AND n Mod 2 = 0"
                                          << "SELECT \"Order Date\" FROM T WHERE b = 1 AND c <> 0 AND n % 2 = 0";
}

void TestJetDialect::translate()
{
    QFETCH(QString, jet);
    QFETCH(QString, engine);
    const jet::Statement st = jet::Tokenize(jet, false);
    QCOMPARE(SqliteDialect().Translate(st.tokens), engine);
}

void TestJetDialect::shapeKey_data()
{
    QTest::addColumn<QString>("jet");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariantList>("literals");

    QTest::newRow("text, date, number")
        << "Select * from T where a = 'x' and b >= #01/02/2024# and c = 3 and d = 2.5"
        << "Select * from T where a = ? and b >= ? and c = ? and d = ?"
        << QVariantList{QStringLiteral("x"), QStringLiteral("2024-01-02"), qlonglong(3), 2.5};
    QTest::newRow("top and order by keep their numbers")
        << "Select top 1 * from T where a = \"y\" ORDER BY 2, iif(b, 0, 1)"
        << "Select top 1 * from T where a = ? ORDER BY 2 , iif ( b , 0 , 1 )" << QVariantList{QStringLiteral("y")};
    QTest::newRow("group by keeps its literals, where after it does not exist")
        << "SELECT First(a) FROM T WHERE b = 'k' GROUP BY a, 'z'"
        << "SELECT First ( a ) FROM T WHERE b = ? GROUP BY a , 'z'" << QVariantList{QStringLiteral("k")};
    QTest::newRow("quote inside literal") << "SELECT * FROM T WHERE a = 'l''x'" << "SELECT * FROM T WHERE a = ?"
                                          << QVariantList{QStringLiteral("l'x")};
}

void TestJetDialect::shapeKey()
{
    QFETCH(QString, jet);
    QFETCH(QString, key);
    QFETCH(QVariantList, literals);
    const jet::Statement st = jet::Tokenize(jet, true);
    QCOMPARE(st.key, key);
    QCOMPARE(st.literals, literals);
}

void TestJetDialect::behaviour_data()
{
    QTest::addColumn<QString>("jet");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("& with Null operand") << "SELECT 'a' & Null & 'b' AS v" << QVariant(QStringLiteral("ab"));
    QTest::newRow("& of Nulls is Null") << "SELECT Null & Null AS v" << QVariant();
    QTest::newRow("& of a number") << "SELECT 'n' & 1 + 2 AS v" << QVariant(QStringLiteral("n3"));
    QTest::newRow("& result compares ignoring case")
        << "SELECT IIF('ab' & 'c' = 'ABC', 'same', 'different') AS v" << QVariant(QStringLiteral("same"));
    QTest::newRow("& inside a literal stays") << "SELECT 'x & y' AS v" << QVariant(QStringLiteral("x & y"));
    QTest::newRow("double-quoted literal") << "SELECT \"It's\" AS v" << QVariant(QStringLiteral("It's"));
    QTest::newRow("date literal is a date") << "SELECT #12/31/2024# AS v" << QVariant(QDate(2024, 12, 31));
    QTest::newRow("CLng half to even, down") << "SELECT CLng(2.5) AS v" << QVariant(2);
    QTest::newRow("CLng half to even, up") << "SELECT CLng(3.5) AS v" << QVariant(4);
    QTest::newRow("CLng negative half") << "SELECT CLng(-2.5) AS v" << QVariant(-2);
    QTest::newRow("CLng of numeric text") << "SELECT CLng('12') AS v" << QVariant(12);
    QTest::newRow("CInt") << "SELECT CInt(7.5) AS v" << QVariant(8);
    QTest::newRow("IIF with IsNull") << "SELECT IIF(IsNull(Null), 'y', 'n') AS v" << QVariant(QStringLiteral("y"));
    QTest::newRow("UCase & LCase") << "SELECT UCase('àbc') & LCase('DEF') AS v" << QVariant(QStringLiteral("ÀBCdef"));
    QTest::newRow("Mid") << "SELECT Mid('abcdef', 2, 3) AS v" << QVariant(QStringLiteral("bcd"));
    QTest::newRow("Left Right Len") << "SELECT Left('abcdef', 2) & Right('abcdef', 2) & Len('abc') AS v"
                                    << QVariant(QStringLiteral("abef3"));
    QTest::newRow("Trim") << "SELECT '[' & Trim('  a b  ') & ']' AS v" << QVariant(QStringLiteral("[a b]"));
    QTest::newRow("Nz") << "SELECT Nz(Null, 5) AS v" << QVariant(5);
    QTest::newRow("Val") << "SELECT Val(' 12.5abc') AS v" << QVariant(12.5);
    QTest::newRow("True is 1") << "SELECT True AS v" << QVariant(1);
    QTest::newRow("Mod") << "SELECT 7 Mod 3 AS v" << QVariant(1);
    QTest::newRow("text columns ignore case") << "SELECT Count(*) AS v FROM Articoli WHERE Articolo = 'pf1'"
                                              << QVariant(1);
    QTest::newRow("order by a text column ignores case")
        << "SELECT TOP 1 Inattivo AS v FROM Articoli ORDER BY Inattivo DESC" << QVariant(QStringLiteral("s"));
    QTest::newRow("UCase result compares ignoring case")
        << "SELECT Count(*) AS v FROM Articoli WHERE UCase(Descrizione) = 'tavolo'" << QVariant(1);
    QTest::newRow("IIF of text compares ignoring case")
        << "SELECT IIF(IIF(True, 'abc', '') = 'ABC', 'same', 'different') AS v" << QVariant(QStringLiteral("same"));
    QTest::newRow("First aggregate")
        << "SELECT First(ArticoloFiglio) AS v FROM ArtLegami WHERE ArticoloPadre = 'SL1' GROUP BY ArticoloPadre"
        << QVariant(QStringLiteral("MB1"));
}

void TestJetDialect::behaviour()
{
    QFETCH(QString, jet);
    QFETCH(QVariant, expected);
    for (bool cache : {true, false}) {
        db_.setStatementCache(cache);
        ResultSets rs;
        const QString h = rs.RsOpen(db_, jet);
        QVERIFY(!rs.RsIsEmpty(h));
        rs.RsMoveFirst(h);
        const QVariant v = rs.RsField(h, QStringLiteral("v"));
        if (!expected.isValid())
            QVERIFY2(v.isNull(), qPrintable(v.toString()));
        else
            QCOMPARE(v, expected);
    }
    db_.setStatementCache(true);
}

void TestJetDialect::badSyntax_data()
{
    QTest::addColumn<QString>("jet");
    QTest::addColumn<int>("number");
    QTest::newRow("unterminated text") << "SELECT * FROM Articoli WHERE Articolo = 'PF1" << 3075;
    QTest::newRow("unterminated date") << "SELECT * FROM Articoli WHERE d = #01/02/2024" << 3075;
    QTest::newRow("impossible date") << "SELECT * FROM Articoli WHERE d = #02/30/2024#" << 3075;
    QTest::newRow("dangling &") << "SELECT Articolo & FROM Articoli" << 3075;
    QTest::newRow("unknown function") << "SELECT Foo(Articolo) FROM Articoli" << 3085;
    QTest::newRow("CLng of Null") << "SELECT CLng(Null) AS v" << 94;
}

void TestJetDialect::badSyntax()
{
    QFETCH(QString, jet);
    QFETCH(int, number);
    ResultSets rs;
    try {
        rs.RsOpen(db_, jet);
        QFAIL("no error");
    } catch (const DbError &e) {
        QCOMPARE(e.number(), number);
        QCOMPARE(e.statement(), jet);
    }
}

void TestJetDialect::topLimitsRows()
{
    ResultSets rs;
    const QString h = rs.RsOpen(db_, QStringLiteral("SELECT TOP 2 Articolo FROM Articoli ORDER BY Articolo DESC"));
    QCOMPARE(rs.RsCount(h), 2);
    rs.RsMoveFirst(h);
    QCOMPARE(rs.RsField(h, QStringLiteral("Articolo")).toString(), QStringLiteral("SL1"));
}

void TestJetDialect::deleteStarRemovesRows()
{
    TransactionGuard tx(db_);
    QCOMPARE(db_.DbExecute(QStringLiteral("Delete * from ArtLegami where ArticoloPadre = \"SL1\"")), 2);
    ResultSets rs;
    const QString h = rs.RsOpen(db_, QStringLiteral("SELECT * FROM ArtLegami WHERE ArticoloPadre = 'SL1'"));
    QVERIFY(rs.RsIsEmpty(h));
}

QTEST_GUILESS_MAIN(TestJetDialect)
#include "tst_jetdialect.moc"
