#include "apps/distinta-batch/reportdelivery.h"

#include "apps/distinta-batch/batchcommand.h"
#include "apps/distinta-batch/reportoutput.h"
#include "platform/menu/menuserver.h"
#include "platform/printlib/printoptions.h"
#include "print/pdfemail.h"

#include <QDir>
#include <QFileInfo>

namespace kem::batch {

QList<QCommandLineOption> ReportDelivery::Options()
{
    return {
        {QStringLiteral("pdf-auto"), QStringLiteral("Nome file Pdf autom.: il PDF prende il nome del modello \"PdfNomeFile\" dell'azienda, nella cartella di --out (che deve finire in .pdf).")},
        {QStringLiteral("email"), QStringLiteral("Invia per Email: manda il PDF di --out a questo indirizzo con le impostazioni email dell'azienda."), QStringLiteral("INDIRIZZO")},
        {QStringLiteral("smtp"), QStringLiteral("Server di posta al posto di quello dell'azienda: smtp://server:porta (STARTTLS se offerto) o smtps://server:porta."), QStringLiteral("URL")},
        {QStringLiteral("smtp-ca"), QStringLiteral("Certificati di cui fidarsi oltre a quelli del sistema, per il server di posta."), QStringLiteral("FILE")},
    };
}

std::optional<int> ReportDelivery::Read(const QCommandLineParser &parser, const QString &command)
{
    pdfAuto_ = parser.isSet(QStringLiteral("pdf-auto"));
    emailTo_ = parser.value(QStringLiteral("email")).trimmed();
    smtp_ = parser.value(QStringLiteral("smtp")).trimmed();
    smtpCa_ = parser.value(QStringLiteral("smtp-ca")).trimmed();
    const bool pdf = QFileInfo(parser.value(QStringLiteral("out"))).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
    if ((pdfAuto_ || parser.isSet(QStringLiteral("email"))) && !pdf)
        return UsageError(command, QStringLiteral("--pdf-auto e --email vogliono un --out che finisce in .pdf"));
    if (parser.isSet(QStringLiteral("email")) && emailTo_.isEmpty())
        return UsageError(command, QStringLiteral("Manca l'indirizzo di --email"));
    if ((!smtp_.isEmpty() || !smtpCa_.isEmpty()) && emailTo_.isEmpty())
        return UsageError(command, QStringLiteral("--smtp e --smtp-ca servono solo con --email"));
    QString error;
    if (!smtp_.isEmpty() && !MailServer::FromUrl(smtp_, &error))
        return UsageError(command, error);
    return std::nullopt;
}

QString ReportDelivery::OutFile(MenuServer &menu, const PrintOptions &options, const QString &out) const
{
    if (!pdfAuto_)
        return out;
    QString name = PdfAutoName(PdfEmailParams::Read(menu), PlaceholderValues::ForRun(menu, options)).trimmed();
    // A name that would leave the folder keeps to it.
    name.replace(QLatin1Char('/'), QLatin1Char('-')).replace(QLatin1Char('\\'), QLatin1Char('-'));
    if (name.isEmpty())
        return out;
    if (!name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        name += QStringLiteral(".pdf");
    return QFileInfo(out).absoluteDir().filePath(name);
}

int ReportDelivery::Send(MenuServer &menu, const PrintOptions &options, const QString &pdf, int code) const
{
    if (code != ExitOk || emailTo_.isEmpty())
        return code;
    QString missing;
    const auto run = PrepareEmail(PdfEmailParams::Read(menu), emailTo_, PlaceholderValues::ForRun(menu, options), &missing);
    if (!run) {
        PrintError(EmailNotSentText(missing, pdf));
        return ExitFailure;
    }
    MailServer server = MailServerOf(*run);
    if (!smtp_.isEmpty()) {
        const MailServer given = *MailServer::FromUrl(smtp_, nullptr);
        server.host = given.host;
        server.port = given.port;
        server.sslOnConnect = given.sslOnConnect;
    }
    if (!smtpCa_.isEmpty())
        server.caFile = smtpCa_;
    QString error;
    if (!SendRunEmail(*run, server, pdf, &error)) {
        PrintError(EmailNotSentText(error, pdf));
        return ExitFailure;
    }
    PrintError(EmailSentText(*run));
    return ExitOk;
}

} // namespace kem::batch
