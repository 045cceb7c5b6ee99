// The page "Par ini Pdf/Email" without its window: the check of each field, the checks of the
// page with their exact messages (invalid data, SSL only with "See", the stunnel folder, a
// send without recipient), the question of "&Annulla", saving, rereading and deleting ticked
// parameters through the menu's "ScriviIniComuni" / "LeggiIniComuni" on the demo company's
// files, and the customer address columns with their labels and "EmailPredef".
#include "print/pdfemailpage.h"

#include "platform/menu/companymenuserver.h"
#include "platform/menu/fakemenuserver.h"
#include "platform/menu/menuconfig.h"
#include "platform/printlib/printoptions.h"
#include "platform/util/kemutil.h"
#include "print/printenv.h"
#include "schema/democompany.h"
#include "tests/print/printtestsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace kem;
using kemtest::IniValue;

namespace {

PdfEmailParams Valid()
{
    PdfEmailParams p;
    p.set(QStringLiteral("EmailTipoInvio"), QStringLiteral("See"));
    p.set(QStringLiteral("EmailServerSMTP"), QStringLiteral("127.0.0.1"));
    p.set(QStringLiteral("EmailTo1"), QStringLiteral("cliente@example.com"));
    p.set(QStringLiteral("EmailToNum"), QStringLiteral("1"));
    return p;
}


} // namespace

class TestPdfEmailPage : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void everyParameterHasAField();
    void fieldCheck_data();
    void fieldCheck();
    void pageRefusal_data();
    void pageRefusal();
    void cancelQuestion();
    void saveRereadDelete_data();
    void saveRereadDelete();
    void menuThatCannotAnswer();
    void pageValuesTakeTheFormsOwn();
    void customerColumns_data();
    void customerColumns();

private:
    QTemporaryDir dir_;
    QString demo_;
};

void TestPdfEmailPage::initTestCase()
{
    QVERIFY(dir_.isValid());
    demo_ = dir_.filePath(QStringLiteral("demo"));
    QString error;
    QVERIFY2(WriteDemoCompany(demo_, &error), qPrintable(error));
}

void TestPdfEmailPage::everyParameterHasAField()
{
    QStringList keys;
    for (const PdfEmailField &f : PdfEmailPageFields()) {
        QVERIFY2(!f.caption.trimmed().isEmpty(), qPrintable(f.key));
        keys << f.key;
    }
    for (const QString &key : PdfEmailParams::Keys())
        QVERIFY2(keys.contains(key), qPrintable(key));
    QCOMPARE(keys.size(), PdfEmailParams::Keys().size());
    // Captions as the page shows them, the odd spacing included.
    QCOMPARE(PdfEmailPageField(QStringLiteral("EmailFlagNotifica"))->caption, QStringLiteral("Richiedere notifica email ricevuta "));
    QCOMPARE(PdfEmailPageField(QStringLiteral("EmailCentro"))->caption, QStringLiteral("Descriz. email di invio(centro)"));
    QCOMPARE(PdfEmailPageField(QStringLiteral("EmailDirStunnel"))->title, QStringLiteral("Directory per stunnel"));
    QCOMPARE(PdfEmailPageField(QStringLiteral("EmailFileLog"))->filter, QStringLiteral("Testo|*.txt"));
    QCOMPARE(PdfEmailPageField(QStringLiteral("emailsmtptipo"))->caption, QStringLiteral("Tipo server (Solo per CDO)"));
}

void TestPdfEmailPage::fieldCheck_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("valid");
    QTest::newRow("port") << "EmailNumPorta" << "2525" << true;
    QTest::newRow("port 0") << "EmailNumPorta" << "0" << false;
    QTest::newRow("port too high") << "EmailNumPorta" << "70000" << false;
    QTest::newRow("port not a number") << "EmailNumPorta" << "25a" << false;
    QTest::newRow("empty port") << "EmailNumPorta" << "" << true;
    QTest::newRow("text number") << "EmailNumTesto" << "3" << true;
    QTest::newRow("text number negative") << "EmailNumTesto" << "-3" << false;
    QTest::newRow("address") << "EmailInd" << "ufficio@example.com" << true;
    QTest::newRow("local address") << "EmailTo1" << "root@localhost" << true;
    QTest::newRow("no at") << "EmailTo2" << "ufficio.example.com" << false;
    QTest::newRow("two addresses") << "EmailToTemp" << "a@example.com; b@example.com" << false;
    QTest::newRow("send type") << "EmailTipoInvio" << "sendmail" << true;
    QTest::newRow("unknown send type") << "EmailTipoInvio" << "Piccione" << false;
    QTest::newRow("recipient 3") << "EmailToNum" << "3" << true;
    QTest::newRow("recipient 4") << "EmailToNum" << "4" << false;
    QTest::newRow("customer address 4") << "EmailTipoNum" << "4" << true;
    QTest::newRow("customer address 5") << "EmailTipoNum" << "5" << false;
    QTest::newRow("flag") << "EmailUsaSSL" << "S" << true;
    QTest::newRow("flag yes") << "EmailUsaSSL" << "sì" << false;
    QTest::newRow("log in a missing folder") << "EmailFileLog" << "/non/esiste/log.txt" << false;
    QTest::newRow("log") << "EmailFileLog" << QDir::tempPath() + "/invii.txt" << true;
    QTest::newRow("log is a folder") << "EmailFileLog" << QDir::tempPath() << false;
    QTest::newRow("certificates missing") << "EmailCertificati" << "/non/esiste.pem" << false;
    QTest::newRow("free text") << "EmailPersOggetto" << "§PersOgg§ - §Titolo§" << true;
}

void TestPdfEmailPage::fieldCheck()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(bool, valid);
    QCOMPARE(PdfEmailFieldError(key, value).isEmpty(), valid);
}

void TestPdfEmailPage::pageRefusal_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("ssl");
    QTest::addColumn<QString>("stunnel");  // "dir": an existing folder
    QTest::addColumn<QString>("port");
    QTest::addColumn<bool>("send");
    QTest::addColumn<QString>("to");       // EmailTo1
    QTest::addColumn<QString>("message");
    QTest::newRow("fine") << "See" << "N" << "" << "25" << true << "cliente@example.com" << "";
    QTest::newRow("invalid port") << "See" << "N" << "" << "porta" << false << "cliente@example.com"
                                  << "ci sono dei dati non validi\r\n - Numero porta SMTP: una porta va da 1 a 65535";
    QTest::newRow("SSL with Outlook") << "Outlook" << "S" << "dir" << "465" << false << "cliente@example.com"
                                      << "L'uso di SSL è possibile solo usando tipo invio 'See'";
    QTest::newRow("SSL with CDO") << "CDO" << "S" << "dir" << "465" << false << "cliente@example.com"
                                  << "L'uso di SSL è possibile solo usando tipo invio 'See'";
    QTest::newRow("SSL without stunnel") << "See" << "S" << "" << "465" << false << "cliente@example.com"
                                         << "Con l'uso di SSL è obbligatorio inserire la directory stunnel";
    QTest::newRow("stunnel missing") << "See" << "S" << "/non/esiste/stunnel" << "465" << false << "cliente@example.com"
                                     << "La directory stunnel è inesistente";
    QTest::newRow("SSL with See and stunnel") << "See" << "S" << "dir" << "465" << true << "cliente@example.com" << "";
    QTest::newRow("port 465 needs no tick") << "CDO" << "N" << "" << "465" << true << "cliente@example.com" << "";
    QTest::newRow("send without recipient") << "See" << "N" << "" << "25" << true << ""
                                            << "mancano dati obbligatori per l'invio dell'email";
    QTest::newRow("no send, no recipient") << "See" << "N" << "" << "25" << false << "" << "";
}

void TestPdfEmailPage::pageRefusal()
{
    QFETCH(QString, tipo);
    QFETCH(QString, ssl);
    QFETCH(QString, stunnel);
    QFETCH(QString, port);
    QFETCH(bool, send);
    QFETCH(QString, to);
    QFETCH(QString, message);
    PdfEmailParams p = Valid();
    p.set(QStringLiteral("EmailTipoInvio"), tipo);
    p.set(QStringLiteral("EmailUsaSSL"), ssl);
    p.set(QStringLiteral("EmailDirStunnel"), stunnel == QLatin1String("dir") ? dir_.path() : stunnel);
    p.set(QStringLiteral("EmailNumPorta"), port);
    p.set(QStringLiteral("EmailTo1"), to);
    QCOMPARE(PdfEmailPageRefusal(p, PdfEmailInvalidFields(p), send), message);
}

void TestPdfEmailPage::cancelQuestion()
{
    QCOMPARE(PdfEmailCancelQuestion(true), QStringLiteral("Confermi annullamento invio email"));
    QCOMPARE(PdfEmailCancelQuestion(false), QStringLiteral("Confermi uscita senza salvataggio"));
}

void TestPdfEmailPage::saveRereadDelete_data()
{
    QTest::addColumn<bool>("common");
    QTest::newRow("Parametri comuni a tutti i terminali") << true;
    QTest::newRow("Parametri di questo terminale") << false;
}

void TestPdfEmailPage::saveRereadDelete()
{
    QFETCH(bool, common);
    QTemporaryDir copy;
    const QString company = copy.filePath(QStringLiteral("azienda"));
    QString error;
    QVERIFY2(WriteDemoCompany(company, &error), qPrintable(error));
    MenuConfig config;
    QVERIFY2(MenuConfig::Load(company, &config, &error), qPrintable(error));
    CompanyMenuServer menu(config);
    const QString file = common ? config.commonIniPath() : config.terminalIniPath();
    const QString other = common ? config.terminalIniPath() : config.commonIniPath();
    const QString otherBefore = IniValue(other, QStringLiteral("PdfEmail"), QStringLiteral("EmailServerSMTP"));

    PdfEmailParams p;
    p.set(QStringLiteral("EmailServerSMTP"), QStringLiteral("smtp.nuovo.example"));
    p.set(QStringLiteral("EmailNumPorta"), QStringLiteral("587"));
    p.set(QStringLiteral("EmailLogin"), QStringLiteral("non-spuntato"));
    const QStringList ticked{QStringLiteral("EmailServerSMTP"), QStringLiteral("EmailNumPorta")};
    QVERIFY2(SavePdfEmailParams(menu, p, ticked, common, &error), qPrintable(error));
    QCOMPARE(IniValue(file, QStringLiteral("PdfEmail"), QStringLiteral("EmailServerSMTP")), QStringLiteral("smtp.nuovo.example"));
    QCOMPARE(IniValue(file, QStringLiteral("PdfEmail"), QStringLiteral("EmailNumPorta")), QStringLiteral("587"));
    QVERIFY(IniValue(file, QStringLiteral("PdfEmail"), QStringLiteral("EmailLogin")) != QStringLiteral("non-spuntato"));
    QCOMPARE(IniValue(other, QStringLiteral("PdfEmail"), QStringLiteral("EmailServerSMTP")), otherBefore);
    // The runs read what was saved.
    QCOMPARE(ReadPdfEmailParam(menu, QStringLiteral("EmailServerSMTP")), QStringLiteral("smtp.nuovo.example"));

    // Rereading changes the ticked parameters only.
    PdfEmailParams page;
    page.set(QStringLiteral("EmailServerSMTP"), QStringLiteral("scritto a mano"));
    page.set(QStringLiteral("EmailLogin"), QStringLiteral("scritto a mano"));
    QVERIFY2(RereadPdfEmailParams(menu, {QStringLiteral("EmailServerSMTP")}, common, &page, &error), qPrintable(error));
    QCOMPARE(page.value(QStringLiteral("EmailServerSMTP")), QStringLiteral("smtp.nuovo.example"));
    QCOMPARE(page.value(QStringLiteral("EmailLogin")), QStringLiteral("scritto a mano"));

    // Deleting takes the key out of that file only.
    QVERIFY2(DeletePdfEmailParams(menu, ticked, common, &error), qPrintable(error));
    QCOMPARE(IniValue(file, QStringLiteral("PdfEmail"), QStringLiteral("EmailServerSMTP")), QStringLiteral("<assente>"));
    QCOMPARE(IniValue(file, QStringLiteral("PdfEmail"), QStringLiteral("EmailNumPorta")), QStringLiteral("<assente>"));
    QCOMPARE(IniValue(other, QStringLiteral("PdfEmail"), QStringLiteral("EmailServerSMTP")), otherBefore);
    // This terminal's value gone, the common one shows again; nothing ticked does nothing.
    if (!common)
        QCOMPARE(ReadPdfEmailParam(menu, QStringLiteral("EmailServerSMTP")), QStringLiteral("127.0.0.1"));
    QVERIFY(!SavePdfEmailParams(menu, p, {}, common, &error));
    QCOMPARE(error, QStringLiteral("Nessun parametro selezionato"));
}

void TestPdfEmailPage::menuThatCannotAnswer()
{
    FakeMenuServer menu;
    menu.loseMenu();
    PdfEmailParams page;
    page.set(QStringLiteral("EmailServerSMTP"), QStringLiteral("sulla pagina"));
    QString error;
    QVERIFY(!SavePdfEmailParams(menu, page, {QStringLiteral("EmailServerSMTP")}, true, &error));
    QVERIFY2(error.startsWith(QStringLiteral("Parametri non salvati: ")), qPrintable(error));
    QVERIFY(!RereadPdfEmailParams(menu, {QStringLiteral("EmailServerSMTP")}, false, &page, &error));
    QVERIFY2(error.startsWith(QStringLiteral("Parametri non riletti: ")), qPrintable(error));
    QCOMPARE(page.value(QStringLiteral("EmailServerSMTP")), QStringLiteral("sulla pagina"));
    QVERIFY(!DeletePdfEmailParams(menu, {QStringLiteral("EmailServerSMTP")}, false, &error));
    QVERIFY2(error.startsWith(QStringLiteral("Parametri non cancellati: ")), qPrintable(error));
}

void TestPdfEmailPage::pageValuesTakeTheFormsOwn()
{
    MenuConfig config;
    QString error;
    QVERIFY2(MenuConfig::Load(demo_, &config, &error), qPrintable(error));
    CompanyMenuServer menu(config);
    PrintOptions options;
    QCOMPARE(PdfEmailPageValues(&menu, options).value(QStringLiteral("EmailNumPorta")), QStringLiteral("2525"));
    PdfEmailParams own = PdfEmailPageValues(&menu, options);
    own.set(QStringLiteral("EmailNumPorta"), QStringLiteral("2626"));
    own.StoreIn(options);
    const PdfEmailParams again = PdfEmailPageValues(&menu, options);
    QCOMPARE(again.value(QStringLiteral("EmailNumPorta")), QStringLiteral("2626"));
    QCOMPARE(again.value(QStringLiteral("EmailLogin")), QStringLiteral("ufficio"));
    // The runs read the shared parameters with the form's own over them.
    PdfEmailParams run = PdfEmailParams::Read(menu);
    run.Overlay(options);
    QCOMPARE(run.value(QStringLiteral("EmailNumPorta")), QStringLiteral("2626"));
}

void TestPdfEmailPage::customerColumns_data()
{
    QTest::addColumn<QString>("predef");
    QTest::addColumn<QString>("tipoNum");
    QTest::addColumn<int>("column");
    QTest::newRow("nothing") << "" << "" << 0;
    QTest::newRow("Amm") << "Amm" << "" << 1;
    QTest::newRow("comm, any case") << "comm" << "" << 2;
    QTest::newRow("Sped") << "Sped" << "" << 3;
    QTest::newRow("the page's choice over the default") << "Sped" << "2" << 1;
    QTest::newRow("StAltro: no default") << "StAltro" << "" << 0;
    QTest::newRow("the page's choice alone") << "" << "4" << 3;
    QTest::newRow("a choice out of range: the default") << "Comm" << "9" << 2;
}

void TestPdfEmailPage::customerColumns()
{
    QFETCH(QString, predef);
    QFETCH(QString, tipoNum);
    QFETCH(int, column);
    QTemporaryDir d;
    PrintEnv env;
    env.mainIni = d.filePath(QStringLiteral("kemwin.ini"));
    QString error;
    QCOMPARE(CustomerEmailLabels(env),
             (QStringList{"Principale", "Amministrativo", "Commerciale", "Spedizioni"}));
    QVERIFY(IniWrite(env.mainIni, QStringLiteral("Clienti"), QStringLiteral("DescEmailAmm"), QStringLiteral("Fatture"), &error));
    if (!predef.isEmpty())
        QVERIFY(IniWrite(env.mainIni, QStringLiteral("Clienti"), QStringLiteral("EmailPredef"), predef, &error));
    QCOMPARE(CustomerEmailLabels(env), (QStringList{"Principale", "Fatture", "Commerciale", "Spedizioni"}));
    QCOMPARE(CustomerEmailColumn(env, tipoNum), column);
    const QStringList all{"a@example.com", "b@example.com", "c@example.com", "d@example.com"};
    QCOMPARE(CustomerEmailOf(all, column), all[column]);
    // A customer without that address gives the first it has.
    QCOMPARE(CustomerEmailOf({"", "", "c@example.com", ""}, column), QStringLiteral("c@example.com"));
    QCOMPARE(CustomerEmailOf({"", "", "", ""}, column), QString());
}

QTEST_GUILESS_MAIN(TestPdfEmailPage)
#include "tst_pdfemailpage.moc"
