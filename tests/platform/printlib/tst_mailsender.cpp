// A report sent by e-mail through a real SMTP server started here on the loopback address:
// STARTTLS with a login and SSL from the connection on deliver the subject, the text and the
// PDF attached, readable; a wrong password, an unreachable server, a refused recipient and an
// attachment that cannot be read each give their message. The same message handed to a
// sendmail program and to the desktop's mail program (stand-ins written by the test) arrives
// whole; their failures give their messages.
#include "platform/printlib/mailsender.h"
#include "tests/support/batchrun.h"
#include "tests/support/fakeprogram.h"
#include "tests/support/smtptestserver.h"

#include <QProcess>
#include <QTcpServer>
#include <QtTest>

using kem::MailMessage;
using kem::MailSender;
using kem::MailServer;
using kemtest::SmtpTestServer;

namespace {

MailMessage Message(const QString &attachment)
{
    MailMessage m;
    m.fromAddress = QStringLiteral("ufficio@example.com");
    m.from = QStringLiteral("\"Ufficio tecnico\" <ufficio@example.com>");
    m.replyTo = QStringLiteral("\"Ufficio tecnico\" <risposte@example.com>");
    m.to = QStringLiteral("cliente@example.com");
    m.subject = QStringLiteral("Distinta base del 05/03/2024 – è pronta");
    m.text = QStringLiteral("Buongiorno,\nin allegato la distinta base.\nCordiali saluti");
    m.attachment = attachment;
    m.readReceipt = true;
    return m;
}

using kemtest::FileBytes;
using kemtest::WriteScript;

// Reads a message as a mail program would (python's email package): the subject, the text and
// the attachment written beside it.
bool Parse(const QString &eml, const QString &out, QString *error)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"),
            {QStringLiteral("-c"),
             QStringLiteral("import email, email.policy, sys\n"
                            "m = email.message_from_bytes(open(sys.argv[1], 'rb').read(), policy=email.policy.default)\n"
                            "open(sys.argv[2] + '.subject', 'w', encoding='utf-8').write(str(m['subject']))\n"
                            "for part in m.walk():\n"
                            "    if part.is_multipart(): continue\n"
                            "    n = part.get_filename()\n"
                            "    if n: open(sys.argv[2] + '.' + n, 'wb').write(part.get_payload(decode=True))\n"
                            "    elif part.get_content_type() == 'text/plain': open(sys.argv[2] + '.text', 'w', encoding='utf-8').write(part.get_content())\n"),
             eml, out});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        *error = QString::fromUtf8(p.readAllStandardError());
        return false;
    }
    return true;
}

} // namespace

class TestMailSender : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void delivered_data();
    void delivered();
    void failures_data();
    void failures();
    void serverUrl_data();
    void serverUrl();
    void composedMessage();
    void sendmailDelivers();
    void mailProgramGetsTheMessage();
    void localProgramFailures_data();
    void localProgramFailures();

private:
    QTemporaryDir dir_;
    QString pdf_;
    QByteArray pdfBytes_;
};

void TestMailSender::initTestCase()
{
    QVERIFY(dir_.isValid());
    pdf_ = dir_.filePath(QStringLiteral("Distinta_20240305.pdf"));
    pdfBytes_ = QByteArray("%PDF-1.4\n") + QByteArray(70000, '\x01') + QByteArray("\xe0\xff\n%%EOF\n");
    QFile f(pdf_);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(pdfBytes_);
}

void TestMailSender::delivered_data()
{
    QTest::addColumn<bool>("ssl");
    QTest::newRow("STARTTLS and login") << false;
    QTest::newRow("SSL on connect") << true;
}

void TestMailSender::delivered()
{
    QFETCH(bool, ssl);
    SmtpTestServer smtp;
    QString error;
    QVERIFY2(smtp.start(ssl, &error), qPrintable(error));
    MailServer s;
    s.host = QStringLiteral("127.0.0.1");
    s.port = smtp.port();
    s.sslOnConnect = ssl;
    s.login = QString::fromLatin1(SmtpTestServer::kUser);
    s.password = QString::fromLatin1(SmtpTestServer::kPassword);
    s.caFile = smtp.cert();
    QVERIFY2(MailSender::Send(s, Message(pdf_), &error), qPrintable(error));
    QTRY_VERIFY(smtp.hasMessage(1));
    QTRY_VERIFY(!smtp.received(1, QStringLiteral("Distinta_20240305.pdf")).isEmpty());
    QCOMPARE(QString::fromUtf8(smtp.received(1, QStringLiteral("subject"))), Message(pdf_).subject);
    // Text travels in its canonical form, lines ended by CR LF.
    QCOMPARE(QString::fromUtf8(smtp.received(1, QStringLiteral("text"))).trimmed(),
             Message(pdf_).text.replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
    QCOMPARE(smtp.received(1, QStringLiteral("Distinta_20240305.pdf")), pdfBytes_);
    const QByteArray eml = smtp.received(1, QStringLiteral("eml"));
    QVERIFY(eml.contains("Reply-To: \"Ufficio tecnico\" <risposte@example.com>"));
    QVERIFY(eml.contains("Disposition-Notification-To: <ufficio@example.com>"));
    QVERIFY(eml.contains("To: <cliente@example.com>"));
}

void TestMailSender::failures_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("message");
    QTest::newRow("wrong password") << "password" << "Login o password non valida per spedizione email";
    QTest::newRow("server not listening") << "port" << "Server di posta non raggiungibile: 127.0.0.1:";
    QTest::newRow("recipient refused") << "recipient" << "Destinatario rifiutato dal server di posta: rifiutato@example.com";
    QTest::newRow("attachment unreadable") << "attachment" << "Il file da allegare all'email non è leggibile";
    QTest::newRow("certificate not trusted") << "certificate" << "Connessione sicura con il server di posta 127.0.0.1:";
}

void TestMailSender::failures()
{
    QFETCH(QString, what);
    QFETCH(QString, message);
    SmtpTestServer smtp;
    QString error;
    QVERIFY2(smtp.start(false, &error, QStringLiteral("rifiutato@example.com")), qPrintable(error));
    MailServer s;
    s.host = QStringLiteral("127.0.0.1");
    s.port = smtp.port();
    s.login = QString::fromLatin1(SmtpTestServer::kUser);
    s.password = QString::fromLatin1(SmtpTestServer::kPassword);
    s.caFile = smtp.cert();
    s.timeoutSeconds = 20;
    MailMessage m = Message(pdf_);
    if (what == QLatin1String("password")) {
        s.password = QStringLiteral("sbagliata");
    } else if (what == QLatin1String("port")) {
        QTcpServer closed;  // a port nobody listens on once it is closed
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        s.port = closed.serverPort();
        closed.close();
    } else if (what == QLatin1String("recipient")) {
        m.to = QStringLiteral("rifiutato@example.com");
    } else if (what == QLatin1String("attachment")) {
        m.attachment = dir_.filePath(QStringLiteral("manca.pdf"));
    } else if (what == QLatin1String("certificate")) {
        s.caFile = pdf_;  // not the server's
    }
    error.clear();
    QVERIFY(!MailSender::Send(s, m, &error));
    QVERIFY2(error.startsWith(message), qPrintable(error));
    QVERIFY(!smtp.hasMessage(1));
    QVERIFY(QFile::exists(pdf_));  // the PDF stays where it was
}

void TestMailSender::serverUrl_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("ssl");
    QTest::newRow("smtp with port") << "smtp://127.0.0.1:2525" << true << "127.0.0.1" << 2525 << false;
    QTest::newRow("smtp default port") << "smtp://posta.example.com" << true << "posta.example.com" << 25 << false;
    QTest::newRow("smtps default port") << "smtps://posta.example.com" << true << "posta.example.com" << 465 << true;
    QTest::newRow("other scheme") << "http://posta.example.com" << false << "" << 0 << false;
    QTest::newRow("no host") << "smtp://" << false << "" << 0 << false;
}

void TestMailSender::serverUrl()
{
    QFETCH(QString, url);
    QFETCH(bool, ok);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(bool, ssl);
    QString error;
    const auto s = MailServer::FromUrl(url, &error);
    QCOMPARE(s.has_value(), ok);
    if (!s) {
        QVERIFY(error.contains(QStringLiteral("Indirizzo del server di posta non valido")));
        return;
    }
    QCOMPARE(s->host, host);
    QCOMPARE(s->port, port);
    QCOMPARE(s->sslOnConnect, ssl);
}

void TestMailSender::composedMessage()
{
    MailMessage m = Message(pdf_);
    m.from = QStringLiteral("\"Ufficio tecnico Città\" <ufficio@example.com>");
    // A blank ending a line, "=", and a line longer than any mail line may be.
    m.text = QStringLiteral("Buongiorno,\nuna riga con uno spazio alla fine \n") + QStringLiteral("àèìòù = ").repeated(15)
        + QStringLiteral("\nCordiali saluti");
    QByteArray eml;
    QString error;
    QVERIFY2(m.Compose(&eml, &error), qPrintable(error));
    // Headers in plain ASCII, lines ended by CR LF and short enough for any server.
    for (const QByteArray &line : eml.split('\n')) {
        QVERIFY2(line.endsWith('\r') || line.isEmpty(), line.constData());
        QVERIFY2(line.size() <= 78, line.constData());
        for (const char c : line)
            QVERIFY(uchar(c) < 128);
    }
    const QString file = dir_.filePath(QStringLiteral("composto.eml"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(eml);
    f.close();
    QVERIFY2(Parse(file, dir_.filePath(QStringLiteral("composto")), &error), qPrintable(error));
    QCOMPARE(QString::fromUtf8(FileBytes(dir_.filePath(QStringLiteral("composto.subject")))), m.subject);
    QCOMPARE(QString::fromUtf8(FileBytes(dir_.filePath(QStringLiteral("composto.text")))).trimmed(),
             QString(m.text).replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
    QCOMPARE(FileBytes(dir_.filePath(QStringLiteral("composto.Distinta_20240305.pdf"))), pdfBytes_);
    QVERIFY(eml.contains("From: =?UTF-8?B?"));
    // No file to attach: nothing composed.
    m.attachment = dir_.filePath(QStringLiteral("manca.pdf"));
    QVERIFY(!m.Compose(&eml, &error));
    QVERIFY2(error.startsWith(QStringLiteral("Il file da allegare all'email non è leggibile")), qPrintable(error));
}

void TestMailSender::sendmailDelivers()
{
    QTemporaryDir bin;
    const QString out = bin.filePath(QStringLiteral("ricevuto"));
    const QString sendmail = WriteScript(bin, QStringLiteral("sendmail"),
                                    "echo \"$@\" > \"" + out.toUtf8() + ".args\"\ncat > \"" + out.toUtf8() + ".eml\"\n");
    QString error;
    {
        // Found on PATH as the system's would be.
        const kemtest::PathFirst first(bin.path());
        QCOMPARE(MailSender::SendmailProgram(), sendmail);
        QVERIFY2(MailSender::SendWithSendmail(Message(pdf_), &error), qPrintable(error));
    }
    QCOMPARE(FileBytes(out + QStringLiteral(".args")).trimmed(), QByteArray("-t -i"));
    const QByteArray eml = FileBytes(out + QStringLiteral(".eml"));
    QVERIFY(eml.contains("To: <cliente@example.com>\n"));
    QVERIFY(!eml.contains('\r'));  // local programs take lines ended by LF
    QVERIFY2(Parse(out + QStringLiteral(".eml"), out, &error), qPrintable(error));
    QCOMPARE(QString::fromUtf8(FileBytes(out + QStringLiteral(".subject"))), Message(pdf_).subject);
    QCOMPARE(QString::fromUtf8(FileBytes(out + QStringLiteral(".text"))).trimmed(), Message(pdf_).text);
    QCOMPARE(FileBytes(out + QStringLiteral(".Distinta_20240305.pdf")), pdfBytes_);
}

void TestMailSender::mailProgramGetsTheMessage()
{
    QTemporaryDir bin;
    const QString out = bin.filePath(QStringLiteral("argomenti"));
    const QString program = WriteScript(bin, QStringLiteral("xdg-email"),
                                   "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"" + out.toUtf8() + "\"; done\n");
    QString error;
    QVERIFY2(MailSender::OpenInMailProgram(Message(pdf_), &error, program), qPrintable(error));
    const QStringList args = QString::fromUtf8(FileBytes(out)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QStringList expected = (QStringList{"--utf8", "--subject", Message(pdf_).subject, "--body"}
                                  << Message(pdf_).text.split(QLatin1Char('\n'))
                                  << QStringList{"--attach", pdf_, "cliente@example.com"});
    QCOMPARE(args, expected);
}

void TestMailSender::localProgramFailures_data()
{
    QTest::addColumn<QString>("way");     // "sendmail" or "xdg-email"
    QTest::addColumn<QByteArray>("body"); // the stand-in's script; empty: no such program
    QTest::addColumn<QString>("message");
    QTest::newRow("sendmail refuses") << "sendmail" << QByteArray("cat > /dev/null\necho 'coda piena' >&2\nexit 75\n")
                                      << "Invio con %1 non riuscito (codice 75): coda piena";
    QTest::newRow("sendmail missing") << "sendmail" << QByteArray() << "Impossibile avviare %1";
    QTest::newRow("no mail program configured") << "xdg-email" << QByteArray("exit 3\n")
                                                << "Email non passata al programma di posta (nessun programma di posta configurato sul desktop, codice 3)%1";
    QTest::newRow("xdg-email missing") << "xdg-email" << QByteArray() << "Impossibile avviare %1";
}

void TestMailSender::localProgramFailures()
{
    QFETCH(QString, way);
    QFETCH(QByteArray, body);
    QFETCH(QString, message);
    QTemporaryDir bin;
    const QString program = body.isEmpty() ? bin.filePath(QStringLiteral("manca")) : WriteScript(bin, way, body);
    QString error;
    kem::MailFailure failure = kem::MailFailure::None;
    const bool ok = way == QLatin1String("sendmail") ? MailSender::SendWithSendmail(Message(pdf_), &error, program, &failure)
                                                     : MailSender::OpenInMailProgram(Message(pdf_), &error, program, &failure);
    QVERIFY(!ok);
    QVERIFY2(error.startsWith(message.arg(message.endsWith(QLatin1String("%1")) ? QString() : program)), qPrintable(error));
    QCOMPARE(failure, kem::MailFailure::Program);
    QVERIFY(QFile::exists(pdf_));
}

QTEST_GUILESS_MAIN(TestMailSender)
#include "tst_mailsender.moc"
