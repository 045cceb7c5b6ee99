// A report sent by e-mail through a real SMTP server started here on the loopback address:
// STARTTLS with a login and SSL from the connection on deliver the subject, the text and the
// PDF attached, readable; a wrong password, an unreachable server, a refused recipient and an
// attachment that cannot be read each give their message.
#include "platform/printlib/mailsender.h"
#include "tests/support/smtptestserver.h"

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
    QCOMPARE(QString::fromUtf8(smtp.received(1, QStringLiteral("text"))).trimmed(), Message(pdf_).text);
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

QTEST_GUILESS_MAIN(TestMailSender)
#include "tst_mailsender.moc"
