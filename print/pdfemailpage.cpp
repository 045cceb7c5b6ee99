#include "print/pdfemailpage.h"

#include "platform/menu/menuserver.h"
#include "platform/printlib/printoptions.h"
#include "platform/util/kemutil.h"
#include "print/printenv.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QVariant>

namespace kem {

namespace {

using F = PdfEmailField;

bool IsWholeIn(const QString &value, int low, int high)
{
    bool ok = false;
    const int n = value.trimmed().toInt(&ok);
    return ok && n >= low && n <= high;
}

} // namespace

const QList<PdfEmailField> &PdfEmailPageFields()
{
    static const QList<PdfEmailField> fields{
        {QStringLiteral("UsaPdfCreator"), QStringLiteral("Usa PdfCreator"), F::Flag, {}, {}},
        {QStringLiteral("UsaPdf995"), QStringLiteral("Usa Pdf995"), F::Flag, {}, {}},
        {QStringLiteral("PdfNomeFile"), QStringLiteral("Nome del file per pdf"), F::File, QStringLiteral("Pdf|*.pdf"),
         QStringLiteral("Nome del file per pdf")},
        {QStringLiteral("CreatorAutosaveStart"), QStringLiteral("Apertura automatica file pdf dopo la stampa"), F::Flag, {}, {}},
        {QStringLiteral("StampeEmail"), QStringLiteral("Abilitare opzione richiesta invio email"), F::Flag, {}, {}},
        {QStringLiteral("EmailTipoInvio"), QStringLiteral("Tipo Invio"), F::SendType, {}, {}},
        {QStringLiteral("EmailInd"), QStringLiteral("Indirizzo email di chi invia"), F::Address, {}, {}},
        {QStringLiteral("EmailCentro"), QStringLiteral("Descriz. email di invio(centro)"), F::Text, {}, {}},
        {QStringLiteral("EmailSMTPtipo"), QStringLiteral("Tipo server (Solo per CDO)"), F::Text, {}, {}},
        {QStringLiteral("EmailServerSMTP"), QStringLiteral("Server SMTP"), F::Text, {}, {}},
        {QStringLiteral("EmailNumPorta"), QStringLiteral("Numero porta SMTP"), F::Number, {}, {}},
        {QStringLiteral("EmailUsaSSL"), QStringLiteral("Usa SSL per l'invio dell'email"), F::Flag, {}, {}},
        {QStringLiteral("EmailDirStunnel"), QStringLiteral("Directory stunnel"), F::Folder, {},
         QStringLiteral("Directory per stunnel")},
        {QStringLiteral("EmailCertificati"), QStringLiteral("Certificati da accettare (file .pem)"), F::File,
         QStringLiteral("Certificati|*.pem;*.crt"), QStringLiteral("Certificati da accettare")},
        {QStringLiteral("EmailLogin"), QStringLiteral("Login Email"), F::Text, {}, {}},
        {QStringLiteral("EmailPwd"), QStringLiteral("Pwd Email"), F::Password, {}, {}},
        {QStringLiteral("EmailReplay"), QStringLiteral("Indirizzo di replay"), F::Address, {}, {}},
        {QStringLiteral("EmailFlagNotifica"), QStringLiteral("Richiedere notifica email ricevuta "), F::Flag, {}, {}},
        {QStringLiteral("EmailNumTesto"), QStringLiteral("Numero testo da usare"), F::Number, {}, {}},
        {QStringLiteral("EmailPersOggetto"), QStringLiteral("Descriz. per l'oggetto email"), F::Text, {}, {}},
        {QStringLiteral("EmailTo1"), QStringLiteral("Email destinatario 1"), F::Address, {}, {}},
        {QStringLiteral("EmailTo2"), QStringLiteral("Email destinatario 2"), F::Address, {}, {}},
        {QStringLiteral("EmailTo3"), QStringLiteral("Email destinatario 3"), F::Address, {}, {}},
        {QStringLiteral("EmailToNum"), QStringLiteral("Destinatario da usare"), F::ToNum, {}, {}},
        {QStringLiteral("EmailTipoNum"), QStringLiteral("Email del cliente da usare"), F::TipoNum, {}, {}},
        {QStringLiteral("EmailToTemp"), QStringLiteral("Email destinatario per questa stampa"), F::Address, {}, {}},
        {QStringLiteral("EmailFileLog"), QStringLiteral("Nome del file per log"), F::File, QStringLiteral("Testo|*.txt"),
         QStringLiteral("Nome del file per log")},
        {QStringLiteral("EmailLogSee"), QStringLiteral("Log dell'invio See"), F::Flag, {}, {}},
    };
    return fields;
}

const PdfEmailField *PdfEmailPageField(const QString &key)
{
    for (const PdfEmailField &f : PdfEmailPageFields())
        if (f.key.compare(key, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

QString PdfEmailFieldError(const QString &key, const QString &value)
{
    const PdfEmailField *field = PdfEmailPageField(key);
    const QString v = value.trimmed();
    if (!field || v.isEmpty())
        return {};
    switch (field->kind) {
    case F::Flag: {
        static const QStringList flags{QStringLiteral("S"), QStringLiteral("N"), QStringLiteral("1"), QStringLiteral("0"),
                                       QStringLiteral("-1"), QStringLiteral("True"), QStringLiteral("False")};
        return flags.contains(v, Qt::CaseInsensitive) ? QString() : QStringLiteral("vale S o N");
    }
    case F::Number:
        if (key.compare(QLatin1String("EmailNumPorta"), Qt::CaseInsensitive) == 0)
            return IsWholeIn(v, 1, 65535) ? QString() : QStringLiteral("una porta va da 1 a 65535");
        return IsWholeIn(v, 0, 999999) ? QString() : QStringLiteral("vuole un numero intero");
    case F::Address: {
        static const QRegularExpression address(QStringLiteral("^[^@\\s<>,;\"]+@[^@\\s<>,;\"]+$"));
        return address.match(v).hasMatch() ? QString() : QStringLiteral("non è un indirizzo email (nome@dominio)");
    }
    case F::SendType:
        return EmailSendTypeNames().contains(v, Qt::CaseInsensitive)
            ? QString()
            : QStringLiteral("vale %1").arg(EmailSendTypeNames().join(QStringLiteral(", ")));
    case F::ToNum:
        return IsWholeIn(v, 1, 3) ? QString() : QStringLiteral("vale da 1 a 3");
    case F::TipoNum:
        return IsWholeIn(v, 1, 4) ? QString() : QStringLiteral("vale da 1 a 4");
    case F::File:
        if (key.compare(QLatin1String("EmailFileLog"), Qt::CaseInsensitive) == 0) {
            const QFileInfo log(v);
            if (log.isDir())
                return QStringLiteral("è una cartella, non un file");
            if (!log.absoluteDir().exists())
                return QStringLiteral("la cartella del file non esiste");
        } else if (key.compare(QLatin1String("EmailCertificati"), Qt::CaseInsensitive) == 0) {
            if (!QFileInfo(v).isFile() || !QFileInfo(v).isReadable())
                return QStringLiteral("il file non esiste o non è leggibile");
        }
        return {};
    default:
        return {};
    }
}

QString PdfEmailInvalidMessage()
{
    return QStringLiteral("ci sono dei dati non validi");
}

QString PdfEmailSslTypeMessage()
{
    return QStringLiteral("L'uso di SSL è possibile solo usando tipo invio 'See'");
}

QString PdfEmailStunnelRequiredMessage()
{
    return QStringLiteral("Con l'uso di SSL è obbligatorio inserire la directory stunnel");
}

QString PdfEmailStunnelMissingMessage()
{
    return QStringLiteral("La directory stunnel è inesistente");
}

QString PdfEmailRecipientMessage()
{
    return QStringLiteral("mancano dati obbligatori per l'invio dell'email");
}

QStringList PdfEmailInvalidFields(const PdfEmailParams &params)
{
    QStringList out;
    for (const PdfEmailField &f : PdfEmailPageFields()) {
        const QString why = PdfEmailFieldError(f.key, params.value(f.key));
        if (!why.isEmpty())
            out << f.caption.trimmed() + QStringLiteral(": ") + why;
    }
    return out;
}

QString PdfEmailPageRefusal(const PdfEmailParams &p, const QStringList &invalid, bool sendRequested)
{
    if (!invalid.isEmpty())
        return PdfEmailInvalidMessage() + QStringLiteral("\r\n - ") + invalid.join(QStringLiteral("\r\n - "));
    if (p.flag(QStringLiteral("EmailUsaSSL"))) {
        if (p.value(QStringLiteral("EmailTipoInvio")).trimmed().compare(QLatin1String("See"), Qt::CaseInsensitive) != 0)
            return PdfEmailSslTypeMessage();
        const QString dir = p.value(QStringLiteral("EmailDirStunnel")).trimmed();
        if (dir.isEmpty())
            return PdfEmailStunnelRequiredMessage();
        if (!QFileInfo(dir).isDir())
            return PdfEmailStunnelMissingMessage();
    }
    if (sendRequested && p.Recipient(p.value(QStringLiteral("EmailToTemp"))).isEmpty())
        return PdfEmailRecipientMessage();
    return {};
}

QString PdfEmailCancelQuestion(bool credentialMode)
{
    return credentialMode ? QStringLiteral("Confermi annullamento invio email")
                          : QStringLiteral("Confermi uscita senza salvataggio");
}

namespace {

QVariant CallIni(MenuServer &menu, const QString &function, const QVariantList &args)
{
    return menu.MenuCall(function, QStringLiteral("Tutti"), args);
}

QString FileArg(bool common)
{
    return common ? QStringLiteral("C") : QStringLiteral("T");
}

bool NothingTicked(const QStringList &keys, QString *error)
{
    if (!keys.isEmpty())
        return false;
    if (error)
        *error = QStringLiteral("Nessun parametro selezionato");
    return true;
}

} // namespace

bool SavePdfEmailParams(MenuServer &menu, const PdfEmailParams &params, const QStringList &keys, bool common,
                        QString *error)
{
    if (NothingTicked(keys, error))
        return false;
    try {
        for (const QString &key : keys)
            CallIni(menu, QStringLiteral("ScriviIniComuni"), {FileArg(common), PdfEmailSection(), key, params.value(key)});
    } catch (const MenuError &e) {
        if (error)
            *error = QStringLiteral("Parametri non salvati: ") + e.description();
        return false;
    }
    return true;
}

bool DeletePdfEmailParams(MenuServer &menu, const QStringList &keys, bool common, QString *error)
{
    if (NothingTicked(keys, error))
        return false;
    try {
        // Without a value the key goes.
        for (const QString &key : keys)
            CallIni(menu, QStringLiteral("ScriviIniComuni"), {FileArg(common), PdfEmailSection(), key});
    } catch (const MenuError &e) {
        if (error)
            *error = QStringLiteral("Parametri non cancellati: ") + e.description();
        return false;
    }
    return true;
}

bool RereadPdfEmailParams(MenuServer &menu, const QStringList &keys, bool common, PdfEmailParams *params,
                          QString *error)
{
    if (NothingTicked(keys, error))
        return false;
    PdfEmailParams read = *params;
    for (const QString &key : keys) {
        QString why;
        const QString v = ReadPdfEmailParam(menu, key, common, &why);
        if (!why.isEmpty()) {
            // Nothing changes on the page when the menu cannot answer.
            if (error)
                *error = QStringLiteral("Parametri non riletti: ") + why;
            return false;
        }
        read.set(key, v);
    }
    *params = read;
    return true;
}

PdfEmailParams PdfEmailPageValues(MenuServer *menu, const PrintOptions &options)
{
    PdfEmailParams p;
    if (menu) {
        for (const QString &key : PdfEmailParams::Keys())
            p.set(key, ReadPdfEmailParam(*menu, key));
    }
    p.Overlay(options);
    return p;
}

const QStringList &CustomerEmailColumns()
{
    static const QStringList columns{QStringLiteral("Email"), QStringLiteral("Email2"), QStringLiteral("Email3"),
                                     QStringLiteral("Email4")};
    return columns;
}

QStringList CustomerEmailLabels(const PrintEnv &env)
{
    const QString section = QStringLiteral("Clienti");
    return {env.ini(section, QStringLiteral("DescEmailPri"), QStringLiteral("Principale")),
            env.ini(section, QStringLiteral("DescEmailAmm"), QStringLiteral("Amministrativo")),
            env.ini(section, QStringLiteral("DescEmailComm"), QStringLiteral("Commerciale")),
            env.ini(section, QStringLiteral("DescEmailSped"), QStringLiteral("Spedizioni"))};
}

int CustomerEmailColumn(const PrintEnv &env, const QString &tipoNum)
{
    static const QStringList predef{QStringLiteral("Pri"), QStringLiteral("Amm"), QStringLiteral("Comm"),
                                    QStringLiteral("Sped")};
    if (IsWholeIn(tipoNum, 1, 4))
        return tipoNum.trimmed().toInt() - 1;
    const QString chosen = env.ini(QStringLiteral("Clienti"), QStringLiteral("EmailPredef"));
    for (int i = 0; i < predef.size(); ++i)
        if (chosen.compare(predef[i], Qt::CaseInsensitive) == 0)
            return i;
    return 0;
}

QString CustomerEmailOf(const QStringList &addresses, int column)
{
    const QString chosen = addresses.value(column).trimmed();
    if (!chosen.isEmpty())
        return chosen;
    for (const QString &a : addresses)
        if (!a.trimmed().isEmpty())
            return a.trimmed();
    return {};
}

QString CustomerEmailWhere()
{
    QStringList any;
    for (const QString &c : CustomerEmailColumns())
        any << QStringLiteral("%1 > ''").arg(c);
    return QStringLiteral("(") + any.join(QStringLiteral(" Or ")) + QStringLiteral(")");
}

} // namespace kem
