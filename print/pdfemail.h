#pragma once
// The PDF and e-mail delivery of a report run. The parameters are shared by every program of
// the suite: the menu keeps them in its shared files (section "PdfEmail" of this terminal's
// file, else of the file common to all terminals, through "LeggiIniComuni"), and the message
// texts in its database (table "TestiEmail", text number "EmailNumTesto"). A run may get an
// automatic PDF file name from the template "PdfNomeFile", and be sent by e-mail when the
// sending data are complete; missing data never stop the print, they only leave the run
// unsent after saying what is missing.
#include "platform/printlib/mailsender.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace kem {

class MenuServer;
class MessageSink;
class PrintOptions;
class PrintReport;
struct PrintEnv;

struct PdfEmailParams {
    // The parameter keys ("UsaPdfCreator", "PdfNomeFile", "EmailTipoInvio", ...).
    static const QStringList &Keys();
    // Reads every key, and "EmailOggetto" and "EmailTesto" from the stored texts. A menu that
    // cannot answer leaves the keys it did not give empty. Throws nothing.
    static PdfEmailParams Read(MenuServer &menu);

    // The values this form's options hold for its runs (the "Par ini Pdf/Email" page of the
    // destination dialog puts them there) replace the shared ones.
    void Overlay(const PrintOptions &options);
    // Puts every key into the options, for the runs of the form that owns them.
    void StoreIn(PrintOptions &options) const;

    QString value(const QString &key) const { return values.value(key.toLower()); }
    void set(const QString &key, const QString &v) { values.insert(key.toLower(), v); }
    bool flag(const QString &key) const;  // "S" (any case) or "1" or "True"

    // The recipient: the run's own when given, else the fixed address "EmailToNum" chooses
    // (EmailTo1 to EmailTo3; the first when the choice is not 1 to 3).
    QString Recipient(const QString &toTemp) const;

    QHash<QString, QString> values;  // lower-case key -> value
};

// The values of the placeholders of a run, each written between "§" in a template.
struct PlaceholderValues {
    QString terminale, login, gruppo, descAzie, codiceAzie, idAzienda;
    QString descPrg;   // "StampaDescPrg"
    QString titolo;    // "StampaCaption"
    QString codSta;    // the report's section key
    QString persOgg;   // the standard subject ("EmailOggetto")
    QDateTime now = QDateTime::currentDateTime();

    // The menu's values (terminal, "Login", "Gruppo", "descazie", "codiceazie", "idazienda").
    static PlaceholderValues FromMenu(MenuServer &menu);
    // The same with a run's own: "StampaCaption", "StampaDescPrg" and the section key.
    static PlaceholderValues ForRun(MenuServer &menu, const PrintOptions &options);
};

enum class PlaceholderUse { FileName, Message };

// The template with every placeholder replaced; dates and times in the forms of the use
// (file names without separators, messages with them), months by their Italian names.
QString ExpandPlaceholders(const QString &text, const PlaceholderValues &values, PlaceholderUse use);

// The section of the parameters in the menu's shared files.
const QString &PdfEmailSection();
// One parameter: this terminal's file, the common file, else the menu variable of that name
// (the first that gives a value that is not empty); fromCommon starts at the common file. A
// menu that cannot answer gives an empty value (and *error).
QString ReadPdfEmailParam(MenuServer &menu, const QString &key, bool fromCommon = false, QString *error = nullptr);
// The PDF printer of the parameters: "PDFCreator", "PDF995" or empty (neither is chosen).
QString PdfPrinter(const PdfEmailParams &params);
QString PdfPrinter(MenuServer &menu);
// The automatic PDF file name of a run: "PdfNomeFile" with its placeholders.
QString PdfAutoName(const PdfEmailParams &params, const PlaceholderValues &values);

// How "EmailTipoInvio" sends: SMTP ("CDO", "See", or no type), the system's sendmail, the
// desktop's mail program ("Outlook"), not at all ("Non usato").
enum class EmailSendType { Smtp, Sendmail, MailProgram, NotUsed, Unknown };
EmailSendType SendTypeOf(const QString &tipoInvio);
// The send types in the order the page offers them.
const QStringList &EmailSendTypeNames();

// What a run sends.
struct EmailRun {
    QString tipoInvio;      // "CDO", "Sendmail", "Outlook", "See"
    QString oggetto, testo;
    QString to;
    QString fileLog, ind, centro, smtpTipo, server, replay, login, pwd, dirStunnel, logSee;
    QString certificati;    // "EmailCertificati": certificates to trust besides the system's
    bool flagNotifica = false, usaSSL = false;
    int numPorta = 0;
    // The sender as the send types with a display name take it: "\"centro\" <ind>".
    QString From() const;
    QString ReplyTo() const;
};

// The e-mail of a run: its data, or nothing with *missing set to the message naming what is
// missing ("Mancano dati necessari per l'invio dell'email" and one line per datum). Login,
// password and server are needed by the SMTP send types only; a recipient by all.
std::optional<EmailRun> PrepareEmail(const PdfEmailParams &params, const QString &toTemp,
                                     const PlaceholderValues &values, QString *missing);

// The server and the message of a run's e-mail: port "EmailNumPorta" (25, or 465 with
// "EmailUsaSSL"), SSL from the connection on with "EmailUsaSSL" or port 465, else STARTTLS
// when the server offers it.
MailServer MailServerOf(const EmailRun &run);
MailMessage MailMessageOf(const EmailRun &run, const QString &pdf);
// Sends the run's e-mail with the PDF attached by its send type: through `server` for SMTP,
// through sendmail, or handed to the desktop's mail program; "Non usato" sends nothing. Each
// send, sent or not, is added to "EmailFileLog" when the run has one. False with *error (and
// *failure) when it was not sent; the PDF stays where it is either way.
bool SendRunEmail(const EmailRun &run, const MailServer &server, const QString &pdf, QString *error,
                  MailFailure *failure = nullptr);
// What is told of a send that went: "Email inviata a ..." (or, for the desktop's mail
// program, that the message is open there to be sent).
QString EmailSentText(const EmailRun &run);
// What is told of a send that did not go: the reason, and where the PDF stays.
QString EmailNotSentText(const QString &error, const QString &pdf);

// Asks the user for the login and password of the e-mail server, when the server refused
// the ones it had; false when the user gives up sending.
class EmailCredentialAsker {
public:
    virtual ~EmailCredentialAsker() = default;
    virtual bool ChiediEmailLogPwd(QString *login, QString *pwd) = 0;
    // The pair given was accepted by the server (the message went).
    virtual void EmailLoginAccepted(const QString & /*login*/, const QString & /*pwd*/) {}
};

// The delivery of a report run from a form, around its print job: before the job, with
// "PdfAutomAbil" on a printer run, the automatic PDF name (a name without a folder goes to
// the options' "PathDefault") and "AttivaPdfAutom"; with "EmailInvia", the run's e-mail, or
// the message of what is missing (the run then prints without sending). After a run that
// printed, the PDF it wrote is sent; what happened is told to the sink. A login the server
// refuses is told, and with an asker the user may give another pair and try again.
class RunDelivery {
public:
    void Prepare(const PrintEnv &env, const PrintOptions &options, PrintReport &report, MessageSink &sink);
    void Send(MessageSink &sink, EmailCredentialAsker *asker = nullptr);
    const std::optional<EmailRun> &Email() const { return email_; }
    QString PdfFile() const { return pdf_; }

private:
    std::optional<EmailRun> email_;
    QString pdf_;
};

} // namespace kem
