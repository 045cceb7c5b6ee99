// The destination dialog's page "Par ini Pdf/Email" on the demo company: its fields with the
// values the runs read, "&Ok" with each refusal and the values kept for the form's runs,
// "&Annulla" with its question, saving, rereading and deleting ticked parameters in this
// terminal's or the common file, "Cerca", the customer address lookup, the boxes of the main
// page; the credential mode asked by the print-in-progress window. With KEM_SCREENSHOT set to
// a file name, the screenshot test grabs the page into it (run under a real display).
#include "platform/help/frmaiutolookup.h"
#include "platform/os/printersystem.h"
#include "platform/printlib/printoptions.h"
#include "platform/printlib/printreport.h"
#include "platform/util/kemutil.h"
#include "print/frmsceltastam.h"
#include "print/frmstampaincorso.h"
#include "reportkit/company.h"
#include "schema/democompany.h"
#include "tests/print/printtestsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace kem;
using kemtest::IniValue;

namespace {

const QString kAbsent = QStringLiteral("<assente>");


// Answers the questions from a list ("&Sì" is 1, "&No" 2); without answers left, the default.
class AnsweringSink : public MessageSink {
public:
    QStringList texts;
    QList<int> answers;
    int msgCom(const QString &text, const QStringList &, int defaultButton, const QString &) override
    {
        texts << text;
        return answers.isEmpty() ? defaultButton : answers.takeFirst();
    }
    void MsgErrfrm(const QString &number, const QString &description, const QString &prefix, const QString &suffix) override
    {
        texts << ErrorText(number, description, prefix, suffix);
    }
};

// The demo company opened as a run opens it, with its own copy of the files.
struct DemoDialog {
    QTemporaryDir dir;
    AnsweringSink sink;
    std::unique_ptr<CompanySession> session;
    ScriptedPrinterSystem printers;
    PrintEnv env;
    PrintOptions options;
    QString error;

    bool open()
    {
        const QString company = dir.filePath(QStringLiteral("demo"));
        if (!WriteDemoCompany(company, &error))
            return false;
        session = CompanySession::Open(company, sink, &error);
        if (!session)
            return false;
        printers.add(QStringLiteral("Ufficio"), QStringLiteral("ipp://srv/printers/ufficio"));
        printers.defaultPrinter = QStringLiteral("Ufficio");
        env.mainIni = session->mainIni();
        env.companyIni = session->companyIni();
        env.menu = &session->menu();
        env.sink = &sink;
        env.printers = &printers;
        env.db = &session->db();
        options.SectionKey = QStringLiteral("DISTINTAfrmPrelvo");
        return true;
    }
    std::unique_ptr<FrmSceltaStam> dialog()
    {
        ScriptedSpreadsheetApp *none = &spreadsheet;
        auto d = std::make_unique<FrmSceltaStam>(env, options, false, none);
        d->TabPagine->setCurrentWidget(d->PagPdfEmail);
        return d;
    }
    QString terminalIni() const { return session->menu().config().terminalIniPath(); }
    QString commonIni() const { return session->menu().config().commonIniPath(); }
    ScriptedSpreadsheetApp spreadsheet;
};

QString LineText(FrmSceltaStam &d, const QString &key)
{
    auto *line = qobject_cast<QLineEdit *>(d.PdfEmailEditor(key));
    return line ? line->text() : QStringLiteral("<non è un campo di testo>");
}

} // namespace

class TestPdfEmailDialog : public QObject {
    Q_OBJECT
private slots:
    void pageFieldsAndButtons();
    void pageShowsWhatTheRunsRead();
    void okRefusals_data();
    void okRefusals();
    void okKeepsTheValuesForTheRuns();
    void cancelAsks_data();
    void cancelAsks();
    void closingWithChangesAsks();
    void saveRereadDelete_data();
    void saveRereadDelete();
    void cercaFillsTheField_data();
    void cercaFillsTheField();
    void customerLookup();
    void mainPageBoxes();
    void credentialMode_data();
    void credentialMode();
    void progressWindowAsksCredentials();
    void screenshot();
};

void TestPdfEmailDialog::pageFieldsAndButtons()
{
    DemoDialog f;
    QVERIFY2(f.open(), qPrintable(f.error));
    auto d = f.dialog();
    QCOMPARE(d->TabPagine->tabText(d->TabPagine->indexOf(d->PagPdfEmail)), QStringLiteral("Par ini Pdf/Email"));
    QStringList labels;
    for (const QLabel *l : d->PagPdfEmail->findChildren<QLabel *>())
        labels << l->text();
    for (const PdfEmailField &field : PdfEmailPageFields()) {
        QVERIFY2(labels.contains(field.caption.trimmed()), qPrintable(field.caption));
        QVERIFY2(d->PdfEmailEditor(field.key), qPrintable(field.key));
        QVERIFY2(d->PdfEmailTick(field.key), qPrintable(field.key));
    }
    for (const char *key : {"EmailDirStunnel", "PdfNomeFile", "EmailFileLog"})
        QCOMPARE(d->PdfEmailCerca(QString::fromLatin1(key))->text(), QStringLiteral("Cerca"));
    QCOMPARE(d->OptIniPdf[0]->text(), QStringLiteral("Parametri comuni a tutti i terminali"));
    QCOMPARE(d->OptIniPdf[1]->text(), QStringLiteral("Parametri di questo terminale"));
    QCOMPARE(d->ComSalvaIni->text(), QStringLiteral("&Salva su file Ini"));
    QCOMPARE(d->ComRileggiIni->text(), QStringLiteral("&Rileggi da file Ini"));
    QCOMPARE(d->ComCancIni->text(), QStringLiteral("&Cancella su file Ini"));
    QCOMPARE(d->ComOkPdf->text(), QStringLiteral("&Ok"));
    QCOMPARE(d->ComAnnullaPdf->text(), QStringLiteral("&Annulla"));
    auto *tipo = qobject_cast<QComboBox *>(d->PdfEmailEditor(QStringLiteral("EmailTipoInvio")));
    QVERIFY(tipo);
    QStringList types;
    for (int i = 0; i < tipo->count(); ++i)
        types << tipo->itemText(i);
    QCOMPARE(types, (QStringList{"Non usato", "CDO", "Sendmail", "Outlook", "See"}));
    QCOMPARE(qobject_cast<QLineEdit *>(d->PdfEmailEditor(QStringLiteral("EmailPwd")))->echoMode(), QLineEdit::Password);
    // The customer address choice is labelled as the customers' columns.
    auto *tipoNum = qobject_cast<QComboBox *>(d->PdfEmailEditor(QStringLiteral("EmailTipoNum")));
    QCOMPARE(tipoNum->itemText(3), QStringLiteral("Spedizioni"));
}

void TestPdfEmailDialog::pageShowsWhatTheRunsRead()
{
    DemoDialog f;
    QVERIFY2(f.open(), qPrintable(f.error));
    // This terminal's own server wins over the common one.
    QString error;
    QVERIFY(IniWrite(f.terminalIni(), QStringLiteral("PdfEmail"), QStringLiteral("EmailServerSMTP"), QStringLiteral("smtp.terminale"), &error));
    auto d = f.dialog();
    QCOMPARE(LineText(*d, QStringLiteral("EmailServerSMTP")), QStringLiteral("smtp.terminale"));
    QCOMPARE(LineText(*d, QStringLiteral("EmailNumPorta")), QStringLiteral("2525"));
    QCOMPARE(LineText(*d, QStringLiteral("EmailLogin")), QStringLiteral("ufficio"));
    QCOMPARE(qobject_cast<QComboBox *>(d->PdfEmailEditor(QStringLiteral("EmailTipoInvio")))->currentText(), QStringLiteral("See"));
    QVERIFY(qobject_cast<QCheckBox *>(d->PdfEmailEditor(QStringLiteral("StampeEmail")))->isChecked());
    QVERIFY(!qobject_cast<QCheckBox *>(d->PdfEmailEditor(QStringLiteral("EmailUsaSSL")))->isChecked());
    QVERIFY(!d->PdfEmailChanged());
    // A send type the list does not know is kept and shown invalid, not dropped.
    d->PdfEmailSetValue(QStringLiteral("EmailTipoInvio"), QStringLiteral("Piccione"));
    QCOMPARE(d->PdfEmailPageParams().value(QStringLiteral("EmailTipoInvio")), QStringLiteral("Piccione"));
    QVERIFY(d->PdfEmailInvalid(QStringLiteral("EmailTipoInvio")));
}

void TestPdfEmailDialog::okRefusals_data()
{
    QTest::addColumn<QStringList>("values");  // key, value, key, value ...
    QTest::addColumn<bool>("send");           // "Invia per Email" ticked
    QTest::addColumn<QString>("message");
    QTest::newRow("invalid port") << QStringList{"EmailNumPorta", "venticinque"} << false
                                  << "ci sono dei dati non validi\r\n - Numero porta SMTP: una porta va da 1 a 65535";
    QTest::newRow("SSL ticked with Outlook") << QStringList{"EmailTipoInvio", "Outlook", "EmailUsaSSL", "S"} << false
                                             << "L'uso di SSL è possibile solo usando tipo invio 'See'";
    QTest::newRow("SSL without stunnel") << QStringList{"EmailUsaSSL", "S"} << false
                                         << "Con l'uso di SSL è obbligatorio inserire la directory stunnel";
    QTest::newRow("stunnel missing") << QStringList{"EmailUsaSSL", "S", "EmailDirStunnel", "/non/esiste"} << false
                                     << "La directory stunnel è inesistente";
    QTest::newRow("send without recipient") << QStringList{"EmailTo1", ""} << true
                                            << "mancano dati obbligatori per l'invio dell'email";
}

void TestPdfEmailDialog::okRefusals()
{
    QFETCH(QStringList, values);
    QFETCH(bool, send);
    QFETCH(QString, message);
    DemoDialog f;
    QVERIFY2(f.open(), qPrintable(f.error));
    f.options.ParamSet(QStringLiteral("EmailInvia"), PrintOptions::ParamAny, send);
    auto d = f.dialog();
    for (int i = 0; i + 1 < values.size(); i += 2)
        d->PdfEmailSetValue(values[i], values[i + 1]);
    d->ComOkPdf->click();
    QCOMPARE(f.sink.texts, QStringList{message});
    // Nothing is kept for the runs, and the page stays.
    QVERIFY(!f.options.ParamExists(QStringLiteral("EmailNumPorta")));
    QCOMPARE(d->TabPagine->currentWidget(), d->PagPdfEmail);
    // Saving is refused the same way, and writes nothing.
    d->PdfEmailTick(values[0])->setChecked(true);
    const QString before = IniValue(f.commonIni(), QStringLiteral("PdfEmail"), values[0]);
    d->ComSalvaIni->click();
    QCOMPARE(f.sink.texts, (QStringList{message, message}));
    QCOMPARE(IniValue(f.commonIni(), QStringLiteral("PdfEmail"), values[0]), before);
}

void TestPdfEmailDialog::okKeepsTheValuesForTheRuns()
{
    DemoDialog f;
    QVERIFY2(f.open(), qPrintable(f.error));
    auto d = f.dialog();
    d->PdfEmailSetValue(QStringLiteral("EmailNumPorta"), QStringLiteral("2626"));
    d->PdfEmailSetValue(QStringLiteral("EmailToTemp"), QStringLiteral("solo.oggi@example.com"));
    QVERIFY(d->PdfEmailChanged());
    d->ComOkPdf->click();
    QVERIFY2(f.sink.texts.isEmpty(), qPrintable(f.sink.texts.join('\n')));
    QCOMPARE(f.options.ParamGet(QStringLiteral("EmailNumPorta")).toString(), QStringLiteral("2626"));
    QCOMPARE(f.options.ParamGet(QStringLiteral("EmailToTemp")).toString(), QStringLiteral("solo.oggi@example.com"));
    QCOMPARE(f.options.ParamGet(QStringLiteral("EmailLogin")).toString(), QStringLiteral("ufficio"));
    QCOMPARE(d->TabPagine->currentIndex(), 0);
    QVERIFY(!d->PdfEmailChanged());
    // The shared files are untouched; the next dialog of the form shows the form's values.
    QCOMPARE(IniValue(f.commonIni(), QStringLiteral("PdfEmail"), QStringLiteral("EmailNumPorta")), QStringLiteral("2525"));
    auto again = f.dialog();
    QCOMPARE(LineText(*again, QStringLiteral("EmailNumPorta")), QStringLiteral("2626"));
}

void TestPdfEmailDialog::cancelAsks_data()
{
    QTest::addColumn<int>("answer");  // 1 "&Sì", 2 "&No"
    QTest::addColumn<QString>("port");
    QTest::newRow("yes: the changes go") << 1 << "2525";
    QTest::newRow("no: the changes stay") << 2 << "2999";
}

void TestPdfEmailDialog::cancelAsks()
{
    QFETCH(int, answer);
    QFETCH(QString, port);
    DemoDialog f;
    QVERIFY2(f.open(), qPrintable(f.error));
    auto d = f.dialog();
    d->PdfEmailSetValue(QStringLiteral("EmailNumPorta"), QStringLiteral("2999"));
    f.sink.answers = {answer};
    d->ComAnnullaPdf->click();
    QCOMPARE(f.sink.texts, QStringList{QStringLiteral("Confermi uscita senza salvataggio")});
    QCOMPARE(LineText(*d, QStringLiteral("EmailNumPorta")), port);
    QCOMPARE(d->TabPagine->currentIndex() == 0, answer == 1);
    QVERIFY(!f.options.ParamExists(QStringLiteral("EmailNumPorta")));
    // Nothing changed: nothing to ask.
    if (answer == 1) {
        f.sink.texts.clear();
        d->ComAnnullaPdf->click();
        QVERIFY(f.sink.texts.isEmpty());
    }
}

void TestPdfEmailDialog::closingWithChangesAsks()
{
    DemoDialog f;
    QVERIFY2(f.open(), qPrintable(f.error));
    auto d = f.dialog();
    d->show();
    d->PdfEmailSetValue(QStringLiteral("EmailServerSMTP"), QStringLiteral("altro.example"));
    d->TabPagine->setCurrentIndex(0);
    f.sink.answers = {2};
    d->ComChiudi->click();
    QVERIFY(d->isVisible());
    QCOMPARE(d->TabPagine->currentWidget(), d->PagPdfEmail);
    QCOMPARE(f.sink.texts, QStringList{QStringLiteral("Confermi uscita senza salvataggio")});
    f.sink.answers = {1};
    d->ComChiudi->click();
    QVERIFY(!d->isVisible());
    QVERIFY(!f.options.ParamExists(QStringLiteral("EmailServerSMTP")));
}

void TestPdfEmailDialog::saveRereadDelete_data()
{
    QTest::addColumn<int>("file");  // OptIniPdf: 0 common, 1 this terminal
    QTest::newRow("Parametri comuni a tutti i terminali") << 0;
    QTest::newRow("Parametri di questo terminale") << 1;
}

void TestPdfEmailDialog::saveRereadDelete()
{
    QFETCH(int, file);
    DemoDialog f;
    QVERIFY2(f.open(), qPrintable(f.error));
    const QString ini = file == 0 ? f.commonIni() : f.terminalIni();
    auto d = f.dialog();
    d->OptIniPdf[file]->click();
    d->PdfEmailSetValue(QStringLiteral("EmailServerSMTP"), QStringLiteral("smtp.salvato.example"));
    d->PdfEmailSetValue(QStringLiteral("EmailLogin"), QStringLiteral("non-spuntato"));
    d->PdfEmailTick(QStringLiteral("EmailServerSMTP"))->setChecked(true);
    d->ComSalvaIni->click();
    QCOMPARE(f.sink.texts, QStringList{QStringLiteral("Parametri salvati: EmailServerSMTP")});
    QCOMPARE(IniValue(ini, QStringLiteral("PdfEmail"), QStringLiteral("EmailServerSMTP")), QStringLiteral("smtp.salvato.example"));
    QVERIFY(IniValue(ini, QStringLiteral("PdfEmail"), QStringLiteral("EmailLogin")) != QStringLiteral("non-spuntato"));

    // Rereading brings the saved value back over what was typed, for the ticked field only.
    d->PdfEmailSetValue(QStringLiteral("EmailServerSMTP"), QStringLiteral("scritto.dopo"));
    d->ComRileggiIni->click();
    QCOMPARE(LineText(*d, QStringLiteral("EmailServerSMTP")), QStringLiteral("smtp.salvato.example"));
    QCOMPARE(LineText(*d, QStringLiteral("EmailLogin")), QStringLiteral("non-spuntato"));

    // Deleting takes the key out of that file; the page then shows what the runs read.
    f.sink.texts.clear();
    d->ComCancIni->click();
    QCOMPARE(f.sink.texts, QStringList{QStringLiteral("Parametri cancellati: EmailServerSMTP")});
    QCOMPARE(IniValue(ini, QStringLiteral("PdfEmail"), QStringLiteral("EmailServerSMTP")), kAbsent);
    QCOMPARE(LineText(*d, QStringLiteral("EmailServerSMTP")), file == 0 ? QString() : QStringLiteral("127.0.0.1"));

    // Nothing ticked: said so, nothing written.
    d->PdfEmailTick(QStringLiteral("EmailServerSMTP"))->setChecked(false);
    f.sink.texts.clear();
    d->ComSalvaIni->click();
    QCOMPARE(f.sink.texts, QStringList{QStringLiteral("Nessun parametro selezionato")});
}

void TestPdfEmailDialog::cercaFillsTheField_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("folder");
    QTest::newRow("stunnel") << "EmailDirStunnel" << "Directory per stunnel" << "" << true;
    QTest::newRow("log") << "EmailFileLog" << "Nome del file per log" << "Testo|*.txt" << false;
    QTest::newRow("PDF name") << "PdfNomeFile" << "Nome del file per pdf" << "Pdf|*.pdf" << false;
}

void TestPdfEmailDialog::cercaFillsTheField()
{
    QFETCH(QString, key);
    QFETCH(QString, title);
    QFETCH(QString, filter);
    QFETCH(bool, folder);
    DemoDialog f;
    QVERIFY2(f.open(), qPrintable(f.error));
    auto d = f.dialog();
    const QString chosen = f.dir.filePath(QStringLiteral("scelto"));
    PdfEmailField asked;
    d->askPath = [&](const PdfEmailField &field, const QString &) {
        asked = field;
        return chosen;
    };
    d->PdfEmailCerca(key)->click();
    QCOMPARE(asked.title, title);
    QCOMPARE(asked.filter, filter);
    QCOMPARE(asked.kind == PdfEmailField::Folder, folder);
    QCOMPARE(LineText(*d, key), chosen);
    // Cancelled: the field keeps its value.
    d->askPath = [](const PdfEmailField &, const QString &) { return QString(); };
    d->PdfEmailCerca(key)->click();
    QCOMPARE(LineText(*d, key), chosen);
}

void TestPdfEmailDialog::customerLookup()
{
    DemoDialog f;
    QVERIFY2(f.open(), qPrintable(f.error));
    QString error;
    QVERIFY(IniWrite(f.env.mainIni, QStringLiteral("Clienti"), QStringLiteral("DescEmailAmm"), QStringLiteral("Fatture"), &error));
    QVERIFY(IniWrite(f.env.mainIni, QStringLiteral("Clienti"), QStringLiteral("EmailPredef"), QStringLiteral("Amm"), &error));
    auto d = f.dialog();
    QStringList headers;
    int rows = -1;
    d->runLookup = [&](FrmAiutoLookup &w) {
        QTimer::singleShot(0, &w, [&] {
            rows = w.visibleRowCount();
            for (int c = 0; c < 6; ++c)
                headers << w.GriLista->model()->headerData(c, Qt::Horizontal).toString();
            QTest::keyClicks(w.txtFiltro, "Hotel");
            QTest::keyClick(w.txtFiltro, Qt::Key_Return);
        });
        return w.exec();
    };
    d->ComHlpEmail->click();
    QCOMPARE(headers, (QStringList{"Codice", "Descrizione", "Principale", "Fatture", "Commerciale", "Spedizioni"}));
    QCOMPARE(rows, 7);  // the customers with an address (one has none)
    QCOMPARE(LineText(*d, QStringLiteral("EmailToTemp")), QStringLiteral("direzione@hotelbellavista.example.it"));
    QVERIFY(f.sink.texts.isEmpty());
}

void TestPdfEmailDialog::mainPageBoxes()
{
    DemoDialog f;
    QVERIFY2(f.open(), qPrintable(f.error));
    auto d = f.dialog();
    d->TabPagine->setCurrentIndex(0);
    // The demo asks for sending ("StampeEmail") and has no PDF printer chosen.
    QVERIFY(d->CheInviaEmail->isVisibleTo(d.get()));
    QVERIFY(!d->ChePdfAutom->isVisibleTo(d.get()));
    d->PdfEmailSetValue(QStringLiteral("UsaPdfCreator"), QStringLiteral("S"));
    d->PdfEmailSetValue(QStringLiteral("StampeEmail"), QStringLiteral("N"));
    d->ComOkPdf->click();
    QVERIFY(d->ChePdfAutom->isVisibleTo(d.get()));
    QVERIFY(!d->CheInviaEmail->isVisibleTo(d.get()));
    d->ChePdfAutom->setChecked(true);
    QVERIFY(f.options.ParamGet(QStringLiteral("PdfAutomAbil")).toBool());
}

void TestPdfEmailDialog::credentialMode_data()
{
    QTest::addColumn<QString>("pwd");      // typed; "<annulla>": "&Annulla" pressed
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("given");
    QTest::addColumn<QStringList>("told");
    QTest::newRow("a new pair") << "nuova" << QList<int>{} << true << QStringList{};
    QTest::newRow("no password") << "" << QList<int>{} << false
                                 << QStringList{"mancano dati obbligatori per l'invio dell'email"};
    QTest::newRow("cancelled") << "<annulla>" << QList<int>{1} << false
                               << QStringList{"Confermi annullamento invio email"};
    QTest::newRow("cancel not confirmed") << "<annulla>" << QList<int>{2} << false
                                          << QStringList{"Confermi annullamento invio email"};
}

void TestPdfEmailDialog::credentialMode()
{
    QFETCH(QString, pwd);
    QFETCH(QList<int>, answers);
    QFETCH(bool, given);
    QFETCH(QStringList, told);
    DemoDialog f;
    QVERIFY2(f.open(), qPrintable(f.error));
    auto d = f.dialog();
    f.sink.answers = answers;
    bool onlyLoginAndPwd = false;
    bool stillOpen = false;
    d->runModal = [&](FrmSceltaStam &dlg) {
        onlyLoginAndPwd = dlg.oiRichDatiEmail == 1000 && dlg.PdfEmailEditor(QStringLiteral("EmailLogin"))->isEnabled()
            && dlg.PdfEmailEditor(QStringLiteral("EmailPwd"))->isEnabled()
            && !dlg.PdfEmailEditor(QStringLiteral("EmailServerSMTP"))->isEnabled()
            && !dlg.ComSalvaIni->isEnabled() && !dlg.TabPagine->isTabEnabled(0)
            && dlg.TabPagine->currentWidget() == dlg.PagPdfEmail;
        dlg.show();
        if (pwd == QLatin1String("<annulla>")) {
            dlg.ComAnnullaPdf->click();
        } else {
            dlg.PdfEmailSetValue(QStringLiteral("EmailPwd"), pwd);
            dlg.ComOkPdf->click();
        }
        stillOpen = dlg.isVisible();
        const int result = stillOpen ? int(QDialog::Rejected) : dlg.result();
        if (stillOpen)
            dlg.hide();
        return result;
    };
    QString login = QStringLiteral("ufficio"), password = QStringLiteral("sbagliata");
    QCOMPARE(d->RichDatiEmail(true, true, &login, &password), given);
    QVERIFY(onlyLoginAndPwd);
    QCOMPARE(f.sink.texts, told);
    QCOMPARE(password, given ? pwd : QStringLiteral("sbagliata"));
    QCOMPARE(login, QStringLiteral("ufficio"));
    // A refused "&Ok" and a cancel not confirmed leave the dialog open.
    QCOMPARE(stillOpen, !given && answers != QList<int>{1});
}

void TestPdfEmailDialog::progressWindowAsksCredentials()
{
    DemoDialog f;
    QVERIFY2(f.open(), qPrintable(f.error));
    frmStampaInCorso window;
    QString login = QStringLiteral("ufficio"), pwd = QStringLiteral("sbagliata");
    // Without the program's environment there is no one to ask.
    QVERIFY(!window.ChiediEmailLogPwd(&login, &pwd));
    auto runOptions = std::make_shared<PrintOptions>(f.options);
    window.EmailContextSet(&f.env, runOptions);
    bool asked = false;
    window.runCredentialDialog = [&](FrmSceltaStam &dlg) {
        asked = dlg.oiRichDatiEmail == FrmSceltaStam::RichDatiEmailMode
            && dlg.PdfEmailEditor(QStringLiteral("EmailLogin"))->isEnabled()
            && dlg.PdfEmailEditor(QStringLiteral("EmailPwd"))->isEnabled();
        dlg.PdfEmailSetValue(QStringLiteral("EmailLogin"), QStringLiteral("altro"));
        dlg.PdfEmailSetValue(QStringLiteral("EmailPwd"), QStringLiteral("giusta"));
        dlg.ComOkPdf->click();
        return dlg.result();
    };
    QVERIFY(window.ChiediEmailLogPwd(&login, &pwd));
    QVERIFY(asked);
    QCOMPARE(login, QStringLiteral("altro"));
    QCOMPARE(pwd, QStringLiteral("giusta"));
    // Asking changes nothing for the next runs; a pair the server accepted stays for them.
    QVERIFY(!runOptions->ParamExists(QStringLiteral("EmailPwd")));
    window.EmailLoginAccepted(login, pwd);
    PdfEmailParams next = PdfEmailParams::Read(*f.env.menu);
    next.Overlay(*runOptions);
    QCOMPARE(next.value(QStringLiteral("EmailLogin")), QStringLiteral("altro"));
    QCOMPARE(next.value(QStringLiteral("EmailPwd")), QStringLiteral("giusta"));
}

void TestPdfEmailDialog::screenshot()
{
    const QString out = qEnvironmentVariable("KEM_SCREENSHOT");
    if (out.isEmpty())
        QSKIP("KEM_SCREENSHOT not set");
    DemoDialog f;
    QVERIFY2(f.open(), qPrintable(f.error));
    auto d = f.dialog();
    d->PdfEmailTick(QStringLiteral("EmailServerSMTP"))->setChecked(true);
    d->PdfEmailTick(QStringLiteral("EmailNumPorta"))->setChecked(true);
    d->PdfEmailSetValue(QStringLiteral("EmailNumPorta"), QStringLiteral("25x"));  // shown invalid
    d->PdfEmailSetValue(QStringLiteral("EmailFileLog"), f.dir.filePath(QStringLiteral("invii-email.txt")));
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d.get()));
    QTest::qWait(200);
    QVERIFY(d->grab().save(out));
}

QTEST_MAIN(TestPdfEmailDialog)
#include "tst_pdfemaildialog.moc"
