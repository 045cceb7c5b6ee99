// The code-field services on a small form over the demo company: decoding, lookups with the
// function keys, the retry rule, inactive articles, dates, mandatory fields, Enter as Tab,
// find and replace, keyboard macros of the menu, key press, form load, promotion message.
#include "common/codefieldwidgets.h"
#include "common/companyparams.h"
#include "common/formservices.h"
#include "common/msgsinks.h"
#include "schema/democompany.h"
#include "platform/db/kemdb.h"
#include "platform/menu/fakemenuserver.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

using namespace kem;

namespace {

class ScriptedPrompter : public TextPrompter {
public:
    QList<std::optional<QString>> answers;
    QStringList prompts;
    QStringList messages;
    std::optional<QString> InputBox(const QString &prompt, const QString &) override
    {
        prompts.append(prompt);
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
    void MsgBox(const QString &text) override { messages.append(text); }
};

// A form with the code fields txt10 / lab10 and txt20 / lab20, a hidden and a disabled box
// between them, and a button.
struct TestForm {
    QWidget form;
    QLineEdit *txt10, *txtHidden, *txtDisabled, *txt20;
    QLabel *lab10, *lab20;
    QPushButton *ComChiudi;

    TestForm()
    {
        auto *l = new QVBoxLayout(&form);
        form.setWindowTitle("Stampa distinta base");
        txt10 = add<QLineEdit>(l, "txt10");
        lab10 = add<QLabel>(l, "lab10");
        txtHidden = add<QLineEdit>(l, "txt15");
        txtDisabled = add<QLineEdit>(l, "txt16");
        txt20 = add<QLineEdit>(l, "txt20");
        lab20 = add<QLabel>(l, "lab20");
        ComChiudi = add<QPushButton>(l, "ComChiudi");
        txtHidden->hide();
        txtDisabled->setEnabled(false);
    }
    template <class W> W *add(QVBoxLayout *l, const char *name)
    {
        auto *w = new W(&form);
        w->setObjectName(name);
        l->addWidget(w);
        return w;
    }
    bool showActive()
    {
        form.show();
        QApplication::setActiveWindow(&form);
        return QTest::qWaitForWindowActive(&form);
    }
};

} // namespace

class TestFormServices : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void decodeExisting_data();
    void decodeExisting();
    void decodeUnknownMarksError();
    void decodeBlankClearsLabelAndError();
    void inactiveArticles_data();
    void inactiveArticles();
    void functionKeysOpenLookup_data();
    void functionKeysOpenLookup();
    void lookupChoosesWithArrowsAndEnter();
    void lookupEscapeLeavesField();
    void leavingFieldDecodes();
    void retryLookup_data();
    void retryLookup();
    void helpAbilOpensLookup();
    void lookupColumnList_data();
    void lookupColumnList();
    void helpButtonSendsKey();
    void focusColours();
    void dateCheck_data();
    void dateCheck();
    void dateTooSmallReportedOnce();
    void mandatoryField_data();
    void mandatoryField();
    void enterMovesFocus();
    void findAndReplace();
    void findCaseModes();
    void menuMacros_data();
    void menuMacros();
    void keypadCommaThroughFilter();
    void keyPress_data();
    void keyPress();
    void formLoad();
    void formActivate_data();
    void formActivate();
    void promotionMessage_data();
    void promotionMessage();

private:
    LookupResult decode(const QString &kind, const QString &text, const QString &where = {});
    void driveLookup(std::function<void(FrmAiutoLookup *)> keys);

    QTemporaryDir dir_;
    Database db_;
    std::unique_ptr<FakeMenuServer> menu_;
    std::unique_ptr<RecordingMessageSink> sink_;
    std::unique_ptr<CompanyParams> params_;
    std::unique_ptr<KemAiutoDecod> aiuto_;
    std::unique_ptr<CodeFieldParams> codeParams_;
    std::unique_ptr<ScriptedPrompter> prompter_;
    std::unique_ptr<FormServices> services_;
    std::unique_ptr<TestForm> form_;
    int lookups_ = 0;
};

void TestFormServices::initTestCase()
{
    QVERIFY(dir_.isValid());
    QString error;
    QVERIFY2(WriteDemoCompany(dir_.path(), &error), qPrintable(error));
    db_.DbOpen(dir_.filePath("dati/azienda.db"));
    // Articles whose Inattivo is Null must count as active.
    db_.DbExecute("Insert Into Articoli (Articolo, Descrizione, DistBase) Values ('NUL-STATO', 'Senza stato', 3)");
}

void TestFormServices::init()
{
    menu_ = std::make_unique<FakeMenuServer>();
    sink_ = std::make_unique<RecordingMessageSink>();
    params_ = std::make_unique<CompanyParams>();
    params_->descAzie = "Mobilificio Demo";
    aiuto_ = std::make_unique<KemAiutoDecod>(db_);
    codeParams_ = std::make_unique<CodeFieldParams>(*menu_, IniContext{dir_.filePath("kemwin.ini"), {}});
    prompter_ = std::make_unique<ScriptedPrompter>();
    services_ = std::make_unique<FormServices>(*params_, *menu_, *sink_, *aiuto_, *codeParams_, *prompter_);
    form_ = std::make_unique<TestForm>();
    lookups_ = 0;
    connect(aiuto_.get(), &KemAiutoDecod::lookupShown, this, [this] { ++lookups_; });
}

void TestFormServices::cleanup()
{
    form_.reset();
    services_.reset();
}

LookupResult TestFormServices::decode(const QString &kind, const QString &text, const QString &where)
{
    form_->txt10->setText(text);
    return services_->Decodifica(kind, form_->txt10, form_->lab10, where);
}

void TestFormServices::driveLookup(std::function<void(FrmAiutoLookup *)> keys)
{
    connect(aiuto_.get(), &KemAiutoDecod::lookupShown, this, [keys](FrmAiutoLookup *w) {
        QTimer::singleShot(0, w, [keys, w] { keys(w); });
    });
}

void TestFormServices::decodeExisting_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("description");
    QTest::newRow("article") << "Articolo" << "SED-FAG01" << "SED-FAG01" << "Sedia faggio con seduta imbottita";
    QTest::newRow("article any case") << "Articolo" << "sed-fag01" << "SED-FAG01" << "Sedia faggio con seduta imbottita";
    QTest::newRow("apostrophe") << "Articolo" << "TAV-O'NEIL" << "TAV-O'NEIL" << "Tavolo O'Neil noce canaletto 160x80";
    QTest::newRow("price list") << "Listino" << "01" << "01" << "Listino al pubblico IVA inclusa";
    QTest::newRow("account typed short") << "Conto" << "4.1.2" << "04.001.000002" << "Arredo Casa di Bianchi Luca";
    QTest::newRow("account with apostrophe in name") << "Conto" << "04.001.000006" << "04.001.000006" << "D'Amico Arredamenti S.r.l.";
}

void TestFormServices::decodeExisting()
{
    QFETCH(QString, kind);
    QFETCH(QString, typed);
    QFETCH(QString, code);
    QFETCH(QString, description);
    const LookupResult r = decode(kind, typed);
    QCOMPARE(int(r.outcome), int(LookupOutcome::Found));
    QCOMPARE(form_->txt10->text(), code);
    QCOMPARE(form_->lab10->text(), description);
    QVERIFY(!services_->IsInError(form_->txt10));
    QCOMPARE(lookups_, 0);
    QVERIFY(sink_->errors.isEmpty());
}

void TestFormServices::decodeUnknownMarksError()
{
    const QString injected = "X' Or '1'='1";
    for (const QString &code : {QStringLiteral("NON-ESISTE"), injected}) {
        const LookupResult r = decode("Articolo", code);
        QCOMPARE(int(r.outcome), int(LookupOutcome::NotFound));
        QCOMPARE(form_->lab10->text(), QStringLiteral("** INESISTENTE **"));
        QCOMPARE(BackColour(form_->txt10, params_->colBackNormal), 255u);
        QVERIFY(services_->IsInError(form_->txt10));
        QCOMPARE(form_->txt10->palette().color(QPalette::Base), QColor(255, 0, 0));
        QCOMPARE(form_->txt10->text(), code);
    }
    QCOMPARE(lookups_, 0); // no retry key configured
    QVERIFY(sink_->errors.isEmpty());
    // Correcting the code clears the error colour.
    decode("Articolo", "SED-FAG01");
    QVERIFY(!services_->IsInError(form_->txt10));
}

void TestFormServices::decodeBlankClearsLabelAndError()
{
    decode("Articolo", "NON-ESISTE");
    QVERIFY(services_->IsInError(form_->txt10));
    decode("Articolo", "   ");
    QVERIFY(form_->lab10->text().isEmpty());
    QVERIFY(!services_->IsInError(form_->txt10));
}

void TestFormServices::inactiveArticles_data()
{
    QTest::addColumn<QString>("noDec");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("found");
    QTest::newRow("S, inactive") << "S" << "CRE-3A-OTT" << false;
    QTest::newRow("S, inactive component") << "S" << "MAN-OTT-96" << false;
    QTest::newRow("S, active with N") << "S" << "TAV-ROV180" << true;
    QTest::newRow("S, Inattivo Null") << "S" << "NUL-STATO" << true;
    QTest::newRow("N, inactive") << "N" << "CRE-3A-OTT" << true;
    QTest::newRow("default, inactive") << "" << "CRE-3A-OTT" << true;
}

void TestFormServices::inactiveArticles()
{
    QFETCH(QString, noDec);
    QFETCH(QString, code);
    QFETCH(bool, found);
    if (!noDec.isEmpty())
        menu_->setPersonal("Articoli", "NoDecInattivi", noDec);
    const LookupResult r = decode("Articolo", code, " DistBase > 0");
    QCOMPARE(r.outcome == LookupOutcome::Found, found);
    QCOMPARE(services_->IsInError(form_->txt10), !found);
    if (!found)
        QCOMPARE(form_->lab10->text(), QStringLiteral("** INESISTENTE **"));
    QVERIFY(sink_->errors.isEmpty());
}

void TestFormServices::functionKeysOpenLookup_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("expected");
    QTest::newRow("F2") << int(Qt::Key_F2) << int(Qt::NoModifier) << 1;
    QTest::newRow("F5") << int(Qt::Key_F5) << int(Qt::NoModifier) << 1;
    QTest::newRow("Shift+F2") << int(Qt::Key_F2) << int(Qt::ShiftModifier) << 0;
    QTest::newRow("Ctrl+F3") << int(Qt::Key_F3) << int(Qt::ControlModifier) << 0;
    QTest::newRow("F6") << int(Qt::Key_F6) << int(Qt::NoModifier) << 0;
}

void TestFormServices::functionKeysOpenLookup()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, expected);
    new CodeFieldBinding(*services_, &form_->form, form_->txt10, form_->lab10, "Articolo");
    driveLookup([](FrmAiutoLookup *w) { w->reject(); });
    QTest::keyClick(form_->txt10, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(lookups_, expected);
}

void TestFormServices::lookupChoosesWithArrowsAndEnter()
{
    new CodeFieldBinding(*services_, &form_->form, form_->txt10, form_->lab10, "Articolo",
                         [] { return QStringLiteral(" DistBase = 3"); });
    driveLookup([](FrmAiutoLookup *w) {
        QTest::keyClicks(w->txtFiltro, "vite");
        QTest::keyClick(w->txtFiltro, Qt::Key_Down);
        QTest::keyClick(w->txtFiltro, Qt::Key_Return);
    });
    QTest::keyClick(form_->txt10, Qt::Key_F2);
    QCOMPARE(lookups_, 1);
    QCOMPARE(form_->txt10->text(), QStringLiteral("VIT-EUR-5"));
    QCOMPARE(form_->lab10->text(), QStringLiteral("Vite euro 5x13 per cerniere"));
}

void TestFormServices::lookupEscapeLeavesField()
{
    form_->txt10->setText("TAV");
    form_->lab10->setText("etichetta");
    driveLookup([](FrmAiutoLookup *w) {
        QTest::keyClick(w->txtFiltro, Qt::Key_Down);
        QTest::keyClick(w->txtFiltro, Qt::Key_Escape);
    });
    const LookupResult r = services_->CodeFieldKeyUp("Articolo", form_->txt10, form_->lab10, 113, 0);
    QCOMPARE(int(r.outcome), int(LookupOutcome::Cancelled));
    QCOMPARE(form_->txt10->text(), QStringLiteral("TAV"));
    QCOMPARE(form_->lab10->text(), QStringLiteral("etichetta"));
}

void TestFormServices::leavingFieldDecodes()
{
    new CodeFieldBinding(*services_, &form_->form, form_->txt10, form_->lab10, "Articolo");
    QVERIFY(form_->showActive());
    form_->txt10->setFocus();
    QTRY_VERIFY(form_->txt10->hasFocus());
    QCOMPARE(BackColour(form_->txt10, 0), params_->colBackGotFocus);
    QTest::keyClicks(form_->txt10, "lib-5r-080");
    form_->txt20->setFocus();
    QTRY_COMPARE(form_->lab10->text(), QStringLiteral("Libreria 5 ripiani 80x30x180"));
    QCOMPARE(form_->txt10->text(), QStringLiteral("LIB-5R-080"));
    QCOMPARE(BackColour(form_->txt10, 0), params_->colBackLostFocus);
}

void TestFormServices::retryLookup_data()
{
    QTest::addColumn<QString>("hlp");
    QTest::addColumn<bool>("choose");
    QTest::addColumn<int>("lookups");
    QTest::addColumn<bool>("found");
    QTest::newRow("ArticoloHlp 2, code chosen") << "2" << true << 1 << true;
    QTest::newRow("ArticoloHlp 2, cancelled") << "2" << false << 1 << false;
    QTest::newRow("ArticoloHlp 0") << "0" << true << 0 << false;
}

void TestFormServices::retryLookup()
{
    QFETCH(QString, hlp);
    QFETCH(bool, choose);
    QFETCH(int, lookups);
    QFETCH(bool, found);
    menu_->setPersonal("Tutti", "ArticoloHlp", hlp);
    QString filter;
    QString labelWhileOpen;
    driveLookup([&, choose](FrmAiutoLookup *w) {
        filter = w->txtFiltro->text();
        labelWhileOpen = form_->lab10->text();
        if (choose)
            QTest::keyClick(w->txtFiltro, Qt::Key_Return);
        else
            QTest::keyClick(w->txtFiltro, Qt::Key_Escape);
    });
    const LookupResult r = decode("Articolo", "gom");
    QCOMPARE(lookups_, lookups);
    QCOMPARE(r.outcome == LookupOutcome::Found, found);
    if (lookups) {
        QCOMPARE(filter, QStringLiteral("gom"));
        QCOMPARE(labelWhileOpen, QStringLiteral("** INESISTENTE **"));
    }
    if (found) {
        QCOMPARE(form_->txt10->text(), QStringLiteral("GOM-PU-30"));
        QCOMPARE(form_->lab10->text(), QStringLiteral("Gommapiuma poliuretano D30 sp.30"));
        QVERIFY(!services_->IsInError(form_->txt10));
    } else {
        QCOMPARE(form_->lab10->text(), QStringLiteral("** INESISTENTE **"));
        QVERIFY(services_->IsInError(form_->txt10));
        QCOMPARE(form_->txt10->text(), QStringLiteral("gom"));
    }
}

void TestFormServices::helpAbilOpensLookup()
{
    params_->decodHelpAbil = "S";
    driveLookup([](FrmAiutoLookup *w) { QTest::keyClick(w->txtFiltro, Qt::Key_Escape); });
    decode("Listino", "99");
    QCOMPARE(lookups_, 1);
    QVERIFY(services_->IsInError(form_->txt10));
}

void TestFormServices::lookupColumnList_data()
{
    QTest::addColumn<QString>("campi");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("lookups");
    QTest::addColumn<int>("errors");
    QTest::newRow("none") << "" << 2 << 1 << 0;
    QTest::newRow("one extra column") << "ArtUM" << 3 << 1 << 0;
    QTest::newRow(",No, counts as empty") << ",No,ArtUM" << 2 << 1 << 0;
    QTest::newRow("not a column list") << "ArtUM; Drop Table Articoli" << -1 << 0 << 1;
    QTest::newRow("unknown column") << "NonEsiste" << -1 << 0 << 1;
}

void TestFormServices::lookupColumnList()
{
    QFETCH(QString, campi);
    QFETCH(int, columns);
    QFETCH(int, lookups);
    QFETCH(int, errors);
    menu_->setPersonal("Help", "CampiArticolo", campi);
    int seen = -1;
    driveLookup([&seen](FrmAiutoLookup *w) {
        seen = w->GriLista->model()->columnCount();
        w->reject();
    });
    const LookupResult r = services_->CodeFieldKeyUp("Articolo", form_->txt10, form_->lab10, 113, 0);
    QCOMPARE(lookups_, lookups);
    QCOMPARE(seen, columns);
    QCOMPARE(int(sink_->errors.size()), errors);
    QCOMPARE(int(r.outcome), int(LookupOutcome::Cancelled));
    QVERIFY(db_.isOpen());
    QVERIFY(db_.TableExists("Articoli"));
}

void TestFormServices::helpButtonSendsKey()
{
    QVERIFY(form_->showActive());
    int key = 0, shift = -1;
    services_->ComHlpClick(form_->txt20, 113, [&](int k, int s) {
        key = k;
        shift = s;
    });
    QCOMPARE(key, 113);
    QCOMPARE(shift, 0);
    QVERIFY(form_->txt20->hasFocus());
}

void TestFormServices::focusColours()
{
    params_->colBackGotFocus = 0x80FFFF;
    params_->colBackLostFocus = 0xFFFFFF;
    form_->txt10->setText("abc");
    services_->TxtGotFocus(&form_->form, form_->txt10);
    QCOMPARE(BackColour(form_->txt10, 0), 0x80FFFFu);
    QCOMPARE(form_->txt10->selectedText(), QStringLiteral("abc"));
    // Entering txt20 repaints txt10, still in the focus colour.
    services_->TxtGotFocus(&form_->form, form_->txt20);
    QCOMPARE(BackColour(form_->txt10, 0), 0xFFFFFFu);
    QCOMPARE(BackColour(form_->txt20, 0), 0x80FFFFu);
    // A box in error stays red when entered.
    SetBackColour(form_->txt10, params_->colErr);
    services_->TxtGotFocus(&form_->form, form_->txt10);
    QVERIFY(services_->IsInError(form_->txt10));
}

void TestFormServices::dateCheck_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("red");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("valid") << "15/06/2024" << 1 << true << false << QStringList{};
    QTest::newRow("blank") << "" << 1 << true << false << QStringList{};
    QTest::newRow("day before the minimum") << "31/12/1899" << 1 << false << true << QStringList{"Data troppo piccola"};
    QTest::newRow("minimum date") << "01/01/1900" << 1 << true << false << QStringList{};
    QTest::newRow("invalid, mode 1") << "31/02/2024" << 1 << false << true << QStringList{};
    QTest::newRow("invalid, mode 2 keeps colour") << "31/02/2024" << 2 << false << false << QStringList{};
    QTest::newRow("invalid, mode 0") << "xx" << 0 << false << false << QStringList{};
}

void TestFormServices::dateCheck()
{
    QFETCH(QString, text);
    QFETCH(int, mode);
    QFETCH(bool, valid);
    QFETCH(bool, red);
    QFETCH(QStringList, messages);
    form_->txt10->setText(text);
    QCOMPARE(services_->ControllaData(form_->txt10, mode, 0xC0C0C0u), valid);
    QCOMPARE(services_->IsInError(form_->txt10), red);
    if (valid)
        QCOMPARE(BackColour(form_->txt10, 0), 0xC0C0C0u);
    QCOMPARE(sink_->texts(), messages);
    if (!messages.isEmpty())
        QCOMPARE(sink_->messages.first().buttons, QStringList{"&Ok"});
}

void TestFormServices::dateTooSmallReportedOnce()
{
    form_->txt10->setText("01/01/1850");
    services_->ControllaData(form_->txt10, 1);
    services_->ControllaData(form_->txt10, 1);
    QCOMPARE(sink_->messages.size(), 1);
    form_->txt20->setText("01/01/1850");
    services_->ControllaData(form_->txt20, 1);
    QCOMPARE(sink_->messages.size(), 2);
    form_->txt10->setText("01/01/2000");
    services_->ControllaData(form_->txt10, 1);
    form_->txt10->setText("01/01/1850");
    services_->ControllaData(form_->txt10, 1);
    QCOMPARE(sink_->messages.size(), 3);
    // The message can be switched off.
    form_->txt10->setText("01/01/2000");
    services_->ControllaData(form_->txt10, 1);
    form_->txt10->setText("01/01/1850");
    QVERIFY(!services_->ControllaData(form_->txt10, 1, std::nullopt, false));
    QCOMPARE(sink_->messages.size(), 3);
}

void TestFormServices::mandatoryField_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("ok");
    QTest::newRow("blank text") << QVariant(QStringLiteral("  ")) << false;
    QTest::newRow("null") << QVariant() << false;
    QTest::newRow("text") << QVariant(QStringLiteral("A")) << true;
    QTest::newRow("number 0") << QVariant(0.0) << false;
    QTest::newRow("number") << QVariant(2.5) << true;
}

void TestFormServices::mandatoryField()
{
    QFETCH(QVariant, value);
    QFETCH(bool, ok);
    QVERIFY(form_->showActive());
    form_->txt10->setFocus();
    QTRY_VERIFY(form_->txt10->hasFocus());
    QCOMPARE(services_->CampoObbligatorio(form_->txt20, "Articolo con cui sostituire", true, value), ok);
    if (ok) {
        QVERIFY(sink_->messages.isEmpty());
        QVERIFY(form_->txt10->hasFocus());
    } else {
        QCOMPARE(sink_->texts(), QStringList{"Articolo con cui sostituire Obbligatorio"});
        QCOMPARE(sink_->messages.first().buttons, QStringList{"&Ok"});
        QVERIFY(form_->txt20->hasFocus());
    }
}

void TestFormServices::enterMovesFocus()
{
    QVERIFY(form_->showActive());
    new FormKeyFilter(&form_->form, *services_);
    form_->txt10->setFocus();
    QTRY_VERIFY(form_->txt10->hasFocus());
    QTest::keyClick(form_->txt10, Qt::Key_Return);
    QVERIFY(form_->txt20->hasFocus()); // the hidden and the disabled boxes are skipped
    QVERIFY(form_->txt20->text().isEmpty());
    QTest::keyClick(form_->txt20, Qt::Key_Enter, Qt::ShiftModifier);
    QVERIFY(form_->ComChiudi->hasFocus());
    QCOMPARE(services_->FormKeyDown(13, 2, &form_->form), 0); // Ctrl+Enter goes to the menu, not Tab
}

void TestFormServices::findAndReplace()
{
    QVERIFY(form_->showActive());
    form_->txt10->setText("Tavolo rovere e sedia rovere");
    form_->txt10->setFocus();
    QTRY_VERIFY(form_->txt10->hasFocus());
    form_->txt10->setCursorPosition(0);
    prompter_->answers = {QStringLiteral("rovere")};
    QCOMPARE(services_->FormKeyDown(70, 6, &form_->form), 1);
    QCOMPARE(prompter_->prompts, QStringList{"Stringa da cercare"});
    QCOMPARE(form_->txt10->selectionStart(), 7);
    QCOMPARE(form_->txt10->selectedText(), QStringLiteral("rovere"));
    QCOMPARE(services_->FormKeyDown(34, 6, &form_->form), 1); // next
    QCOMPARE(form_->txt10->selectionStart(), 22);
    QCOMPARE(services_->FormKeyDown(34, 6, &form_->form), 1); // no more
    QCOMPARE(prompter_->messages, QStringList{"Testo non trovato"});
    QCOMPARE(services_->FormKeyDown(33, 6, &form_->form), 1); // back
    QCOMPARE(form_->txt10->selectionStart(), 7);
    // Replace the occurrence at the selection.
    prompter_->prompts.clear();
    prompter_->answers = {QStringLiteral("rovere"), QStringLiteral("noce")};
    QCOMPARE(services_->FormKeyDown(83, 6, &form_->form), 1);
    QCOMPARE(prompter_->prompts, (QStringList{"Stringa da cercare", "Sostituire con"}));
    QCOMPARE(form_->txt10->text(), QStringLiteral("Tavolo noce e sedia rovere"));
    // Cancelling the replacement leaves the text.
    prompter_->answers = {QStringLiteral("sedia"), std::nullopt};
    services_->FormKeyDown(83, 6, &form_->form);
    QCOMPARE(form_->txt10->text(), QStringLiteral("Tavolo noce e sedia rovere"));
}

void TestFormServices::findCaseModes()
{
    QVERIFY(form_->showActive());
    form_->txt10->setText("Rovere");
    form_->txt10->setFocus();
    QTRY_VERIFY(form_->txt10->hasFocus());
    QCOMPARE(services_->FormKeyDown(92, 7, &form_->form), 1); // exact comparison
    form_->txt10->setCursorPosition(0);
    prompter_->answers = {QStringLiteral("ROVERE")};
    services_->FormKeyDown(70, 7, &form_->form);
    QCOMPARE(prompter_->messages, QStringList{"Testo non trovato"});
    QCOMPARE(services_->FormKeyDown(92, 6, &form_->form), 1); // any case again
    form_->txt10->setCursorPosition(0);
    prompter_->answers = {QStringLiteral("ROVERE")};
    services_->FormKeyDown(70, 6, &form_->form);
    QCOMPARE(form_->txt10->selectedText(), QStringLiteral("Rovere"));
}

void TestFormServices::menuMacros_data()
{
    QTest::addColumn<int>("shift");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("consumed");
    QTest::addColumn<int>("sentKey");
    QTest::addColumn<QString>("text");
    QTest::newRow("Ctrl, consumed") << 2 << "1" << 1 << 75 << "prima";
    QTest::newRow("Ctrl+Shift, key negated") << 3 << "0" << 0 << -75 << "prima";
    QTest::newRow("D types the text") << 2 << "D  Via Roma 1 " << 1 << 75 << "Via Roma 1";
    QTest::newRow("N types the text") << 3 << "NTAV-ROV180" << 1 << -75 << "TAV-ROV180";
    QTest::newRow("other reply") << 2 << "X" << 0 << 75 << "prima";
}

void TestFormServices::menuMacros()
{
    QFETCH(int, shift);
    QFETCH(QString, reply);
    QFETCH(int, consumed);
    QFETCH(int, sentKey);
    QFETCH(QString, text);
    QVERIFY(form_->showActive());
    form_->txt10->setText("prima");
    form_->txt10->setFocus();
    QTRY_VERIFY(form_->txt10->hasFocus());
    menu_->setCallResult("TastiCtrl", reply);
    QCOMPARE(services_->FormKeyDown(75, shift, &form_->form), consumed);
    const QList<FakeMenuServer::Call> calls = menu_->callsTo("MenuCall");
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls.first().args.value(0).toString(), QStringLiteral("TastiCtrl"));
    QCOMPARE(calls.first().args.value(1).toString(), QStringLiteral("Tutti"));
    QCOMPARE(calls.first().args.value(2).toInt(), sentKey);
    QCOMPARE(form_->txt10->text(), text);
}

void TestFormServices::keypadCommaThroughFilter()
{
    params_->tastierinoVirgola = "S";
    new FormKeyFilter(&form_->form, *services_);
    QVERIFY(form_->showActive());
    form_->txt10->setFocus();
    QTRY_VERIFY(form_->txt10->hasFocus());
    QTest::keyClicks(form_->txt10, "12");
    QTest::keyClick(form_->txt10, Qt::Key_Period, Qt::KeypadModifier);
    QTest::keyClick(form_->txt10, Qt::Key_5, Qt::KeypadModifier);
    QTest::keyClick(form_->txt10, Qt::Key_Period);
    QCOMPARE(form_->txt10->text(), QStringLiteral("12,5."));
}

void TestFormServices::keyPress_data()
{
    QTest::addColumn<QString>("tastierino");
    QTest::addColumn<int>("lastKey");
    QTest::addColumn<int>("lastShift");
    QTest::addColumn<bool>("enterFlag");
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("kept");
    QTest::newRow("keypad point becomes comma") << "S" << 110 << 0 << false << int('.') << int(',');
    QTest::newRow("switch off") << "" << 110 << 0 << false << int('.') << int('.');
    QTest::newRow("main keyboard point") << "S" << 190 << 0 << false << int('.') << int('.');
    QTest::newRow("keypad with shift") << "S" << 110 << 1 << false << int('.') << int('.');
    QTest::newRow("Enter swallowed") << "" << 13 << 0 << false << 13 << 0;
    QTest::newRow("Escape swallowed") << "" << 27 << 0 << false << 27 << 0;
    QTest::newRow("Enter with the flag") << "" << 13 << 0 << true << 13 << 13;
    QTest::newRow("letter") << "S" << 65 << 0 << false << int('a') << int('a');
}

void TestFormServices::keyPress()
{
    QFETCH(QString, tastierino);
    QFETCH(int, lastKey);
    QFETCH(int, lastShift);
    QFETCH(bool, enterFlag);
    QFETCH(int, typed);
    QFETCH(int, kept);
    params_->tastierinoVirgola = tastierino;
    services_->setEnterFlag(enterFlag);
    QWidget empty; // no focus widget: nothing else happens
    services_->FormKeyDown(lastKey, lastShift, &empty);
    QCOMPARE(services_->FormKeyPress(typed), kept);
}

void TestFormServices::formLoad()
{
    params_->colBackForm = 0x00C0FFC0;
    QString splashTitle;
    services_->setSplash([&](const QString &t) { splashTitle = t; }, [] {});
    auto *buddyLabel = new QLabel("&Articolo da:", &form_->form);
    buddyLabel->setBuddy(form_->txt10);
    SetBackColour(form_->txt20, 0x123456);
    FormLoadOptions o;
    o.colourExclusions = {"LAB20"};
    o.applyReadOnly = true;
    o.osParam = "/M m1 /P 42 /RO";
    services_->FormLoad(&form_->form, o);
    QCOMPARE(form_->form.windowTitle(), QStringLiteral("Stampa distinta base - Mobilificio Demo"));
    QCOMPARE(splashTitle, QStringLiteral("Stampa distinta base"));
    QCOMPARE(BackColour(&form_->form, 0), 0x00C0FFC0u);
    QCOMPARE(BackColour(form_->lab10, 0), 0x00C0FFC0u);
    QCOMPARE(BackColour(form_->lab20, 0), 0u);       // excluded (any case)
    QCOMPARE(BackColour(form_->txt20, 0), 0x123456u); // not in the normal colour
    QVERIFY(!buddyLabel->buddy());
    QCOMPARE(form_->form.property("oiAbilRW").toInt(), 0);

    TestForm other;
    FormLoadOptions o2;
    o2.noSplash = true;
    o2.captionText = "Copia";
    o2.applyReadOnly = true;
    o2.osParam = "/M m1 /P 42 /ROX";
    splashTitle.clear();
    params_->colBackForm = 0;
    services_->FormLoad(&other.form, o2);
    QCOMPARE(other.form.windowTitle(), QStringLiteral("Stampa distinta base - Copia"));
    QVERIFY(splashTitle.isEmpty());
    QCOMPARE(other.form.property("oiAbilRW").toInt(), 1);
    QCOMPARE(BackColour(&other.form, 0), 0u);
}

void TestFormServices::formActivate_data()
{
    QTest::addColumn<QString>("windowState");
    QTest::addColumn<bool>("keepSplash");
    QTest::addColumn<bool>("maximised");
    QTest::addColumn<int>("hides");
    QTest::newRow("maximised") << "2" << false << true << 1;
    QTest::newRow("normal, splash kept") << "" << true << false << 0;
    QTest::newRow("not a number") << "x" << false << false << 1;
}

void TestFormServices::formActivate()
{
    QFETCH(QString, windowState);
    QFETCH(bool, keepSplash);
    QFETCH(bool, maximised);
    QFETCH(int, hides);
    params_->windowState = windowState;
    int hidden = 0;
    services_->setSplash([](const QString &) {}, [&hidden] { ++hidden; });
    auto *riga = new QLineEdit(&form_->form);
    riga->setObjectName("txtRiga");
    FormActivateOptions o;
    o.keepSplash = keepSplash;
    o.currentRecord = 3;
    o.totalRecords = 12;
    services_->FormActivate(&form_->form, o);
    QCOMPARE(bool(form_->form.windowState() & Qt::WindowMaximized), maximised);
    QCOMPARE(hidden, hides);
    QCOMPARE(riga->text(), QStringLiteral("3 / 12"));
}

void TestFormServices::promotionMessage_data()
{
    QTest::addColumn<QString>("messProm");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("S") << "S" << QStringList{"Articolo con prezzo in promozione: \nTavolo O'Neil noce canaletto 160x80"};
    QTest::newRow("N") << "N" << QStringList{};
    QTest::newRow("blank") << "" << QStringList{};
}

void TestFormServices::promotionMessage()
{
    QFETCH(QString, messProm);
    QFETCH(QStringList, messages);
    ResultSets rs;
    RsGuard h(rs, rs.RsOpen(db_, "Select '" + messProm + "' AS MessProm, Descrizione From Articoli Where Articolo = 'TAV-O''NEIL'"));
    rs.RsMoveFirst(h);
    services_->MessaggioPromozione(rs, h);
    QCOMPARE(sink_->texts(), messages);
}

QTEST_MAIN(TestFormServices)
#include "tst_formservices.moc"
