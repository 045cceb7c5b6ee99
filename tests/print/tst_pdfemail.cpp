// The PDF and e-mail preparation of a run: every placeholder in a file name and in a message,
// the PDF printer chosen, the parameters read from the menu's shared files (this terminal's
// before the common one) and its stored texts, the recipient, and the e-mail of a run with
// the exact lines that say what is missing; each send type ("Sendmail" and "Outlook" through
// stand-in programs, "Non usato", an unknown one) with its log line, and a login the server
// refuses asked again of the user until it is right or the user gives up.
#include "print/pdfemail.h"
#include "common/messages.h"
#include "platform/menu/fakemenuserver.h"
#include "platform/printlib/printoptions.h"
#include "platform/printlib/printreport.h"
#include "print/printenv.h"
#include "tests/support/fakeprogram.h"
#include "tests/support/smtptestserver.h"

#include <QtTest>

using kem::PdfEmailParams;
using kem::PlaceholderUse;
using kem::PlaceholderValues;

namespace {

PlaceholderValues Values()
{
    PlaceholderValues v;
    v.terminale = QStringLiteral("UFF2");
    v.login = QStringLiteral("mrossi");
    v.gruppo = QStringLiteral("AMM");
    v.descAzie = QStringLiteral("Arredamenti Bellini S.r.l.");
    v.codiceAzie = QStringLiteral("BEL");
    v.idAzienda = QStringLiteral("7");
    v.descPrg = QStringLiteral("Stampa della distinta base");
    v.titolo = QStringLiteral("Stampa distinta base");
    v.codSta = QStringLiteral("DISTINTAfrmPrelvo");
    v.persOgg = QStringLiteral("Distinta in allegato");
    v.now = QDateTime(QDate(2024, 3, 5), QTime(9, 7, 30));
    return v;
}

PdfEmailParams Complete()
{
    PdfEmailParams p;
    p.set(QStringLiteral("EmailLogin"), QStringLiteral("ufficio"));
    p.set(QStringLiteral("EmailPwd"), QStringLiteral("segreta"));
    p.set(QStringLiteral("EmailServerSMTP"), QStringLiteral("127.0.0.1"));
    p.set(QStringLiteral("EmailTo1"), QStringLiteral("uno@example.com"));
    p.set(QStringLiteral("EmailTo2"), QStringLiteral("due@example.com"));
    p.set(QStringLiteral("EmailToNum"), QStringLiteral("2"));
    p.set(QStringLiteral("EmailTipoInvio"), QStringLiteral("See"));
    p.set(QStringLiteral("EmailInd"), QStringLiteral("ufficio@example.com"));
    p.set(QStringLiteral("EmailCentro"), QStringLiteral("Ufficio tecnico"));
    p.set(QStringLiteral("EmailOggetto"), QStringLiteral("Distinta in allegato"));
    p.set(QStringLiteral("EmailTesto"), QStringLiteral("Buongiorno, alle §Ora§ del §Data§ ..."));
    p.set(QStringLiteral("EmailNumPorta"), QStringLiteral("2525"));
    return p;
}

class Sink : public kem::MessageSink {
public:
    int msgCom(const QString &text, const QStringList &, int defaultButton, const QString &) override
    {
        texts << text;
        return defaultButton;
    }
    void MsgErrfrm(const QString &number, const QString &description, const QString &prefix, const QString &suffix) override
    {
        texts << kem::ErrorText(number, description, prefix, suffix);
    }
    QStringList texts;
};

// Answers the credential request from a list of pairs; no pair left: the user gives up.
class ScriptedAsker : public kem::EmailCredentialAsker {
public:
    QList<QPair<QString, QString>> pairs;
    QPair<QString, QString> accepted;
    int asked = 0;
    void EmailLoginAccepted(const QString &login, const QString &pwd) override { accepted = qMakePair(login, pwd); }
    bool ChiediEmailLogPwd(QString *login, QString *pwd) override
    {
        ++asked;
        if (pairs.isEmpty())
            return false;
        std::tie(*login, *pwd) = std::pair(pairs.first().first, pairs.first().second);
        pairs.removeFirst();
        return true;
    }
};

} // namespace

class TestPdfEmail : public QObject {
    Q_OBJECT
private slots:
    void placeholders_data();
    void placeholders();
    void titleAndReversedDate();
    void pdfPrinter_data();
    void pdfPrinter();
    void readFromTheMenu();
    void recipient_data();
    void recipient();
    void missingData_data();
    void missingData();
    void completeRun();
    void localProgramsNeedNoServer();
    void sendTypes_data();
    void sendTypes();
    void refusedLoginAskedAgain_data();
    void refusedLoginAskedAgain();
};

void TestPdfEmail::placeholders_data()
{
    QTest::addColumn<QString>("placeholder");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("message");
    QTest::newRow("Terminale") << "Terminale" << "UFF2" << "UFF2";
    QTest::newRow("Login") << "Login" << "mrossi" << "mrossi";
    QTest::newRow("Gruppo") << "Gruppo" << "AMM" << "AMM";
    QTest::newRow("DescAzie") << "DescAzie" << "Arredamenti Bellini S.r.l." << "Arredamenti Bellini S.r.l.";
    QTest::newRow("CodiceAzie") << "CodiceAzie" << "BEL" << "BEL";
    QTest::newRow("IdAzienda") << "IdAzienda" << "7" << "7";
    QTest::newRow("DescPrg") << "DescPrg" << "Stampa della distinta base" << "Stampa della distinta base";
    QTest::newRow("Titolo") << "Titolo" << "Stampa distinta base" << "Stampa distinta base";
    QTest::newRow("CodSta") << "CodSta" << "DISTINTAfrmPrelvo" << "DISTINTAfrmPrelvo";
    QTest::newRow("Data") << "Data" << "05032024" << "05/03/2024";
    QTest::newRow("DataRov") << "DataRov" << "20240305" << "20240305";
    QTest::newRow("DataLong") << "DataLong" << "05 marzo 2024" << "05/marzo/2024";
    QTest::newRow("DataAbb") << "DataAbb" << "05 mar 2024" << "05/mar/2024";
    QTest::newRow("Ora") << "Ora" << "0907" << "09:07";
    QTest::newRow("OraRid, messages only") << "OraRid" << "§OraRid§" << "0907";
    QTest::newRow("PersOgg, messages only") << "PersOgg" << "§PersOgg§" << "Distinta in allegato";
    QTest::newRow("any case") << "dataROV" << "20240305" << "20240305";
    QTest::newRow("no such placeholder stays") << "Nessuno" << "§Nessuno§" << "§Nessuno§";
}

void TestPdfEmail::placeholders()
{
    QFETCH(QString, placeholder);
    QFETCH(QString, fileName);
    QFETCH(QString, message);
    const QString text = QStringLiteral("§") + placeholder + QStringLiteral("§");
    QCOMPARE(kem::ExpandPlaceholders(text, Values(), PlaceholderUse::FileName), fileName);
    QCOMPARE(kem::ExpandPlaceholders(text, Values(), PlaceholderUse::Message), message);
}

void TestPdfEmail::titleAndReversedDate()
{
    PdfEmailParams p;
    p.set(QStringLiteral("PdfNomeFile"), QStringLiteral("§Titolo§_§DataRov§"));
    QCOMPARE(kem::PdfAutoName(p, Values()), QStringLiteral("Stampa distinta base_20240305"));
    // Each month by its Italian name.
    PlaceholderValues december = Values();
    december.now = QDateTime(QDate(2024, 12, 31), QTime(23, 59));
    QCOMPARE(kem::ExpandPlaceholders(QStringLiteral("§DataLong§ §DataAbb§"), december, PlaceholderUse::FileName),
             QStringLiteral("31 dicembre 2024 31 dic 2024"));
}

void TestPdfEmail::pdfPrinter_data()
{
    QTest::addColumn<QString>("creator");
    QTest::addColumn<QString>("pdf995");
    QTest::addColumn<QString>("printer");
    QTest::newRow("PdfCreator") << "S" << "" << "PDFCreator";
    QTest::newRow("both: PdfCreator") << "s" << "S" << "PDFCreator";
    QTest::newRow("Pdf995") << "N" << "S" << "PDF995";
    QTest::newRow("neither") << "N" << "" << "";
}

void TestPdfEmail::pdfPrinter()
{
    QFETCH(QString, creator);
    QFETCH(QString, pdf995);
    QFETCH(QString, printer);
    PdfEmailParams p;
    p.set(QStringLiteral("UsaPdfCreator"), creator);
    p.set(QStringLiteral("UsaPdf995"), pdf995);
    QCOMPARE(kem::PdfPrinter(p), printer);
}

void TestPdfEmail::readFromTheMenu()
{
    kem::FakeMenuServer menu;
    QStringList asked;
    menu.setCallHandler([&](const QString &function, const QString &, const QVariant &param) -> QVariant {
        if (function.startsWith(QStringLiteral("GetParamDbMenu"))) {
            asked << function;
            return QStringList{QStringLiteral("Distinta §Titolo§"), QStringLiteral("In allegato la stampa.")};
        }
        const QVariantList args = param.toList();
        const QString file = args.value(0).toString(), key = args.value(2).toString();
        if (args.value(1).toString() != QLatin1String("PdfEmail"))
            return kem::MenuMissingMarker;
        // The terminal's own server wins over the common one; the common file has the rest.
        if (file == QLatin1String("T"))
            return key == QLatin1String("EmailServerSMTP") ? QVariant(QStringLiteral("smtp.terminale")) : QVariant(kem::MenuMissingMarker);
        if (key == QLatin1String("EmailServerSMTP"))
            return QStringLiteral("smtp.comune");
        if (key == QLatin1String("EmailNumTesto"))
            return QStringLiteral("4");
        if (key == QLatin1String("EmailLogin"))
            return QStringLiteral("ufficio");
        return kem::MenuMissingMarker;
    });
    const PdfEmailParams p = PdfEmailParams::Read(menu);
    QCOMPARE(p.value(QStringLiteral("EmailServerSMTP")), QStringLiteral("smtp.terminale"));
    QCOMPARE(p.value(QStringLiteral("EmailLogin")), QStringLiteral("ufficio"));
    QCOMPARE(p.value(QStringLiteral("EmailPwd")), QString());
    QCOMPARE(p.value(QStringLiteral("EmailOggetto")), QStringLiteral("Distinta §Titolo§"));
    QCOMPARE(p.value(QStringLiteral("EmailTesto")), QStringLiteral("In allegato la stampa."));
    QCOMPARE(asked.size(), 1);
    QVERIFY2(asked.first().contains(QStringLiteral("WHERE Numero = 4")), qPrintable(asked.first()));

    // A menu that cannot answer gives empty parameters, not an error.
    kem::FakeMenuServer gone;
    gone.loseMenu();
    const PdfEmailParams none = PdfEmailParams::Read(gone);
    QCOMPARE(none.value(QStringLiteral("EmailServerSMTP")), QString());
}

void TestPdfEmail::recipient_data()
{
    QTest::addColumn<QString>("toNum");
    QTest::addColumn<QString>("temp");
    QTest::addColumn<QString>("to");
    QTest::newRow("the second fixed address") << "2" << "" << "due@example.com";
    QTest::newRow("the run's own") << "2" << " altro@example.com " << "altro@example.com";
    QTest::newRow("no choice: the first") << "" << "" << "uno@example.com";
    QTest::newRow("a choice out of range: the first") << "7" << "" << "uno@example.com";
    QTest::newRow("a choice with nothing in it") << "3" << "" << "";
}

void TestPdfEmail::recipient()
{
    QFETCH(QString, toNum);
    QFETCH(QString, temp);
    QFETCH(QString, to);
    PdfEmailParams p = Complete();
    p.set(QStringLiteral("EmailToNum"), toNum);
    QCOMPARE(p.Recipient(temp), to);
}

void TestPdfEmail::missingData_data()
{
    QTest::addColumn<QString>("key");  // emptied
    QTest::addColumn<QString>("temp");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("no password") << "EmailPwd" << ""
                                 << QStringList{"Mancano dati necessari per l'invio dell'email", " - Login: ufficio",
                                                " - pwd compilata: No", " - SMTP: 127.0.0.1",
                                                " - Emailto: due@example.com", " - Ind.Temp: "};
    QTest::newRow("no login") << "EmailLogin" << "x@example.com"
                              << QStringList{"Mancano dati necessari per l'invio dell'email", " - Login: ",
                                             " - pwd compilata: Sì", " - SMTP: 127.0.0.1",
                                             " - Emailto: due@example.com", " - Ind.Temp: x@example.com"};
    QTest::newRow("no server") << "EmailServerSMTP" << ""
                               << QStringList{"Mancano dati necessari per l'invio dell'email", " - Login: ufficio",
                                              " - pwd compilata: Sì", " - SMTP: ", " - Emailto: due@example.com",
                                              " - Ind.Temp: "};
    QTest::newRow("no recipient at all") << "EmailTo2" << ""
                                         << QStringList{"Mancano dati necessari per l'invio dell'email", " - Login: ufficio",
                                                        " - pwd compilata: Sì", " - SMTP: 127.0.0.1", " - Emailto: ",
                                                        " - Ind.Temp: "};
    QTest::newRow("the run's recipient is enough") << "EmailTo2" << "x@example.com" << QStringList();
}

void TestPdfEmail::missingData()
{
    QFETCH(QString, key);
    QFETCH(QString, temp);
    QFETCH(QStringList, lines);
    PdfEmailParams p = Complete();
    p.set(key, QString());
    QString missing;
    const auto run = kem::PrepareEmail(p, temp, Values(), &missing);
    QCOMPARE(run.has_value(), lines.isEmpty());
    if (!lines.isEmpty())
        QCOMPARE(missing.split(QStringLiteral("\r\n")), lines);
}

void TestPdfEmail::completeRun()
{
    PdfEmailParams p = Complete();
    p.set(QStringLiteral("EmailPersOggetto"), QStringLiteral("§PersOgg§ - §Titolo§ del §Data§"));
    p.set(QStringLiteral("EmailReplay"), QStringLiteral("risposte@example.com"));
    p.set(QStringLiteral("EmailFlagNotifica"), QStringLiteral("S"));
    QString missing;
    const auto run = kem::PrepareEmail(p, {}, Values(), &missing);
    QVERIFY(run);
    QCOMPARE(run->oggetto, QStringLiteral("Distinta in allegato - Stampa distinta base del 05/03/2024"));
    QCOMPARE(run->testo, QStringLiteral("Buongiorno, alle 09:07 del 05/03/2024 ..."));
    QCOMPARE(run->to, QStringLiteral("due@example.com"));
    QCOMPARE(run->From(), QStringLiteral("\"Ufficio tecnico\" <ufficio@example.com>"));
    QCOMPARE(run->ReplyTo(), QStringLiteral("\"Ufficio tecnico\" <risposte@example.com>"));
    QCOMPARE(run->numPorta, 2525);
    QVERIFY(run->flagNotifica);
    QCOMPARE(run->tipoInvio, QStringLiteral("See"));
    // Without a personal subject the stored one is used as it is.
    p.set(QStringLiteral("EmailPersOggetto"), QString());
    QCOMPARE(kem::PrepareEmail(p, {}, Values(), &missing)->oggetto, QStringLiteral("Distinta in allegato"));
}

void TestPdfEmail::localProgramsNeedNoServer()
{
    PdfEmailParams p = Complete();
    for (const char *key : {"EmailLogin", "EmailPwd", "EmailServerSMTP"})
        p.set(QString::fromLatin1(key), QString());
    QString missing;
    for (const char *type : {"Sendmail", "Outlook"}) {
        p.set(QStringLiteral("EmailTipoInvio"), QString::fromLatin1(type));
        QVERIFY2(kem::PrepareEmail(p, {}, Values(), &missing), type);
    }
    p.set(QStringLiteral("EmailTipoInvio"), QStringLiteral("See"));
    QVERIFY(!kem::PrepareEmail(p, {}, Values(), &missing));
    p.set(QStringLiteral("EmailTipoInvio"), QStringLiteral("Sendmail"));
    p.set(QStringLiteral("EmailTo2"), QString());
    QVERIFY(!kem::PrepareEmail(p, {}, Values(), &missing));  // a recipient is needed by all
    QVERIFY(missing.contains(QStringLiteral(" - Emailto: \r\n")));
}

void TestPdfEmail::sendTypes_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("sent");
    QTest::addColumn<QString>("told");  // what is told (sent) or the error (not sent)
    QTest::newRow("Sendmail") << "Sendmail" << true << "Email inviata a due@example.com";
    QTest::newRow("Outlook") << "Outlook" << true
                             << "Email per due@example.com aperta nel programma di posta: inviarla da lì";
    QTest::newRow("Non usato") << "Non usato" << false << "L'invio dell'email non è attivo (Tipo Invio \"Non usato\")";
    QTest::newRow("unknown") << "Piccione" << false
                             << "Tipo Invio \"Piccione\" sconosciuto: usare \"See\", \"CDO\", \"Sendmail\" o \"Outlook\"";
}

void TestPdfEmail::sendTypes()
{
    QFETCH(QString, type);
    QFETCH(bool, sent);
    QFETCH(QString, told);
    QTemporaryDir bin;
    const QString got = bin.filePath(QStringLiteral("usato"));
    kemtest::WriteScript(bin, QStringLiteral("sendmail"), "cat > \"" + got.toUtf8() + ".sendmail\"\n");
    kemtest::WriteScript(bin, QStringLiteral("xdg-email"), "echo \"$@\" > \"" + got.toUtf8() + ".xdg-email\"\n");
    const QString pdf = bin.filePath(QStringLiteral("stampa.pdf"));
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("%PDF-1.4\n%%EOF\n");
    f.close();
    PdfEmailParams p = Complete();
    p.set(QStringLiteral("EmailTipoInvio"), type);
    p.set(QStringLiteral("EmailFileLog"), bin.filePath(QStringLiteral("invii.txt")));
    QString missing, error;
    const auto run = kem::PrepareEmail(p, {}, Values(), &missing);
    QVERIFY2(run, qPrintable(missing));
    bool done = false;
    {
        const kemtest::PathFirst first(bin.path());
        kem::MailServer nowhere;  // SMTP is not asked
        done = kem::SendRunEmail(*run, nowhere, pdf, &error);
    }
    QCOMPARE(done, sent);
    QCOMPARE(done ? kem::EmailSentText(*run) : error, told);
    QCOMPARE(QFile::exists(got + QStringLiteral(".sendmail")), type == QLatin1String("Sendmail"));
    QCOMPARE(QFile::exists(got + QStringLiteral(".xdg-email")), type == QLatin1String("Outlook"));
    if (type == QLatin1String("Outlook")) {
        QFile args(got + QStringLiteral(".xdg-email"));
        QVERIFY(args.open(QIODevice::ReadOnly));
        QVERIFY(args.readAll().contains(("--attach " + pdf + " due@example.com").toUtf8()));
    }
    QFile log(bin.filePath(QStringLiteral("invii.txt")));
    QVERIFY(log.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString line = QString::fromUtf8(log.readAll()).trimmed();
    QVERIFY2(line.endsWith(QStringLiteral(";due@example.com;Distinta in allegato;") + pdf + QLatin1Char(';')
                           + (sent ? QStringLiteral("inviata") : told)),
             qPrintable(line));
    QVERIFY(QFile::exists(pdf));
}

void TestPdfEmail::refusedLoginAskedAgain_data()
{
    QTest::addColumn<QStringList>("passwords");  // what the user gives, in order
    QTest::addColumn<QStringList>("told");
    QTest::addColumn<bool>("arrives");
    const QString refused = QStringLiteral("Login o password non valida per spedizione email");
    QTest::newRow("right at the second try")
        << QStringList{"ancora-sbagliata", "segreta"} << QStringList{refused, refused, "Email inviata a due@example.com"} << true;
    QTest::newRow("the user gives up")
        << QStringList{} << QStringList{refused, "Invio dell'email annullato\r\nEmail non inviata; il PDF resta in %1"} << false;
}

void TestPdfEmail::refusedLoginAskedAgain()
{
    QFETCH(QStringList, passwords);
    QFETCH(QStringList, told);
    QFETCH(bool, arrives);
    kemtest::SmtpTestServer smtp;
    QString error;
    QVERIFY2(smtp.start(false, &error), qPrintable(error));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("stampa.pdf"));
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("%PDF-1.4\n%%EOF\n");
    f.close();

    kem::FakeMenuServer menu;
    PdfEmailParams p = Complete();
    p.set(QStringLiteral("EmailPwd"), QStringLiteral("sbagliata"));
    p.set(QStringLiteral("EmailNumPorta"), QString::number(smtp.port()));
    p.set(QStringLiteral("EmailCertificati"), smtp.cert());
    for (const QString &key : PdfEmailParams::Keys())
        if (!p.value(key).isEmpty())
            menu.setVar(key, p.value(key));
    Sink sink;
    kem::PrintEnv env;
    env.menu = &menu;
    env.sink = &sink;
    kem::PrintOptions options;
    options.StaVid = kem::PrintOptions::File;
    options.FileForm = kem::PrintOptions::PdfFile;
    options.FileName = pdf;
    options.ParamSet(QStringLiteral("EmailInvia"), kem::PrintOptions::ParamAny, true);
    kem::PrintReport report;
    kem::RunDelivery delivery;
    delivery.Prepare(env, options, report, sink);
    QVERIFY2(delivery.Email(), qPrintable(sink.texts.join('\n')));
    ScriptedAsker asker;
    for (const QString &pwd : passwords)
        asker.pairs << qMakePair(QStringLiteral("ufficio"), pwd);
    delivery.Send(sink, &asker);
    QStringList expected;
    for (const QString &t : told)
        expected << (t.contains(QLatin1String("%1")) ? t.arg(pdf) : t);
    QCOMPARE(sink.texts, expected);
    QCOMPARE(asker.asked, told.size() - 1);
    const QPair<QString, QString> none, right(QStringLiteral("ufficio"), QStringLiteral("segreta"));
    QCOMPARE(asker.accepted, arrives ? right : none);
    if (arrives)
        QTRY_VERIFY(smtp.hasMessage(1));
    else
        QVERIFY(!smtp.hasMessage(1));
    QVERIFY(QFile::exists(pdf));
}

QTEST_GUILESS_MAIN(TestPdfEmail)
#include "tst_pdfemail.moc"
