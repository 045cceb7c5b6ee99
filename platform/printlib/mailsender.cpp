#include "platform/printlib/mailsender.h"

#include <QDateTime>
#include <QFileInfo>
#include <QUrl>

#include <curl/curl.h>

#include <memory>

namespace kem {

namespace {

struct CurlDeleter {
    void operator()(CURL *c) const { curl_easy_cleanup(c); }
};
struct ListDeleter {
    void operator()(curl_slist *l) const { curl_slist_free_all(l); }
};
struct MimeDeleter {
    void operator()(curl_mime *m) const { curl_mime_free(m); }
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

// A header value in UTF-8 as headers carry it.
QString Encoded(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() > 126 || c.unicode() < 32)
            return QStringLiteral("=?UTF-8?B?") + QString::fromLatin1(text.toUtf8().toBase64()) + QStringLiteral("?=");
    return text;
}

QString Angle(const QString &address)
{
    return QStringLiteral("<") + address.trimmed() + QStringLiteral(">");
}

void CurlOnce()
{
    static const bool done = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)done;
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

bool MailSender::Send(const MailServer &server, const MailMessage &m, QString *error)
{
    auto fail = [&](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (server.host.trimmed().isEmpty())
        return fail(QStringLiteral("Manca il server di posta per l'invio dell'email"));
    if (m.to.trimmed().isEmpty())
        return fail(QStringLiteral("Manca il destinatario dell'email"));
    if (m.fromAddress.trimmed().isEmpty())
        return fail(QStringLiteral("Manca l'indirizzo di chi invia l'email"));
    if (!m.attachment.isEmpty() && !QFileInfo(m.attachment).isReadable())
        return fail(QStringLiteral("Il file da allegare all'email non è leggibile: %1").arg(m.attachment));

    CurlOnce();
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl)
        return fail(QStringLiteral("Invio dell'email non riuscito: libreria di posta non disponibile"));
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

    std::unique_ptr<curl_slist, ListDeleter> headers;
    Append(headers, QStringLiteral("Date: ") + QDateTime::currentDateTime().toString(Qt::RFC2822Date));
    Append(headers, QStringLiteral("From: ") + (m.from.trimmed().isEmpty() ? Angle(m.fromAddress) : m.from.trimmed()));
    Append(headers, QStringLiteral("To: ") + Angle(m.to));
    Append(headers, QStringLiteral("Subject: ") + Encoded(m.subject));
    if (!m.replyTo.trimmed().isEmpty())
        Append(headers, QStringLiteral("Reply-To: ") + m.replyTo.trimmed());
    if (m.readReceipt)
        Append(headers, QStringLiteral("Disposition-Notification-To: ") + Angle(m.fromAddress));
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());

    std::unique_ptr<curl_mime, MimeDeleter> mime(curl_mime_init(c));
    const QByteArray text = m.text.toUtf8();
    curl_mimepart *body = curl_mime_addpart(mime.get());
    curl_mime_data(body, text.constData(), size_t(text.size()));
    curl_mime_type(body, "text/plain; charset=UTF-8");
    curl_mime_encoder(body, "quoted-printable");
    const QByteArray file = m.attachment.toLocal8Bit();
    const QByteArray fileName = QFileInfo(m.attachment).fileName().toUtf8();
    if (!m.attachment.isEmpty()) {
        curl_mimepart *part = curl_mime_addpart(mime.get());
        curl_mime_filedata(part, file.constData());
        curl_mime_filename(part, fileName.constData());
        curl_mime_type(part, "application/pdf");
        curl_mime_encoder(part, "base64");
    }
    curl_easy_setopt(c, CURLOPT_MIMEPOST, mime.get());

    const CURLcode rc = curl_easy_perform(c);
    if (rc == CURLE_OK)
        return true;
    const QString detail = QString::fromUtf8(errorBuffer[0] ? errorBuffer : curl_easy_strerror(rc));
    const QString where = server.host + QStringLiteral(":") + QString::number(server.port);
    switch (rc) {
    case CURLE_LOGIN_DENIED:
        return fail(QStringLiteral("Login o password non valida per spedizione email"));
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
        return fail(QStringLiteral("Server di posta non raggiungibile: %1 (%2)").arg(where, detail));
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_USE_SSL_FAILED:
        return fail(QStringLiteral("Connessione sicura con il server di posta %1 non riuscita: %2").arg(where, detail));
    default:
        break;
    }
    if (detail.contains(QLatin1String("RCPT"), Qt::CaseInsensitive))
        return fail(QStringLiteral("Destinatario rifiutato dal server di posta: %1 (%2)").arg(m.to, detail));
    return fail(QStringLiteral("Invio dell'email non riuscito: %1").arg(detail));
}

} // namespace kem
