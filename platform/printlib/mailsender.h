#pragma once
// MailSender: a report sent by e-mail over SMTP (libcurl): the message with its text and the
// PDF attached, to one recipient, through a server reached in clear with STARTTLS when the
// server offers it, or with SSL from the connection on (smtps). A login is given when the
// server asks for one. Every failure comes back as a message in Italian; nothing is retried.
#include <QString>
#include <optional>

namespace kem {

struct MailServer {
    QString host;
    int port = 25;
    bool sslOnConnect = false;  // SSL from the first byte (smtps); else STARTTLS when offered
    QString login, password;
    QString caFile;             // certificates to trust besides the system's (empty: the system's)
    int timeoutSeconds = 60;

    // "smtp://host:port" or "smtps://host:port" (port 25 and 465 when left out); nothing, with
    // *error, for any other text.
    static std::optional<MailServer> FromUrl(const QString &url, QString *error);
    QString Url() const;
};

struct MailMessage {
    QString fromAddress;   // the sender's address
    QString from;          // the From header ("\"Ufficio\" <ufficio@example.com>"); empty: the address
    QString replyTo;       // empty: none
    QString to;            // the recipient's address
    QString subject, text;
    QString attachment;    // file attached (empty: none)
    bool readReceipt = false;  // asks for a notification of receipt
};

class MailSender {
public:
    // Sends the message; false with *error ("Login o password non valida per spedizione
    // email", "Server di posta non raggiungibile: ...", "Destinatario rifiutato dal server:
    // ...", ...) when it was not accepted.
    static bool Send(const MailServer &server, const MailMessage &message, QString *error);
};

} // namespace kem
