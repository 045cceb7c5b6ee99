#include "platform/printlib/mailsender.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QUrl>

#include <curl/curl.h>

#include <cstring>
#include <memory>

namespace kem {

namespace {

struct CurlDeleter {
    void operator()(CURL *c) const { curl_easy_cleanup(c); }
};
struct ListDeleter {
    void operator()(curl_slist *l) const { curl_slist_free_all(l); }
};

// Adds a line to a list, keeping the list owned.
void Append(std::unique_ptr<curl_slist, ListDeleter> &list, const QString &line)
{
    curl_slist *grown = curl_slist_append(list.get(), line.toUtf8().constData());
    if (grown) {
        (void)list.release();
        list.reset(grown);
    }
}

bool IsPlain(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() > 126 || c.unicode() < 32)
            return false;
    return true;
}

// A header text as headers carry it: as it is when plain, else in UTF-8 encoded words short
// enough for a header line, folded between them.
QByteArray Encoded(const QString &text)
{
    if (IsPlain(text))
        return text.toLatin1();
    QByteArray out;
    QString chunk;
    const auto flush = [&] {
        if (chunk.isEmpty())
            return;
        if (!out.isEmpty())
            out += "\r\n ";
        out += "=?UTF-8?B?" + chunk.toUtf8().toBase64() + "?=";
        chunk.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString next = text.at(i);
        if (text.at(i).isHighSurrogate() && i + 1 < text.size())
            next += text.at(++i);
        if ((chunk + next).toUtf8().size() > 45)
            flush();
        chunk += next;
    }
    flush();
    return out;
}

QString Angle(const QString &address)
{
    return QStringLiteral("<") + address.trimmed() + QStringLiteral(">");
}

// "\"Name\" <address>" with the name encoded when it is not plain.
QByteArray AddressHeader(const QString &header)
{
    const QString h = header.trimmed();
    if (IsPlain(h))
        return h.toLatin1();
    const qsizetype open = h.lastIndexOf(QLatin1Char('<'));
    if (open < 0)
        return Encoded(h);
    QString name = h.left(open).trimmed();
    if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
        name = name.mid(1, name.size() - 2);
    return Encoded(name) + ' ' + h.mid(open).toLatin1();
}

// Base64 in lines of 76 characters.
QByteArray Base64Lines(const QByteArray &data, const QByteArray &eol)
{
    const QByteArray b64 = data.toBase64();
    QByteArray out;
    out.reserve(b64.size() + b64.size() / 76 * eol.size() + eol.size());
    for (qsizetype i = 0; i < b64.size(); i += 76)
        out += b64.mid(i, 76) + eol;
    return out;
}

// Quoted-printable text: its line breaks stay line breaks, every other byte outside printable
// ASCII (and "=", and blanks ending a line) as "=XX", lines cut at 76 characters with "=".
QByteArray QuotedPrintable(const QString &text, const QByteArray &eol)
{
    QByteArray out;
    const QList<QByteArray> lines = text.toUtf8().split('\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QByteArray line = lines[n];
        if (line.endsWith('\r'))
            line.chop(1);
        QByteArray encoded;
        qsizetype width = 0;
        for (qsizetype i = 0; i < line.size(); ++i) {
            const uchar c = uchar(line[i]);
            const bool last = i + 1 == line.size();
            QByteArray piece;
            if ((c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !last))
                piece = QByteArray(1, char(c));
            else
                piece = '=' + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
            if (width + piece.size() > 75) {
                encoded += '=' + eol;
                width = 0;
            }
            encoded += piece;
            width += piece.size();
        }
        out += encoded;
        if (n + 1 < lines.size())
            out += eol;
    }
    return out + eol;
}

// A file name for the Content-Type and Content-Disposition parameters.
QByteArray FileNameParam(const char *param, const QString &name)
{
    if (IsPlain(name) && !name.contains(QLatin1Char('"')))
        return QByteArray(param) + "=\"" + name.toLatin1() + '"';
    return QByteArray(param) + "*=UTF-8''" + QUrl::toPercentEncoding(name);
}

void CurlOnce()
{
    static const bool done = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)done;
}

struct Upload {
    const QByteArray *data;
    qsizetype pos = 0;
};

size_t ReadUpload(char *buffer, size_t size, size_t count, void *user)
{
    auto *up = static_cast<Upload *>(user);
    const size_t room = size * count;
    const size_t left = size_t(up->data->size() - up->pos);
    const size_t n = room < left ? room : left;
    std::memcpy(buffer, up->data->constData() + up->pos, n);
    up->pos += qsizetype(n);
    return n;
}

bool Fail(QString *error, MailFailure *failure, MailFailure kind, const QString &text)
{
    if (error)
        *error = text;
    if (failure)
        *failure = kind;
    return false;
}

// The checks every way out makes before sending.
bool CheckMessage(const MailMessage &m, QString *error, MailFailure *failure)
{
    if (m.to.trimmed().isEmpty())
        return Fail(error, failure, MailFailure::Data, QStringLiteral("Manca il destinatario dell'email"));
    if (!m.attachment.isEmpty() && !QFileInfo(m.attachment).isReadable())
        return Fail(error, failure, MailFailure::Data,
                    QStringLiteral("Il file da allegare all'email non è leggibile: %1").arg(m.attachment));
    return true;
}

} // namespace

std::optional<MailServer> MailServer::FromUrl(const QString &url, QString *error)
{
    const QUrl u(url.trimmed());
    const QString scheme = u.scheme().toLower();
    if (!u.isValid() || (scheme != QLatin1String("smtp") && scheme != QLatin1String("smtps")) || u.host().isEmpty()) {
        if (error)
            *error = QStringLiteral("Indirizzo del server di posta non valido: \"%1\" (smtp://server:porta o smtps://server:porta)").arg(url);
        return std::nullopt;
    }
    MailServer s;
    s.host = u.host();
    s.sslOnConnect = scheme == QLatin1String("smtps");
    s.port = u.port(s.sslOnConnect ? 465 : 25);
    return s;
}

QString MailServer::Url() const
{
    return (sslOnConnect ? QStringLiteral("smtps://") : QStringLiteral("smtp://")) + host + QStringLiteral(":")
        + QString::number(port);
}

bool MailMessage::Compose(QByteArray *out, QString *error, bool crlf) const
{
    const QByteArray eol = crlf ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
    QByteArray pdf;
    if (!attachment.isEmpty()) {
        QFile f(attachment);
        if (!f.open(QIODevice::ReadOnly)) {
            if (error)
                *error = QStringLiteral("Il file da allegare all'email non è leggibile: %1").arg(attachment);
            return false;
        }
        pdf = f.readAll();
    }
    const QByteArray boundary = "=_kem_" + QByteArray::number(QRandomGenerator::global()->generate64(), 36)
        + QByteArray::number(QDateTime::currentMSecsSinceEpoch(), 36);
    const QString domain = fromAddress.section(QLatin1Char('@'), 1).trimmed();
    QByteArray m;
    const auto header = [&](const char *name, const QByteArray &value) {
        QByteArray v = value;
        if (!crlf)
            v.replace("\r\n", "\n");
        m += QByteArray(name) + ": " + v + eol;
    };
    header("Date", QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1());
    header("From", from.trimmed().isEmpty() ? Angle(fromAddress).toLatin1() : AddressHeader(from));
    header("To", Angle(to).toLatin1());
    header("Subject", Encoded(subject));
    if (!replyTo.trimmed().isEmpty())
        header("Reply-To", AddressHeader(replyTo));
    if (readReceipt)
        header("Disposition-Notification-To", Angle(fromAddress).toLatin1());
    header("Message-ID", "<" + boundary.mid(6) + "@" + (domain.isEmpty() ? QByteArray("localhost") : QUrl::toAce(domain)) + ">");
    header("MIME-Version", "1.0");
    header("Content-Type", "multipart/mixed; boundary=\"" + boundary + "\"");
    m += eol;
    m += "--" + boundary + eol;
    m += "Content-Type: text/plain; charset=UTF-8" + eol;
    m += "Content-Transfer-Encoding: quoted-printable" + eol + eol;
    m += QuotedPrintable(text, eol);
    if (!attachment.isEmpty()) {
        const QString name = QFileInfo(attachment).fileName();
        m += "--" + boundary + eol;
        m += "Content-Type: application/pdf; " + FileNameParam("name", name) + eol;
        m += "Content-Disposition: attachment; " + FileNameParam("filename", name) + eol;
        m += "Content-Transfer-Encoding: base64" + eol + eol;
        m += Base64Lines(pdf, eol);
    }
    m += "--" + boundary + "--" + eol;
    *out = m;
    return true;
}

bool MailSender::Send(const MailServer &server, const MailMessage &m, QString *error, MailFailure *failure)
{
    if (failure)
        *failure = MailFailure::None;
    if (server.host.trimmed().isEmpty())
        return Fail(error, failure, MailFailure::Data, QStringLiteral("Manca il server di posta per l'invio dell'email"));
    if (!CheckMessage(m, error, failure))
        return false;
    if (m.fromAddress.trimmed().isEmpty())
        return Fail(error, failure, MailFailure::Data, QStringLiteral("Manca l'indirizzo di chi invia l'email"));
    QByteArray message;
    QString composeError;
    if (!m.Compose(&message, &composeError))
        return Fail(error, failure, MailFailure::Data, composeError);

    CurlOnce();
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl)
        return Fail(error, failure, MailFailure::Other,
                    QStringLiteral("Invio dell'email non riuscito: libreria di posta non disponibile"));
    CURL *c = curl.get();
    char errorBuffer[CURL_ERROR_SIZE] = {};
    const QByteArray url = server.Url().toUtf8();
    const QByteArray login = server.login.toUtf8(), password = server.password.toUtf8();
    const QByteArray from = Angle(m.fromAddress).toUtf8();
    const QByteArray ca = server.caFile.toUtf8();
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    if (!server.sslOnConnect)
        curl_easy_setopt(c, CURLOPT_USE_SSL, long(CURLUSESSL_TRY));
    if (!server.login.isEmpty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, login.constData());
        curl_easy_setopt(c, CURLOPT_PASSWORD, password.constData());
    }
    if (!server.caFile.isEmpty())
        curl_easy_setopt(c, CURLOPT_CAINFO, ca.constData());
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 15L);
    curl_easy_setopt(c, CURLOPT_TIMEOUT, long(server.timeoutSeconds));
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.constData());
    std::unique_ptr<curl_slist, ListDeleter> recipients;
    Append(recipients, Angle(m.to));
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients.get());
    Upload upload{&message};
    curl_easy_setopt(c, CURLOPT_READFUNCTION, ReadUpload);
    curl_easy_setopt(c, CURLOPT_READDATA, &upload);
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);

    const CURLcode rc = curl_easy_perform(c);
    if (rc == CURLE_OK)
        return true;
    const QString detail = QString::fromUtf8(errorBuffer[0] ? errorBuffer : curl_easy_strerror(rc));
    const QString where = server.host + QStringLiteral(":") + QString::number(server.port);
    switch (rc) {
    case CURLE_LOGIN_DENIED:
        return Fail(error, failure, MailFailure::Login, QStringLiteral("Login o password non valida per spedizione email"));
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
        return Fail(error, failure, MailFailure::Unreachable,
                    QStringLiteral("Server di posta non raggiungibile: %1 (%2)").arg(where, detail));
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_USE_SSL_FAILED:
        return Fail(error, failure, MailFailure::Secure,
                    QStringLiteral("Connessione sicura con il server di posta %1 non riuscita: %2").arg(where, detail));
    default:
        break;
    }
    if (detail.contains(QLatin1String("RCPT"), Qt::CaseInsensitive))
        return Fail(error, failure, MailFailure::Recipient,
                    QStringLiteral("Destinatario rifiutato dal server di posta: %1 (%2)").arg(m.to, detail));
    return Fail(error, failure, MailFailure::Other, QStringLiteral("Invio dell'email non riuscito: %1").arg(detail));
}

QString MailSender::SendmailProgram()
{
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("sendmail"));
    if (!onPath.isEmpty())
        return onPath;
    return QStandardPaths::findExecutable(QStringLiteral("sendmail"),
                                          {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/lib")});
}

bool MailSender::SendWithSendmail(const MailMessage &m, QString *error, const QString &program, MailFailure *failure)
{
    if (failure)
        *failure = MailFailure::None;
    if (!CheckMessage(m, error, failure))
        return false;
    const QString sendmail = program.isEmpty() ? SendmailProgram() : program;
    if (sendmail.isEmpty())
        return Fail(error, failure, MailFailure::Program,
                    QStringLiteral("Programma sendmail non trovato: installare un server di posta locale "
                                   "o scegliere un altro tipo invio"));
    QByteArray message;
    QString composeError;
    if (!m.Compose(&message, &composeError, false))
        return Fail(error, failure, MailFailure::Data, composeError);
    QProcess p;
    p.start(sendmail, {QStringLiteral("-t"), QStringLiteral("-i")});
    if (!p.waitForStarted(10000))
        return Fail(error, failure, MailFailure::Program,
                    QStringLiteral("Impossibile avviare %1: %2").arg(sendmail, p.errorString()));
    p.write(message);
    p.closeWriteChannel();
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished(5000);
        return Fail(error, failure, MailFailure::Program,
                    QStringLiteral("%1 non ha terminato l'invio entro due minuti: email non inviata").arg(sendmail));
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        const QString why = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        return Fail(error, failure, MailFailure::Program,
                    QStringLiteral("Invio con %1 non riuscito (codice %2)%3")
                        .arg(sendmail)
                        .arg(p.exitCode())
                        .arg(why.isEmpty() ? QString() : QStringLiteral(": ") + why));
    }
    return true;
}

QStringList MailSender::MailProgramArguments(const MailMessage &m)
{
    QStringList args{QStringLiteral("--utf8"), QStringLiteral("--subject"), m.subject, QStringLiteral("--body"), m.text};
    if (!m.attachment.isEmpty())
        args << QStringLiteral("--attach") << QFileInfo(m.attachment).absoluteFilePath();
    args << m.to.trimmed();
    return args;
}

bool MailSender::OpenInMailProgram(const MailMessage &m, QString *error, const QString &program, MailFailure *failure)
{
    if (failure)
        *failure = MailFailure::None;
    if (!CheckMessage(m, error, failure))
        return false;
    const QString xdgEmail = program.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("xdg-email")) : program;
    if (xdgEmail.isEmpty())
        return Fail(error, failure, MailFailure::Program,
                    QStringLiteral("Programma xdg-email non trovato (pacchetto xdg-utils): "
                                   "impossibile aprire il programma di posta"));
    // The mail program may stay open with the message until the user sends it: a process
    // still running after a while has done its part and is left running.
    auto *p = new QProcess(QCoreApplication::instance());
    std::unique_ptr<QProcess> owned(p);
    p->start(xdgEmail, MailProgramArguments(m));
    if (!p->waitForStarted(10000))
        return Fail(error, failure, MailFailure::Program,
                    QStringLiteral("Impossibile avviare %1: %2").arg(xdgEmail, p->errorString()));
    if (!p->waitForFinished(30000)) {
        QObject::connect(p, &QProcess::finished, p, &QObject::deleteLater);
        (void)owned.release();
        return true;
    }
    if (p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0)
        return true;
    QString why;
    switch (p->exitCode()) {
    case 1: why = QStringLiteral("indirizzo o parametri non accettati"); break;
    case 2: why = QStringLiteral("il file da allegare non esiste"); break;
    case 3: why = QStringLiteral("nessun programma di posta configurato sul desktop"); break;
    default: why = QStringLiteral("il programma di posta non si è aperto"); break;
    }
    const QString detail = QString::fromLocal8Bit(p->readAllStandardError()).trimmed();
    return Fail(error, failure, MailFailure::Program,
                QStringLiteral("Email non passata al programma di posta (%1, codice %2)%3")
                    .arg(why)
                    .arg(p->exitCode())
                    .arg(detail.isEmpty() ? QString() : QStringLiteral(": ") + detail));
}

} // namespace kem
