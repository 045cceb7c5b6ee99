#pragma once
// The parts of the destination dialog's page "Par ini Pdf/Email" that need no window: its
// fields and their captions, the check of each field and of the whole page before it is
// confirmed or saved, saving, rereading and deleting the ticked parameters in the menu's
// shared files ("ScriviIniComuni" / "LeggiIniComuni"), the question of "&Annulla", and the
// customer address lookup (labels of the four address columns, the column taken).
#include "print/pdfemail.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kem {

class MenuServer;
struct PrintEnv;

struct PdfEmailField {
    enum Kind {
        Text,
        Flag,      // "S" / "N"
        Number,
        Address,   // an e-mail address
        Password,
        SendType,  // "EmailTipoInvio": one of EmailSendTypeNames()
        ToNum,     // "EmailToNum": which of EmailTo1..3 (1 to 3)
        TipoNum,   // "EmailTipoNum": which customer address (1 to 4)
        Folder,    // picked with "Cerca" as a folder
        File,      // picked with "Cerca" as a file
    };
    QString key;
    QString caption;
    Kind kind = Text;
    QString filter;  // files: the filter of "Cerca" ("Testo|*.txt")
    QString title;   // "Cerca": the title of the dialog
};

// The fields of the page in their order: every parameter of PdfEmailParams::Keys().
const QList<PdfEmailField> &PdfEmailPageFields();
const PdfEmailField *PdfEmailPageField(const QString &key);

// Why a field's value is not valid; empty when it is (an empty value is valid everywhere).
QString PdfEmailFieldError(const QString &key, const QString &value);

// Messages of the page.
QString PdfEmailInvalidMessage();         // "ci sono dei dati non validi"
QString PdfEmailSslTypeMessage();         // SSL with a send type other than "See"
QString PdfEmailStunnelRequiredMessage(); // SSL without the stunnel folder
QString PdfEmailStunnelMissingMessage();  // a stunnel folder that does not exist
QString PdfEmailRecipientMessage();       // sending asked without a recipient

// The check made on "&Ok" and "&Salva su file Ini": the first message that refuses the page,
// empty when it is fine. invalid: captions of the fields marked invalid (listed under the
// message); sendRequested: "Invia per Email" is ticked for the runs.
QString PdfEmailPageRefusal(const PdfEmailParams &params, const QStringList &invalid, bool sendRequested);
// The captions of the fields whose values are not valid.
QStringList PdfEmailInvalidFields(const PdfEmailParams &params);

// "&Annulla": the question, "Confermi annullamento invio email" while a run waits for the
// login and password, else "Confermi uscita senza salvataggio".
QString PdfEmailCancelQuestion(bool credentialMode);

// The ticked parameters written to (or deleted from, or read again from) the common file or
// this terminal's file, section "PdfEmail", through the menu. Rereading a key starts at the
// chosen file and goes on as the runs read it (the common file, then the menu's variable).
// False with *error when nothing was ticked or the menu refused.
bool SavePdfEmailParams(MenuServer &menu, const PdfEmailParams &params, const QStringList &keys, bool common,
                        QString *error);
bool DeletePdfEmailParams(MenuServer &menu, const QStringList &keys, bool common, QString *error);
bool RereadPdfEmailParams(MenuServer &menu, const QStringList &keys, bool common, PdfEmailParams *params,
                          QString *error);

// The values the page starts from: the parameters the runs read, with the values the form's
// options already hold for its runs.
PdfEmailParams PdfEmailPageValues(MenuServer *menu, const PrintOptions &options);

// Customer address lookup over the accounts ("Conto").
// The captions of the columns "Email", "Email2", "Email3", "Email4": section "Clienti", keys
// "DescEmailPri", "DescEmailAmm", "DescEmailComm", "DescEmailSped", by default "Principale",
// "Amministrativo", "Commerciale", "Spedizioni".
QStringList CustomerEmailLabels(const PrintEnv &env);
// The address columns of the accounts.
const QStringList &CustomerEmailColumns();
// The column taken (0 to 3): the one chosen on the page ("EmailTipoNum", 1 to 4), else the
// default of section "Clienti", "EmailPredef" ("Pri", "Amm", "Comm", "Sped"; "StAltro" or
// nothing: none), else the first.
int CustomerEmailColumn(const PrintEnv &env, const QString &tipoNum);
// The address of a customer: the chosen column, or the first column that has one.
QString CustomerEmailOf(const QStringList &addresses, int column);
// The accounts that have at least one address.
QString CustomerEmailWhere();

} // namespace kem
