// FrmDiBaCaSo on the demo company: captions, items and defaults, the operation switch, the
// replacement filling the unit box, the factor check, a run confirmed (with its progress boxes),
// "&Annulla", a box in error, the refusal to close while the change runs, and the dispatcher
// (the menu's key) opening the form in a real window.
#include "tests/support/demoprogramfixture.h"
#include "bomcore/bomlinkwriter.h"
#include "startup/formregistry.h"
#include "startup/mainprelvo.h"
#include "substitution/frmdibacaso.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

using namespace kem;

class TestFrmDiBaCaSo : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loadsWithTheDefaults();
    void deletionHidesTheSubstitutionData();
    void newReplacementFillsTheUnit();
    void factorCheckedAsANumber_data();
    void factorCheckedAsANumber();
    void run_data();
    void run();
    void noClosingWhileProcessing();
    void dispatcherOpensByKey_data();
    void dispatcherOpensByKey();

private:
    void typeAndLeave(int index, const QString &text);
    int linksOf(const QString &component);
    std::unique_ptr<kemtest::DemoProgramFixture> f_;
    std::unique_ptr<FrmDiBaCaSo> form_;
};

void TestFrmDiBaCaSo::init()
{
    f_ = std::make_unique<kemtest::DemoProgramFixture>();
    QVERIFY2(f_->openContext(), qPrintable(f_->error));
    form_ = std::make_unique<FrmDiBaCaSo>(*f_->ctx);
    form_->Load();
    QCOMPARE(form_->oiLoadOk, 1);
}

void TestFrmDiBaCaSo::cleanup()
{
    form_.reset();
    f_.reset();
}

void TestFrmDiBaCaSo::typeAndLeave(int index, const QString &text)
{
    FrmDiBaCaSo &form = *form_;
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QLineEdit *box = form.txt[index];
    box->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), box);
    box->selectAll();
    QTest::keyClicks(box, text);
    form.txt[index == 10 ? 60 : 10]->setFocus();
    QTRY_VERIFY(QApplication::focusWidget() != box);
}

int TestFrmDiBaCaSo::linksOf(const QString &component)
{
    BomLinkWriter writer(*f_->ctx->database(), 3);
    return int(writer.Selected({component, {}, {}}).size());
}

void TestFrmDiBaCaSo::loadsWithTheDefaults()
{
    FrmDiBaCaSo &form = *form_;
    QVERIFY(form.windowTitle().startsWith(QStringLiteral("Sostituzione / Cancellazione articoli di base e/o semilavorati")));
    QCOMPARE(form.property("HelpContextID").toInt(), 55070);
    QVERIFY(form.OptTipoOpe[0]->isChecked());
    QCOMPARE(form.OptTipoOpe[0]->text(), QStringLiteral("Sostituzione"));
    QCOMPARE(form.OptTipoOpe[1]->text(), QStringLiteral("Cancellazione"));
    QCOMPARE(form.labTxt[10]->text(), QStringLiteral("Articolo da sostituire"));
    QStringList items;
    for (int i = 0; i < form.CobQualeImporto->count(); ++i)
        items << form.CobQualeImporto->itemText(i);
    QCOMPARE(items, (QStringList{"Nessun cambiamento", "M = costo medio", "U = ultimo costo", "S = standard", "L = da listino"}));
    QCOMPARE(form.CobQualeImporto->currentIndex(), 0);
    QCOMPARE(form.txt[40]->text(), QStringLiteral("1"));
    QVERIFY(form.OptOperatore[0]->isChecked());
    QCOMPARE(form.OptOperatore[1]->text(), QStringLiteral("Divisione"));
    QCOMPARE(form.ComOk->text(), QStringLiteral("&Esegui"));
    QCOMPARE(form.ComChiudi->text(), QStringLiteral("&Chiudi"));
    QVERIFY(form.PictInElab->isHidden());
}

void TestFrmDiBaCaSo::deletionHidesTheSubstitutionData()
{
    FrmDiBaCaSo &form = *form_;
    form.show();
    form.OptTipoOpe[1]->setChecked(true);
    QVERIFY(!form.FraDatiSost->isVisible());
    QCOMPARE(form.labTxt[10]->text(), QStringLiteral("Articolo da cancellare"));
    form.OptTipoOpe[0]->setChecked(true);
    QVERIFY(form.FraDatiSost->isVisible());
    QCOMPARE(form.labTxt[10]->text(), QStringLiteral("Articolo da sostituire"));
}

void TestFrmDiBaCaSo::newReplacementFillsTheUnit()
{
    typeAndLeave(20, QStringLiteral("gom-pu-30"));
    QCOMPARE(form_->txt[20]->text(), QStringLiteral("GOM-PU-30"));
    QVERIFY(!form_->IsInError(20));
    QCOMPARE(form_->txt[30]->text(), QStringLiteral("MQ"));
    QVERIFY(!form_->lab[30]->text().isEmpty());
    // A finished product is not a component: the box is in error and the unit stays.
    typeAndLeave(20, QStringLiteral("TAV-ROV180"));
    QVERIFY(form_->IsInError(20));
    QCOMPARE(form_->txt[30]->text(), QStringLiteral("MQ"));
}

void TestFrmDiBaCaSo::factorCheckedAsANumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("error");
    QTest::newRow("decimal") << "1,5" << "1,5" << false;
    QTest::newRow("thousands") << "1234,123456" << "1.234,12346" << false;
    QTest::newRow("not a number") << "due" << "due" << true;
}

void TestFrmDiBaCaSo::factorCheckedAsANumber()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(bool, error);
    typeAndLeave(40, typed);
    QCOMPARE(form_->txt[40]->text(), shown);
    QCOMPARE(form_->IsInError(40), error);
    if (error) {
        form_->txt[10]->setText(QStringLiteral("VIT-4X40"));
        form_->txt[20]->setText(QStringLiteral("VIT-EUR-5"));
        f_->sink.clear();
        form_->ComOk_Click();
        QCOMPARE(f_->texts(), QStringList{"Ci sono dei dati non validi"});
        QCOMPARE(linksOf(QStringLiteral("VIT-4X40")), 4);
    }
}

void TestFrmDiBaCaSo::run_data()
{
    QTest::addColumn<QString>("factor");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("left");
    QTest::newRow("row by row") << "2" << 1 << QStringList{"Confermi elaborazione", "Sono stati aggiornati 4 elementi"} << 0;
    QTest::newRow("single statement") << "1" << 1 << QStringList{"Confermi elaborazione", "Sono stati aggiornati 4 elementi"} << 0;
    QTest::newRow("Annulla") << "2" << 2 << QStringList{"Confermi elaborazione"} << 4;
    QTest::newRow("required replacement") << "" << 1 << QStringList{"Articolo con cui sostituire Obbligatorio"} << 4;
}

void TestFrmDiBaCaSo::run()
{
    QFETCH(QString, factor);
    QFETCH(int, answer);
    QFETCH(QStringList, messages);
    QFETCH(int, left);
    FrmDiBaCaSo &form = *form_;
    form.txt[10]->setText(QStringLiteral("VIT-4X40"));
    if (!factor.isEmpty()) {
        form.txt[20]->setText(QStringLiteral("VIT-EUR-5"));
        form.txt[40]->setText(factor);
    }
    form.OptOperatore[1]->setChecked(true);
    f_->sink.clear();
    f_->sink.queueAnswers({answer});
    form.ComOk_Click();
    QCOMPARE(f_->texts(), messages);
    QCOMPARE(linksOf(QStringLiteral("VIT-4X40")), left);
    QVERIFY(!form.Processing());
    QVERIFY(form.ComOk->isEnabled());
    QVERIFY(form.ComChiudi->isEnabled());
    QVERIFY(form.PictInElab->isHidden());
    // The progress of a row-by-row update ends on its last row.
    QCOMPARE(form.txtTotElab->text(), factor == "2" && answer == 1 ? QStringLiteral("4") : QString());
    QCOMPARE(form.txtInElab->text(), form.txtTotElab->text());
}

void TestFrmDiBaCaSo::noClosingWhileProcessing()
{
    FrmDiBaCaSo &form = *form_;
    form.show();
    form.txt[10]->setText(QStringLiteral("VIT-4X40"));
    form.txt[20]->setText(QStringLiteral("VIT-EUR-5"));
    form.txt[40]->setText(QStringLiteral("3"));
    bool closedWhileRunning = true;
    bool buttonsOff = false;
    QTimer::singleShot(0, &form, [&] {
        buttonsOff = form.Processing() && !form.ComOk->isEnabled() && !form.ComChiudi->isEnabled() && form.PictInElab->isVisible();
        closedWhileRunning = form.close();
    });
    f_->sink.clear();
    form.ComOk_Click();
    QVERIFY(buttonsOff);
    QVERIFY(!closedWhileRunning);
    QVERIFY(form.IsLoaded());
    QCOMPARE(f_->texts(), (QStringList{"Confermi elaborazione", "Elaborazione ancora attiva, non è possibile uscire dal programma",
                                       "Sono stati aggiornati 4 elementi"}));
    QVERIFY(form.close());
    QVERIFY(!form.IsLoaded());
}

void TestFrmDiBaCaSo::dispatcherOpensByKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("as the menu gives it") << "frmDiBaCaSo";
    QTest::newRow("any case") << "FRMDIBACASO";
}

void TestFrmDiBaCaSo::dispatcherOpensByKey()
{
    QFETCH(QString, key);
    form_.reset();
    FormRegistry registry;
    RegisterFrmDiBaCaSo(registry);
    f_->ctx->registry = &registry;
    FormDispatcher(*f_->ctx, key, true, QStringLiteral("frmDiBaCaSo"), {}, {}, {});
    auto *form = dynamic_cast<FrmDiBaCaSo *>(f_->ctx->FormInstance(QStringLiteral("frmDiBaCaSo")));
    QVERIFY(form);
    QVERIFY(form->IsLoaded());
    QCOMPARE(form->oiLoadOk, 1);
    QVERIFY(form->isVisible());
    QVERIFY(form->windowTitle().startsWith(QStringLiteral("Sostituzione / Cancellazione articoli di base e/o semilavorati")));

    QCOMPARE(f_->OffersOf(*form), (QList<QStringList>{{QStringLiteral("Sostituzione / cancellazione articoli basi e/o semilavorati"), QStringLiteral("frmDiBaCaSo"), form->osKeySec}}));
    QVERIFY(form->Unload());
    f_->ctx->registry = nullptr;
}

QTEST_MAIN(TestFrmDiBaCaSo)
#include "tst_frmdibacaso.moc"
