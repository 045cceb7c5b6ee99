// The class and attribute dialogs on the demo company: the levels shown by their captions,
// what "&OK" returns with the button caption, "&Annulla" after changes, the reversed bounds
// that keep the dialog open, and the account dialog with the other selections hidden.
#include "common/frmselclaattr.h"
#include "common/frmselclaattrcf.h"
#include "tests/support/reportformfixture.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace kem;

class TestFrmSelClaAttr : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void levelsFollowTheirCaptions_data();
    void levelsFollowTheirCaptions();
    void okReturnsTheBoundsAndMarksTheButton();
    void cancelLeavesTheRanges_data();
    void cancelLeavesTheRanges();
    void reversedBoundsKeepTheDialogOpen_data();
    void reversedBoundsKeepTheDialogOpen();
    void hiddenOtherSelectionsAreNeverShownOrReturned();

private:
    ClasseAttrDialogEnv env() const
    {
        return ClasseAttrDialogEnv{f_->ctx->formServices.get(), &f_->sink, ClasseAttrMenuCaption(f_->menu.get())};
    }
    std::unique_ptr<kemtest::DemoProgramFixture> f_;
};

void TestFrmSelClaAttr::init()
{
    f_ = std::make_unique<kemtest::DemoProgramFixture>();
}

void TestFrmSelClaAttr::cleanup()
{
    f_.reset();
}

void TestFrmSelClaAttr::levelsFollowTheirCaptions_data()
{
    QTest::addColumn<bool>("accounts");
    QTest::addColumn<bool>("noCaptions");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("articles, the demo's captions") << false << false << QStringList{"Linea", "Materiale", "Finitura"};
    QTest::newRow("accounts, the demo's captions") << true << false << QStringList{"Fascia", "Settore"};
    QTest::newRow("articles, no caption configured") << false << true << QStringList();
    QTest::newRow("accounts, no caption configured") << true << true << QStringList();
}

void TestFrmSelClaAttr::levelsFollowTheirCaptions()
{
    QFETCH(bool, accounts);
    QFETCH(bool, noCaptions);
    QFETCH(QStringList, shown);
    QList<QPair<QString, QString>> vars;
    if (noCaptions)
        for (int level = 1; level <= 5; ++level)
            vars << qMakePair(QStringLiteral("Cla.%1").arg(level), QString())
                 << qMakePair(QStringLiteral("PdcCla.%1").arg(level), QString());
    QVERIFY2(f_->openContext(vars), qPrintable(f_->error));

    QStringList seen;
    bool othersShown = false, looked = false;
    auto look = [&](ClasseAttrDialog &d) {
        looked = true;
        for (int level = 1; level <= 5; ++level) {
            const bool visible = d.txt[ClasseAttrDialog::DaIndex(level)]->isVisibleTo(&d);
            QCOMPARE(d.LevelInUse(level), visible);
            QCOMPARE(d.LabClasse[level]->isVisibleTo(&d), visible);
            QCOMPARE(d.txt[ClasseAttrDialog::AIndex(level)]->isVisibleTo(&d), visible);
            if (visible)
                seen << d.LabClasse[level]->text();
        }
        if (d.txt.contains(ClasseAttrDialog::kCategoriaDa))
            othersShown = d.txt[ClasseAttrDialog::kCategoriaDa]->isVisibleTo(&d)
                && d.txt[ClasseAttrDialog::kZonaA]->isVisibleTo(&d);
        d.ComOK_Click();
    };
    QPushButton button;
    ClasseAttrRange range;
    QString catDa, catA, zonDa, zonA;
    if (accounts) {
        kemtest::WhenShown<frmSelClaAttrCF>([&](frmSelClaAttrCF &d) { look(d); });
        ApriSelClaAttrCF(env(), range, &button, false, catDa, catA, zonDa, zonA, nullptr);
        QCOMPARE(button.text(), QStringLiteral("Seleziona Classi/Attrib. CF"));
        QVERIFY(othersShown);
    } else {
        kemtest::WhenShown<frmSelClaAttr>([&](frmSelClaAttr &d) { look(d); });
        ApriSelClaAttr(env(), range, &button, nullptr);
        QCOMPARE(button.text(), QStringLiteral("Seleziona Classi/Attrib. Articoli"));
    }
    QVERIFY(looked);
    QCOMPARE(seen, shown);
    QVERIFY(!range.AnySet());
    QVERIFY(catDa.isEmpty() && catA.isEmpty() && zonDa.isEmpty() && zonA.isEmpty());
    QVERIFY(f_->texts().isEmpty());
}

void TestFrmSelClaAttr::okReturnsTheBoundsAndMarksTheButton()
{
    QVERIFY2(f_->openContext(), qPrintable(f_->error));
    QPushButton button;
    ClasseAttrRange range;
    range.da[0] = QStringLiteral("CLA");
    QString description, handedIn;
    kemtest::WhenShown<frmSelClaAttr>([&](frmSelClaAttr &d) {
        handedIn = d.txt[10]->text();
        // Level 3, only its upper bound; level 1 emptied.
        d.txt[10]->clear();
        d.txt[35]->setText(QStringLiteral("VER"));
        f_->ctx->formServices->Decodifica(QStringLiteral("ArtClasseAttr3"), d.txt[35], d.lab[35]);
        description = d.lab[35]->text();
        d.ComOK_Click();
    });
    ApriSelClaAttr(env(), range, &button, nullptr);
    QCOMPARE(handedIn, QStringLiteral("CLA"));
    QCOMPARE(description, QStringLiteral("Verniciato"));
    ClasseAttrRange expected;
    expected.a[2] = QStringLiteral("VER");
    QCOMPARE(range.da, expected.da);
    QCOMPARE(range.a, expected.a);
    QCOMPARE(button.text(), QStringLiteral("Seleziona Classi/Attrib. Articoli (MOD)"));

    // The account dialog returns its categories and zones too.
    ClasseAttrRange accounts;
    QString catDa, catA, zonDa = QStringLiteral("CE"), zonA;
    kemtest::WhenShown<frmSelClaAttrCF>([&](frmSelClaAttrCF &d) {
        d.txt[ClasseAttrDialog::kCategoriaDa]->setText(QStringLiteral("CON"));
        d.txt[ClasseAttrDialog::kCategoriaA]->setText(QStringLiteral("PRO"));
        d.txt[ClasseAttrDialog::kZonaA]->setText(QStringLiteral("SU"));
        d.ComOK_Click();
    });
    ApriSelClaAttrCF(env(), accounts, &button, false, catDa, catA, zonDa, zonA, nullptr);
    QCOMPARE(QStringList({catDa, catA, zonDa, zonA}), QStringList({"CON", "PRO", "CE", "SU"}));
    // Categories and zones are not class bounds: the caption stays plain.
    QCOMPARE(button.text(), QStringLiteral("Seleziona Classi/Attrib. CF"));
}

void TestFrmSelClaAttr::cancelLeavesTheRanges_data()
{
    QTest::addColumn<bool>("accounts");
    QTest::newRow("articles") << false;
    QTest::newRow("accounts") << true;
}

void TestFrmSelClaAttr::cancelLeavesTheRanges()
{
    QFETCH(bool, accounts);
    QVERIFY2(f_->openContext(), qPrintable(f_->error));
    QPushButton button;
    button.setText(QStringLiteral("as the caller left it"));
    ClasseAttrRange range;
    range.da[0] = QStringLiteral("A");
    range.a[1] = QStringLiteral("HOT");
    const ClasseAttrRange before = range;
    QString catDa = QStringLiteral("RIV"), catA, zonDa, zonA = QStringLiteral("NO");
    auto change = [](ClasseAttrDialog &d) {
        d.txt[10]->setText(QStringLiteral("C"));
        d.txt[25]->setText(QStringLiteral("ARR"));
        if (d.txt.contains(ClasseAttrDialog::kCategoriaDa)) {
            d.txt[ClasseAttrDialog::kCategoriaDa]->setText(QStringLiteral("PRI"));
            d.txt[ClasseAttrDialog::kZonaA]->setText(QStringLiteral("SU"));
        }
        d.ComAnnulla_Click();
    };
    if (accounts) {
        kemtest::WhenShown<frmSelClaAttrCF>([&](frmSelClaAttrCF &d) { change(d); });
        ApriSelClaAttrCF(env(), range, &button, false, catDa, catA, zonDa, zonA, nullptr);
        QCOMPARE(button.text(), QStringLiteral("Seleziona Classi/Attrib. CF (MOD)"));
    } else {
        kemtest::WhenShown<frmSelClaAttr>([&](frmSelClaAttr &d) { change(d); });
        ApriSelClaAttr(env(), range, &button, nullptr);
        QCOMPARE(button.text(), QStringLiteral("Seleziona Classi/Attrib. Articoli (MOD)"));
    }
    QCOMPARE(range.da, before.da);
    QCOMPARE(range.a, before.a);
    QCOMPARE(QStringList({catDa, catA, zonDa, zonA}), QStringList({"RIV", "", "", "NO"}));
}

void TestFrmSelClaAttr::reversedBoundsKeepTheDialogOpen_data()
{
    QTest::addColumn<bool>("accounts");
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::addColumn<QString>("message");
    const QString bounds = QStringLiteral("Si prega di inserire gli estremi in ordine crescente");
    QTest::newRow("article level 2") << false << 20 << "TES" << "LEG" << bounds;
    QTest::newRow("article level 1, other case") << false << 10 << "mod" << "CLA" << bounds;
    QTest::newRow("account level 1") << true << 10 << "C" << "A" << bounds;
    QTest::newRow("categories") << true << int(ClasseAttrDialog::kCategoriaDa) << "RIV" << "CON"
                                << "Si prega di inserire le categorie in ordine crescente";
    QTest::newRow("zones") << true << int(ClasseAttrDialog::kZonaDa) << "SU" << "NE"
                           << "Si prega di inserire le Zone in ordine crescente";
}

void TestFrmSelClaAttr::reversedBoundsKeepTheDialogOpen()
{
    QFETCH(bool, accounts);
    QFETCH(int, from);
    QFETCH(QString, low);
    QFETCH(QString, high);
    QFETCH(QString, message);
    QVERIFY2(f_->openContext(), qPrintable(f_->error));
    bool openAfterOk = false;
    QStringList shown;
    QString focusAfter;
    auto step = [&](ClasseAttrDialog &d) {
        d.txt[from]->setText(low);
        d.txt[from + 5]->setText(high);
        d.ComOK_Click();
        shown = f_->texts();
        openAfterOk = d.isVisible();
        focusAfter = d.focusWidget() ? d.focusWidget()->objectName() : QString();
        // Put in order, it is accepted.
        d.txt[from + 5]->setText(low);
        d.ComOK_Click();
    };
    ClasseAttrRange range;
    QString catDa, catA, zonDa, zonA;
    if (accounts) {
        kemtest::WhenShown<frmSelClaAttrCF>([&](frmSelClaAttrCF &d) { step(d); });
        ApriSelClaAttrCF(env(), range, nullptr, false, catDa, catA, zonDa, zonA, nullptr);
    } else {
        kemtest::WhenShown<frmSelClaAttr>([&](frmSelClaAttr &d) { step(d); });
        ApriSelClaAttr(env(), range, nullptr, nullptr);
    }
    QCOMPARE(shown, QStringList{message});
    QVERIFY(openAfterOk);
    QCOMPARE(focusAfter, QStringLiteral("txt%1").arg(from));
    // The second confirmation stored the bounds in order.
    const QStringList stored = from == ClasseAttrDialog::kCategoriaDa ? QStringList{catDa, catA}
        : from == ClasseAttrDialog::kZonaDa                           ? QStringList{zonDa, zonA}
        : QStringList{range.da[static_cast<size_t>(from / 10 - 1)], range.a[static_cast<size_t>(from / 10 - 1)]};
    QCOMPARE(stored, QStringList({low, low}));
}

void TestFrmSelClaAttr::hiddenOtherSelectionsAreNeverShownOrReturned()
{
    QVERIFY2(f_->openContext(), qPrintable(f_->error));
    ClasseAttrRange range;
    QString catDa = QStringLiteral("RIV"), catA = QStringLiteral("PRI"), zonDa, zonA = QStringLiteral("SU");
    bool othersVisible = true, classesVisible = false;
    QString held;
    kemtest::WhenShown<frmSelClaAttrCF>([&](frmSelClaAttrCF &d) {
        QVERIFY(d.AltreSelezNascoste());
        othersVisible = false;
        for (int index : {ClasseAttrDialog::kCategoriaDa, ClasseAttrDialog::kCategoriaA, ClasseAttrDialog::kZonaDa,
                          ClasseAttrDialog::kZonaA})
            othersVisible = othersVisible || d.txt[index]->isVisibleTo(&d) || d.lab[index]->isVisibleTo(&d);
        classesVisible = d.txt[10]->isVisibleTo(&d);
        held = d.CategoriaDa() + d.CategoriaA() + d.ZonaDa() + d.ZonaA();
        // Even text put into the hidden boxes goes nowhere.
        d.txt[ClasseAttrDialog::kCategoriaDa]->setText(QStringLiteral("CON"));
        d.txt[10]->setText(QStringLiteral("B"));
        d.ComOK_Click();
    });
    QPushButton button;
    ApriSelClaAttrCF(env(), range, &button, true, catDa, catA, zonDa, zonA, nullptr);
    QVERIFY(!othersVisible);
    QVERIFY(classesVisible);
    QVERIFY(held.isEmpty());
    QCOMPARE(range.da[0], QStringLiteral("B"));
    QCOMPARE(QStringList({catDa, catA, zonDa, zonA}), QStringList({"RIV", "PRI", "", "SU"}));
    QCOMPARE(button.text(), QStringLiteral("Seleziona Classi/Attrib. CF (MOD)"));
}

QTEST_MAIN(TestFrmSelClaAttr)
#include "tst_frmselclaattr.moc"
