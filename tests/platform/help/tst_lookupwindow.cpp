// The lookup window driven by keys, and the component's lookup and decode on a box and label.
#include "tests/support/testcompany.h"

#include <QtTest>
#include "platform/help/kemaiutodecod.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>

using namespace kem;

namespace {

QList<LookupRow> SampleRows()
{
    return {{"LEG-FAG-40", "Listello faggio evaporato 40x40", {}, {}},
            {"LEG-ROV-45", "Listello rovere massello 45x45", {}, {}},
            {"PAN-ROV-30", "Pannello rovere massello lamellare sp.30", {}, {}},
            {"VIT-4X40", "Vite truciolare 4x40 zincata", {}, {}}};
}

} // namespace

class TestLookupWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();

    void filterByTyping_data();
    void filterByTyping();
    void arrowsMoveAndEnterChooses();
    void escapeCancels();
    void componentLookupFillsBoxAndLabel();
    void componentLookupEscapeKeepsBox();
    void keyCodesThatOpen_data();
    void keyCodesThatOpen();
    void articleImageShown();
    void decodeNeedsRetZeroRecForMissing();

private:
    std::unique_ptr<kemtest::DemoCompany> demo_;
};

void TestLookupWindow::initTestCase()
{
    demo_ = std::make_unique<kemtest::DemoCompany>();
    QString error;
    QVERIFY2(demo_->open(&error), qPrintable(error));
}

void TestLookupWindow::filterByTyping_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("visible");
    QTest::addColumn<QString>("first");
    QTest::newRow("nothing") << "" << 4 << "LEG-FAG-40";
    QTest::newRow("code prefix") << "leg-" << 2 << "LEG-FAG-40";
    QTest::newRow("start of description") << "pannello" << 1 << "PAN-ROV-30";
    QTest::newRow("word inside description") << "rovere" << 0 << "";
    QTest::newRow("no match") << "zzz" << 0 << "";
}

void TestLookupWindow::filterByTyping()
{
    QFETCH(QString, typed);
    QFETCH(int, visible);
    QFETCH(QString, first);
    FrmAiutoLookup w;
    w.setRows(SampleRows());
    QTest::keyClicks(w.txtFiltro, typed);
    QCOMPARE(w.visibleRowCount(), visible);
    QCOMPARE(w.currentCode(), first);
}

void TestLookupWindow::arrowsMoveAndEnterChooses()
{
    FrmAiutoLookup w;
    w.setRows(SampleRows());
    QTimer::singleShot(0, &w, [&] {
        QTest::keyClicks(w.txtFiltro, "l");
        QTest::keyClick(w.txtFiltro, Qt::Key_Down);
        QTest::keyClick(w.txtFiltro, Qt::Key_Down); // stays on the last row
        QTest::keyClick(w.txtFiltro, Qt::Key_Up);
        QTest::keyClick(w.txtFiltro, Qt::Key_Down);
        QTest::keyClick(w.txtFiltro, Qt::Key_Return);
    });
    QCOMPARE(w.exec(), int(QDialog::Accepted));
    QCOMPARE(w.chosenCode(), QStringLiteral("LEG-ROV-45"));
    QCOMPARE(w.chosenDescription(), QStringLiteral("Listello rovere massello 45x45"));
}

void TestLookupWindow::escapeCancels()
{
    FrmAiutoLookup w;
    w.setRows(SampleRows());
    QTimer::singleShot(0, &w, [&] {
        QTest::keyClick(w.txtFiltro, Qt::Key_Down);
        QTest::keyClick(w.txtFiltro, Qt::Key_Escape);
    });
    QCOMPARE(w.exec(), int(QDialog::Rejected));
    QVERIFY(w.chosenCode().isEmpty());
}

void TestLookupWindow::componentLookupFillsBoxAndLabel()
{
    KemAiutoDecod aiuto(demo_->db());
    QLineEdit box;
    QLabel label;
    box.setText("leg-");
    connect(&aiuto, &KemAiutoDecod::lookupShown, this, [](FrmAiutoLookup *w) {
        QTimer::singleShot(0, w, [w] {
            QTest::keyClick(w->txtFiltro, Qt::Key_Down);
            QTest::keyClick(w->txtFiltro, Qt::Key_Enter);
        });
    });
    const LookupResult r = aiuto.Lookup("Articolo", &box, &label, 113);
    QCOMPARE(int(r.outcome), int(LookupOutcome::Found));
    QCOMPARE(box.text(), QStringLiteral("LEG-ROV-45"));
    QCOMPARE(label.text(), QStringLiteral("Listello rovere massello 45x45"));
}

void TestLookupWindow::componentLookupEscapeKeepsBox()
{
    KemAiutoDecod aiuto(demo_->db());
    QLineEdit box;
    QLabel label;
    box.setText("TAV");
    label.setText("prima");
    connect(&aiuto, &KemAiutoDecod::lookupShown, this, [](FrmAiutoLookup *w) {
        QTimer::singleShot(0, w, [w] {
            QTest::keyClick(w->txtFiltro, Qt::Key_Down);
            QTest::keyClick(w->txtFiltro, Qt::Key_Escape);
        });
    });
    const LookupResult r = aiuto.Lookup("Articolo", &box, &label, -1);
    QCOMPARE(int(r.outcome), int(LookupOutcome::Cancelled));
    QCOMPARE(box.text(), QStringLiteral("TAV"));
    QCOMPARE(label.text(), QStringLiteral("prima"));
}

void TestLookupWindow::keyCodesThatOpen_data()
{
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<bool>("opens");
    QTest::newRow("forced") << -1 << true;
    QTest::newRow("F2") << 113 << true;
    QTest::newRow("F12") << 123 << true;
    QTest::newRow("F1") << 112 << false;
    QTest::newRow("zero") << 0 << false;
    QTest::newRow("after F12") << 124 << false;
}

void TestLookupWindow::keyCodesThatOpen()
{
    QFETCH(int, keyCode);
    QFETCH(bool, opens);
    KemAiutoDecod aiuto(demo_->db());
    QLineEdit box;
    int shown = 0;
    connect(&aiuto, &KemAiutoDecod::lookupShown, this, [&shown](FrmAiutoLookup *w) {
        ++shown;
        QTimer::singleShot(0, w, [w] { w->reject(); });
    });
    const LookupResult r = aiuto.Lookup("Listino", &box, nullptr, keyCode);
    QCOMPARE(shown, opens ? 1 : 0);
    QCOMPARE(int(r.outcome), int(opens ? LookupOutcome::Cancelled : LookupOutcome::NotOpened));
}

void TestLookupWindow::articleImageShown()
{
    KemAiutoDecod aiuto(demo_->db());
    QLineEdit box;
    box.setText("TAV-ROV180");
    aiuto.ovLeggiPar("Immagini", "S");
    aiuto.ovLeggiPar("DirImmagini", demo_->imageDir());
    aiuto.ovLeggiPar("ImgDove", "B");
    QString shownImage;
    bool visible = false;
    connect(&aiuto, &KemAiutoDecod::lookupShown, this, [&](FrmAiutoLookup *w) {
        QTimer::singleShot(0, w, [&, w] {
            shownImage = w->shownImage();
            visible = w->PicImmagine->isVisible();
            w->reject();
        });
    });
    aiuto.Lookup("Articolo", &box, nullptr, 113);
    QVERIFY(visible);
    QCOMPARE(QFileInfo(shownImage).fileName(), QStringLiteral("tav-rov180.png"));
    // The parameters belong to one call: the next lookup shows no image.
    QString again = "x";
    disconnect(&aiuto, &KemAiutoDecod::lookupShown, this, nullptr);
    connect(&aiuto, &KemAiutoDecod::lookupShown, this, [&](FrmAiutoLookup *w) {
        QTimer::singleShot(0, w, [&, w] {
            again = w->shownImage();
            w->reject();
        });
    });
    aiuto.Lookup("Articolo", &box, nullptr, 113);
    QVERIFY(again.isEmpty());
}

void TestLookupWindow::decodeNeedsRetZeroRecForMissing()
{
    KemAiutoDecod aiuto(demo_->db());
    QLineEdit box;
    QLabel label;
    box.setText("NON-ESISTE");
    QVERIFY_THROWS_EXCEPTION(DecodeError, aiuto.Decode("Articolo", &box, &label));
    aiuto.ovLeggiPar("RetZeroRec", true);
    QCOMPARE(int(aiuto.Decode("Articolo", &box, &label).outcome), int(LookupOutcome::NotFound));
    box.setText("sed-fag01");
    QCOMPARE(int(aiuto.Decode("Articolo", &box, &label).outcome), int(LookupOutcome::Found));
    QCOMPARE(box.text(), QStringLiteral("SED-FAG01"));
    QCOMPARE(label.text(), QStringLiteral("Sedia faggio con seduta imbottita"));
}

QTEST_MAIN(TestLookupWindow)
#include "tst_lookupwindow.moc"
