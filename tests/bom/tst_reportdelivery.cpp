// The delivery options of the report subcommands on the demo company, whose e-mail settings
// name a server on this machine: --pdf-auto names the PDF from the company's template, --email
// sends it through a real SMTP server started here (STARTTLS and a login) and it arrives with
// its subject, text and the PDF; a refused login and missing data end with their messages and
// keep the PDF; the options are checked first.
#include "platform/util/kemutil.h"
#include "schema/democompany.h"
#include "tests/support/batchrun.h"
#include "tests/support/smtptestserver.h"

#include <QDate>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using kemtest::RunBatch;
using kemtest::SmtpTestServer;

class TestReportDelivery : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void pdfNamedAndSent_data();
    void pdfNamedAndSent();
    void sendFails_data();
    void sendFails();
    void badOptions_data();
    void badOptions();

private:
    QTemporaryDir dir_;
    QString demo_;
};

void TestReportDelivery::initTestCase()
{
    QVERIFY(dir_.isValid());
    demo_ = dir_.filePath(QStringLiteral("demo"));
    QString error;
    QVERIFY2(kem::WriteDemoCompany(demo_, &error), qPrintable(error));
}

void TestReportDelivery::pdfNamedAndSent_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<QString>("title");
    QTest::newRow("BOM print") << QStringList{"bom", "--articolo-da", "SED-FAG01", "--articolo-a", "SED-FAG01"}
                               << "Stampa distinta base";
    QTest::newRow("implosion") << QStringList{"implosion", "--articolo-da", "COL-VIN", "--articolo-a", "COL-VIN"}
                               << "Stampa implosione distinta base";
}

void TestReportDelivery::pdfNamedAndSent()
{
    QFETCH(QStringList, command);
    QFETCH(QString, title);
    SmtpTestServer smtp;
    QString error;
    QVERIFY2(smtp.start(false, &error), qPrintable(error));
    const QString folder = dir_.filePath(QStringLiteral("uscita-") + command.first());
    QVERIFY(QDir().mkpath(folder));
    const kemtest::BatchResult r = RunBatch(
        command + QStringList{"--company", demo_, "--out", folder + "/x.pdf", "--pdf-auto", "--email", "cliente@example.com",
                              "--smtp", QStringLiteral("smtp://127.0.0.1:%1").arg(smtp.port()), "--smtp-ca", smtp.cert()});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    // "§Titolo§_§DataRov§": the form's caption in the menu and today's date.
    const QString name = title + QStringLiteral("_") + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".pdf");
    const QString pdf = QDir(folder).filePath(name);
    QVERIFY2(QFile::exists(pdf), qPrintable(QDir(folder).entryList().join(' ')));
    QVERIFY(!QFile::exists(folder + "/x.pdf"));
    QVERIFY2(r.err.contains(QStringLiteral("Email inviata a cliente@example.com")), qPrintable(r.err));
    QTRY_VERIFY(!smtp.received(1, name).isEmpty());
    QCOMPARE(smtp.received(1, name), kemtest::FileBytes(pdf));
    QCOMPARE(QString::fromUtf8(smtp.received(1, QStringLiteral("subject"))),
             QStringLiteral("Invio stampa - ") + title + QStringLiteral(" del ") + QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    QVERIFY(QString::fromUtf8(smtp.received(1, QStringLiteral("text"))).contains(QStringLiteral("Arredamenti Bellini S.r.l.")));
}

void TestReportDelivery::sendFails_data()
{
    QTest::addColumn<QString>("password");  // the company's
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("refused login") << "sbagliata" << QStringList{"Login o password non valida per spedizione email"};
    QTest::newRow("no password") << ""
                                 << QStringList{"Mancano dati necessari per l'invio dell'email", " - Login: ufficio",
                                                " - pwd compilata: No", " - SMTP: 127.0.0.1",
                                                " - Emailto: cliente@example.com", " - Ind.Temp: altro@example.com"};
}

void TestReportDelivery::sendFails()
{
    QFETCH(QString, password);
    QFETCH(QStringList, lines);
    const QString company = dir_.filePath(QStringLiteral("demo-") + QString::number(password.size()));
    QString error;
    QVERIFY2(kem::WriteDemoCompany(company, &error), qPrintable(error));
    QVERIFY2(kem::IniWrite(company + QStringLiteral("/kemwin.ini"), QStringLiteral("PdfEmail"), QStringLiteral("EmailPwd"), password, &error),
             qPrintable(error));
    SmtpTestServer smtp;
    QVERIFY2(smtp.start(false, &error), qPrintable(error));
    const QString pdf = dir_.filePath(QStringLiteral("non-inviato.pdf"));
    QFile::remove(pdf);
    const kemtest::BatchResult r = RunBatch({"bom", "--company", company, "--out", pdf, "--articolo-da", "SED-FAG01",
                                             "--articolo-a", "SED-FAG01", "--email", "altro@example.com", "--smtp",
                                             QStringLiteral("smtp://127.0.0.1:%1").arg(smtp.port()), "--smtp-ca", smtp.cert()});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(lines.join(QStringLiteral("\r\n"))), qPrintable(r.err));
    QVERIFY(r.err.contains(QStringLiteral("Email non inviata; il PDF resta in ") + pdf));
    QVERIFY(kemtest::FileBytes(pdf).startsWith("%PDF"));
    QVERIFY(!smtp.hasMessage(1));
}

void TestReportDelivery::badOptions_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("email of a CSV") << QStringList{"--out", "x.csv", "--email", "a@example.com"}
                                    << "--pdf-auto e --email vogliono un --out che finisce in .pdf";
    QTest::newRow("automatic name of a workbook") << QStringList{"--out", "x.xlsx", "--pdf-auto"}
                                                  << "--pdf-auto e --email vogliono un --out che finisce in .pdf";
    QTest::newRow("server without email") << QStringList{"--out", "x.pdf", "--smtp", "smtp://127.0.0.1:25"}
                                          << "--smtp e --smtp-ca servono solo con --email";
    QTest::newRow("server not smtp") << QStringList{"--out", "x.pdf", "--email", "a@example.com", "--smtp", "http://x"}
                                     << "Indirizzo del server di posta non valido";
}

void TestReportDelivery::badOptions()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const kemtest::BatchResult r = RunBatch(QStringList{"bom", "--company", demo_} + args);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
}

QTEST_GUILESS_MAIN(TestReportDelivery)
#include "tst_reportdelivery.moc"
