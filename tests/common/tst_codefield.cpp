// Code-field rules without a window: retry key code, column list, dates, reported controls,
// text search, ini directories, personal parameters read once.
#include "common/codefield.h"
#include "platform/menu/fakemenuserver.h"

#include <QtTest>

using namespace kem;

class TestCodeField : public QObject {
    Q_OBJECT
private slots:
    void retryKeyCode_data();
    void retryKeyCode();
    void columnList_data();
    void columnList();
    void fieldDate_data();
    void fieldDate();
    void reportedControls();
    void findInText_data();
    void findInText();
    void iniDirectory_data();
    void iniDirectory();
    void noDecInattiviReadOnce();
    void articleImageDefaults();
    void inactiveFilterText();
};

void TestCodeField::retryKeyCode_data()
{
    QTest::addColumn<QString>("personal");
    QTest::addColumn<int>("callerKey");
    QTest::addColumn<int>("expected");
    QTest::newRow("2 gives F2") << "2" << 0 << 113;
    QTest::newRow("5 gives F5") << "5" << 0 << 116;
    QTest::newRow("0 keeps the caller's key") << "0" << 114 << 114;
    QTest::newRow("blank keeps the caller's key") << "" << 0 << 0;
    QTest::newRow("not a number keeps the caller's key") << "x" << 115 << 115;
}

void TestCodeField::retryKeyCode()
{
    QFETCH(QString, personal);
    QFETCH(int, callerKey);
    QFETCH(int, expected);
    QCOMPARE(LookupRetryKeyCode(personal, callerKey), expected);
}

void TestCodeField::columnList_data()
{
    QTest::addColumn<QString>("campi");
    QTest::addColumn<QString>("extra");
    QTest::addColumn<QString>("expected");
    QTest::newRow(",No, counts as empty") << ",No,ArtUM" << "" << "";
    QTest::newRow(",no, any case") << ",no,ArtUM" << "" << "";
    QTest::newRow(",No, with extra") << ",No,ArtUM" << "DistBase" << "DistBase";
    QTest::newRow("value kept") << "ArtUM" << "" << "ArtUM";
    QTest::newRow("extra appended") << "ArtUM" << "DistBase" << "ArtUM,DistBase";
    QTest::newRow("No without leading comma") << "No,ArtUM" << "" << "No,ArtUM";
}

void TestCodeField::columnList()
{
    QFETCH(QString, campi);
    QFETCH(QString, extra);
    QFETCH(QString, expected);
    QCOMPARE(LookupColumnList(campi, extra), expected);
}

void TestCodeField::fieldDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("blank") << "  " << int(DateCheck::Blank);
    QTest::newRow("minimum date") << "01/01/1900" << int(DateCheck::Valid);
    QTest::newRow("day before the minimum") << "31/12/1899" << int(DateCheck::TooSmall);
    QTest::newRow("short form") << "5/3/2024" << int(DateCheck::Valid);
    QTest::newRow("packed") << "05032024" << int(DateCheck::Valid);
    QTest::newRow("two-digit year") << "05.03.24" << int(DateCheck::Valid);
    QTest::newRow("day 32") << "32/01/2024" << int(DateCheck::Invalid);
    QTest::newRow("29 February of a common year") << "29/02/2023" << int(DateCheck::Invalid);
    QTest::newRow("text") << "ieri" << int(DateCheck::Invalid);
}

void TestCodeField::fieldDate()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(int(CheckFieldDate(text, QDate(1900, 1, 1))), expected);
}

void TestCodeField::reportedControls()
{
    ReportedControls r;
    r.add("txt10");
    r.add("txt10");
    QCOMPARE(r.text(), QStringLiteral("|<txt10>|"));
    QVERIFY(r.contains("txt10"));
    QVERIFY(!r.contains("txt1"));
    r.add("txt1");
    r.remove("txt10");
    QVERIFY(!r.contains("txt10"));
    QVERIFY(r.contains("txt1"));
}

void TestCodeField::findInText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<int>("from");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<int>("expected");
    QTest::newRow("forward from start") << "rovere e rovere" << "rovere" << 0 << true << false << 0;
    QTest::newRow("forward after the first") << "rovere e rovere" << "rovere" << 6 << true << false << 9;
    QTest::newRow("forward past the last") << "rovere e rovere" << "rovere" << 10 << true << false << -1;
    QTest::newRow("backward") << "rovere e rovere" << "rovere" << 9 << false << false << 0;
    QTest::newRow("backward at start") << "rovere e rovere" << "rovere" << 0 << false << false << -1;
    QTest::newRow("any case") << "Rovere" << "ROVERE" << 0 << true << false << 0;
    QTest::newRow("exact case") << "Rovere" << "ROVERE" << 0 << true << true << -1;
}

void TestCodeField::findInText()
{
    QFETCH(QString, text);
    QFETCH(QString, needle);
    QFETCH(int, from);
    QFETCH(bool, forward);
    QFETCH(bool, exact);
    QFETCH(int, expected);
    QCOMPARE(FindInText(text, needle, from, forward, exact ? Qt::CaseSensitive : Qt::CaseInsensitive), expected);
}

void TestCodeField::iniDirectory_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("drive");
    QTest::addColumn<QString>("expected");
    QTest::newRow("relative") << "immagini" << "/srv/kem" << "/srv/kem/immagini";
    QTest::newRow("drive letter") << "D:\\IMG" << "/srv/kem" << "D:\\IMG";
    QTest::newRow("UNC") << "\\\\server\\img" << "/srv/kem" << "\\\\server\\img";
    QTest::newRow("absolute Linux") << "/data/img" << "/srv/kem" << "/data/img";
    QTest::newRow("blank") << "" << "/srv/kem" << "";
}

void TestCodeField::iniDirectory()
{
    QFETCH(QString, dir);
    QFETCH(QString, drive);
    QFETCH(QString, expected);
    QCOMPARE(AbsoluteIniDirectory(dir, drive), expected);
}

void TestCodeField::noDecInattiviReadOnce()
{
    FakeMenuServer menu;
    menu.setPersonal("Articoli", "NoDecInattivi", "s");
    CodeFieldParams p(menu, IniContext{});
    QVERIFY(p.noDecInattivi());
    menu.setPersonal("Articoli", "NoDecInattivi", "N");
    QVERIFY(p.noDecInattivi()); // kept for the rest of the run
    QCOMPARE(menu.callsTo("MenuVar").size(), 1);
    FakeMenuServer other;
    CodeFieldParams q(other, IniContext{});
    QVERIFY(!q.noDecInattivi()); // default "N"
}

void TestCodeField::articleImageDefaults()
{
    FakeMenuServer menu;
    CodeFieldParams p(menu, IniContext{});
    ArticleImageSettings s = p.articleImages();
    QVERIFY(!s.show);
    QCOMPARE(s.where, QStringLiteral("D"));
    QCOMPARE(s.space, QStringLiteral("5000"));
    menu.setPersonal("Articoli", "ImgDove", "A");
    menu.setPersonal("Articoli", "Immagini", "S");
    s = p.articleImages();
    QVERIFY(s.show);
    QCOMPARE(s.space, QStringLiteral("2000"));
}

void TestCodeField::inactiveFilterText()
{
    QVERIFY(InactiveArticleFilter.contains("ucase(Inattivo)<>'S'"));
    QCOMPARE(AddWhereClause("", InactiveArticleFilter), InactiveArticleFilter);
    QCOMPARE(AddWhereClause(" DistBase = 1", "X"), QStringLiteral(" DistBase = 1 And X"));
}

QTEST_GUILESS_MAIN(TestCodeField)
#include "tst_codefield.moc"
