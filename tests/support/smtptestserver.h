#pragma once
// The test mail server (tests/support/smtpserver.py, aiosmtpd) as a child process on the
// loopback address, with a certificate made for it: STARTTLS and a login, or SSL from the
// connection on. The messages it receives land in its folder, decoded.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QtTest>

namespace kemtest {

class SmtpTestServer {
public:
    static constexpr const char *kUser = "ufficio";
    static constexpr const char *kPassword = "segreta";

    // Starts the server; false with *error when it cannot (no python3-aiosmtpd, no openssl).
    bool start(bool ssl, QString *error, const QString &refuse = {}, const QString &password = QString::fromLatin1(kPassword))
    {
        if (!dir_.isValid())
            return fail(error, QStringLiteral("cartella temporanea"));
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
                       QStringLiteral("-nodes"), QStringLiteral("-keyout"), key(), QStringLiteral("-out"), cert(),
                       QStringLiteral("-days"), QStringLiteral("1"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                       QStringLiteral("-addext"), QStringLiteral("subjectAltName=IP:127.0.0.1")});
        if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0)
            return fail(error, QStringLiteral("openssl: ") + QString::fromUtf8(openssl.readAllStandardError()));
        QStringList args{QStringLiteral(KEM_SOURCE_DIR "/tests/support/smtpserver.py"), QStringLiteral("--dir"), dir_.path(),
                         QStringLiteral("--cert"), cert(), QStringLiteral("--key"), key(), QStringLiteral("--user"),
                         QString::fromLatin1(kUser), QStringLiteral("--password"), password};
        if (ssl)
            args << QStringLiteral("--ssl");
        if (!refuse.isEmpty())
            args << QStringLiteral("--refuse") << refuse;
        server_.start(QStringLiteral("/usr/bin/python3"), args);
        if (!server_.waitForStarted(10000))
            return fail(error, QStringLiteral("python3 non avviato"));
        QByteArray line;
        QElapsedTimer t;
        t.start();
        while (!line.contains('\n') && t.elapsed() < 20000 && server_.state() == QProcess::Running) {
            server_.waitForReadyRead(500);
            line += server_.readAllStandardOutput();
        }
        if (!line.startsWith("PORT "))
            return fail(error, QString::fromUtf8(line + server_.readAllStandardError()));
        port_ = line.mid(5).trimmed().toInt();
        return port_ > 0;
    }
    ~SmtpTestServer()
    {
        if (server_.state() == QProcess::Running) {
            server_.closeWriteChannel();
            if (!server_.waitForFinished(5000))
                server_.kill();
            server_.waitForFinished(2000);
        }
    }

    int port() const { return port_; }
    QString cert() const { return dir_.filePath(QStringLiteral("cert.pem")); }
    // What the n-th message (from 1) left: "subject", "text", "eml" or an attachment's name.
    QByteArray received(int n, const QString &what) const
    {
        QFile f(dir_.filePath(QStringLiteral("%1.%2").arg(n, 3, 10, QLatin1Char('0')).arg(what)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool hasMessage(int n) const
    {
        return QFile::exists(dir_.filePath(QStringLiteral("%1.eml").arg(n, 3, 10, QLatin1Char('0'))));
    }

private:
    QString key() const { return dir_.filePath(QStringLiteral("key.pem")); }
    static bool fail(QString *error, const QString &text)
    {
        if (error)
            *error = text;
        return false;
    }

    QTemporaryDir dir_;
    QProcess server_;
    int port_ = 0;
};

} // namespace kemtest
