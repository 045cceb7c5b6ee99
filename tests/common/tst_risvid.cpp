// Form scaling on a small form under the offscreen platform.
#include "common/risvid.h"
#include "platform/util/kemutil.h"

#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace kem;

namespace {

// A form with absolutely placed controls, the way the module's forms are designed.
struct SmallForm {
    QWidget form;
    QLabel *lab;
    QLineEdit *txt;
    QPushButton *com;
    QFrame *fra;
    QPushButton *inner;

    SmallForm()
    {
        form.setObjectName("FrmProva");
        form.setGeometry(100, 80, 400, 300);
        QFont f = form.font();
        f.setPointSizeF(10);
        form.setFont(f);
        lab = new QLabel("Articolo da", &form);
        lab->setObjectName("lab");
        lab->setGeometry(10, 20, 100, 20);
        txt = new QLineEdit(&form);
        txt->setObjectName("txt");
        txt->setGeometry(120, 20, 150, 22);
        QFont big = txt->font();
        big.setPointSizeF(12);
        txt->setFont(big);
        com = new QPushButton("&Stampa", &form);
        com->setObjectName("ComStampa");
        com->setGeometry(300, 250, 90, 30);
        fra = new QFrame(&form);
        fra->setObjectName("FraOpzioni");
        fra->setGeometry(10, 60, 200, 100);
        inner = new QPushButton("x", fra);
        inner->setObjectName("ComInterno");
        inner->setGeometry(5, 6, 40, 20);
    }
};

QRect Times(const QRect &r, double f)
{
    return {qRound(r.x() * f), qRound(r.y() * f), qRound(r.width() * f), qRound(r.height() * f)};
}

} // namespace

class TestRisVid : public QObject {
    Q_OBJECT
private slots:
    void generalMinusOneLeavesFormsUnchanged();
    void scalesGeometryAndFontsExceptExcluded();
    void factorOneOrSkipLeavesUnchanged_data();
    void factorOneOrSkipLeavesUnchanged();
    void factorResolution_data();
    void factorResolution();
    void layoutControlsPicturesAndGrids();
};

void TestRisVid::generalMinusOneLeavesFormsUnchanged()
{
    SmallForm s;
    QTemporaryDir dir;
    ScreenSettings settings{-1, 1.5, "PRELVO", {dir.filePath("kemwin.ini"), {}}};
    QVERIFY(IniWrite(settings.ini.mainIni, "Risoluzione Video", "PRELVO-Sec", "2"));
    s.form.setProperty("osKeySec", "Sec");
    double factor = -2;
    RisVid(&s.form, false, factor, {}, settings);
    QCOMPARE(factor, -1.0);
    QCOMPARE(s.form.geometry(), QRect(100, 80, 400, 300));
    QCOMPARE(s.txt->geometry(), QRect(120, 20, 150, 22));
    QCOMPARE(s.txt->font().pointSizeF(), 12.0);
    QCOMPARE(s.lab->font().pointSizeF(), 10.0);
    QCOMPARE(s.form.property("odRisVidVal").toDouble(), 1.0);
}

void TestRisVid::scalesGeometryAndFontsExceptExcluded()
{
    SmallForm s;
    const QRect form = s.form.geometry(), lab = s.lab->geometry(), txt = s.txt->geometry(),
                com = s.com->geometry(), fra = s.fra->geometry(), inner = s.inner->geometry();
    double factor = 1.5;
    RisVid(&s.form, false, factor, {"comstampa"}, ScreenSettings{});
    QCOMPARE(s.form.geometry(), Times(form, 1.5));
    QCOMPARE(s.lab->geometry(), Times(lab, 1.5));
    QCOMPARE(s.txt->geometry(), Times(txt, 1.5));
    QCOMPARE(s.fra->geometry(), Times(fra, 1.5));
    QCOMPARE(s.inner->geometry(), Times(inner, 1.5));
    // Fonts: inherited and own sizes, each scaled once.
    QCOMPARE(s.form.font().pointSizeF(), 15.0);
    QCOMPARE(s.lab->font().pointSizeF(), 15.0);
    QCOMPARE(s.txt->font().pointSizeF(), 18.0);
    QCOMPARE(s.inner->font().pointSizeF(), 15.0);
    // The excluded control keeps its place, size and font.
    QCOMPARE(s.com->geometry(), com);
    QCOMPARE(s.com->font().pointSizeF(), 10.0);
    QCOMPARE(s.form.property("odRisVidVal").toDouble(), 1.5);
}

void TestRisVid::factorOneOrSkipLeavesUnchanged_data()
{
    QTest::addColumn<double>("factor");
    QTest::addColumn<bool>("skip");
    QTest::newRow("factor 1") << 1.0 << false;
    QTest::newRow("skip flag") << 1.5 << true;
    QTest::newRow("zero") << 0.0 << false;
    QTest::newRow("negative") << -0.5 << false;
}

void TestRisVid::factorOneOrSkipLeavesUnchanged()
{
    QFETCH(double, factor);
    QFETCH(bool, skip);
    SmallForm s;
    RisVid(&s.form, skip, factor, {}, ScreenSettings{});
    QCOMPARE(s.form.geometry(), QRect(100, 80, 400, 300));
    QCOMPARE(s.inner->geometry(), QRect(5, 6, 40, 20));
    QCOMPARE(s.txt->font().pointSizeF(), 12.0);
}

void TestRisVid::factorResolution_data()
{
    QTest::addColumn<double>("general");
    QTest::addColumn<double>("base");
    QTest::addColumn<QString>("risVidKey");
    QTest::addColumn<QString>("keySec"); // null: the form has no osKeySec
    QTest::addColumn<double>("expected");
    // The ini holds PRELVO-Sec=1,25, PropriaChiave=1,75, PRELVO-Meno2=-2, PRELVO-Vuoto=abc.
    QTest::newRow("general used unchanged") << 1.2 << 1.5 << "" << "Sec" << 1.2;
    QTest::newRow("general -1") << -1.0 << 1.5 << "" << "Sec" << -1.0;
    QTest::newRow("program key and secondary key") << -2.0 << 1.5 << "" << "Sec" << 1.25;
    QTest::newRow("form's own key first") << -2.0 << 1.5 << "PropriaChiave" << "Sec" << 1.75;
    QTest::newRow("key missing: base") << -2.0 << 1.5 << "" << "Altra" << 1.5;
    QTest::newRow("value -2: base") << -2.0 << 1.5 << "" << "Meno2" << 1.5;
    QTest::newRow("not a number: base") << -2.0 << 1.5 << "" << "Vuoto" << 1.5;
    QTest::newRow("no key at all: base") << -2.0 << 0.8 << "" << QString() << 0.8;
}

void TestRisVid::factorResolution()
{
    QFETCH(double, general);
    QFETCH(double, base);
    QFETCH(QString, risVidKey);
    QFETCH(QString, keySec);
    QFETCH(double, expected);
    QTemporaryDir dir;
    ScreenSettings settings{general, base, "PRELVO", {dir.filePath("kemwin.ini"), {}}};
    QVERIFY(IniWrite(settings.ini.mainIni, "Risoluzione Video", "PRELVO-Sec", "1,25"));
    QVERIFY(IniWrite(settings.ini.mainIni, "Risoluzione Video", "PropriaChiave", "1,75"));
    QVERIFY(IniWrite(settings.ini.mainIni, "Risoluzione Video", "PRELVO-Meno2", "-2"));
    QVERIFY(IniWrite(settings.ini.mainIni, "Risoluzione Video", "PRELVO-Vuoto", "abc"));
    QWidget form;
    form.setGeometry(0, 0, 100, 100);
    if (!risVidKey.isEmpty())
        form.setProperty("osRisVidKey", risVidKey);
    if (!keySec.isNull())
        form.setProperty("osKeySec", keySec);
    double factor = -2;
    RisVid(&form, false, factor, {}, settings);
    QCOMPARE(factor, expected);
    const int side = expected > 0 ? qRound(100 * expected) : 100;
    QCOMPARE(form.size(), QSize(side, side));
}

void TestRisVid::layoutControlsPicturesAndGrids()
{
    QWidget form;
    auto *layout = new QVBoxLayout(&form);
    auto *com = new QPushButton("&Ok");
    com->setFixedSize(80, 24);
    auto *pic = new QLabel;
    QPixmap px(16, 16);
    px.fill(Qt::red);
    pic->setPixmap(px);
    auto *gri = new QTableWidget(2, 2);
    gri->horizontalHeader()->resizeSection(0, 60);
    const int section1 = gri->horizontalHeader()->sectionSize(1);
    layout->addWidget(com);
    layout->addWidget(pic);
    layout->addWidget(gri);
    double factor = 2;
    RisVid(&form, false, factor, {}, ScreenSettings{});
    QCOMPARE(com->minimumSize(), QSize(160, 48));
    QCOMPARE(com->maximumSize(), QSize(160, 48));
    QVERIFY(pic->hasScaledContents());
    QCOMPARE(gri->horizontalHeader()->sectionSize(0), 120);
    QCOMPARE(gri->horizontalHeader()->sectionSize(1), section1 * 2);
}

QTEST_MAIN(TestRisVid)
#include "tst_risvid.moc"
