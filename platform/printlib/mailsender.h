#pragma once
// MailSender: a report sent by e-mail: the message with its text and the PDF attached, to one
// recipient. Three ways out:
//   - SMTP (libcurl), through a server reached in clear with STARTTLS when the server offers
//     it, or with SSL from the connection on (smtps); a login is given when the server asks;
//   - the system's sendmail program ("sendmail -t -i", the message on its standard input);
//   - the desktop's mail program (xdg-email), which opens the message ready to be sent.
// The message itself is composed once (MailMessage::Compose) for SMTP and sendmail alike.
// Every failure comes back as a message in Italian; nothing is retried.
#include <QByteArray>
#include <QString>
#include <QStringList>
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

    // The whole message as it travels: headers, the text and the attachment in a MIME
    // multipart, lines ended by CR LF (crlf) or LF (for local programs such as sendmail).
    // False with *error when the attachment cannot be read.
    bool Compose(QByteArray *out, QString *error, bool crlf = true) const;
};

// What stopped a message.
enum class MailFailure {
    None,
    Data,         // sender, recipient or server missing, attachment unreadable
    Login,        // the server refused the login
    Unreachable,  // the server could not be reached
    Secure,       // the secure connection failed
    Recipient,    // the server refused the recipient
    Program,      // sendmail or the desktop's mail program is missing or failed
    Other,
};

class MailSender {
public:
    // Sends the message over SMTP; false with *error ("Login o password non valida per
    // spedizione email", "Server di posta non raggiungibile: ...", "Destinatario rifiutato dal
    // server: ...", ...) and *failure when it was not accepted.
    static bool Send(const MailServer &server, const MailMessage &message, QString *error,
                     MailFailure *failure = nullptr);

    // Hands the message to sendmail ("-t -i": the recipients from the headers, a lone dot is
    // no end of message). program: the sendmail to run; empty: SendmailProgram().
    static bool SendWithSendmail(const MailMessage &message, QString *error, const QString &program = {},
                                 MailFailure *failure = nullptr);
    // "sendmail" on PATH, else /usr/sbin/sendmail or /usr/lib/sendmail; empty when none.
    static QString SendmailProgram();

    // Opens the message in the desktop's mail program ("xdg-email --utf8 --subject S --body B
    // --attach FILE TO"); the user sends it from there. program: empty for "xdg-email" on PATH.
    static bool OpenInMailProgram(const MailMessage &message, QString *error, const QString &program = {},
                                  MailFailure *failure = nullptr);
    // The arguments given to xdg-email.
    static QStringList MailProgramArguments(const MailMessage &message);
};

} // namespace kem
