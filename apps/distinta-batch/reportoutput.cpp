#include "apps/distinta-batch/reportoutput.h"

#include "apps/distinta-batch/batchcommand.h"
#include "common/funvarie.h"
#include "reportkit/company.h"
#include "platform/printlib/printoptions.h"
#include "print/aziendautilstampe.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <sys/resource.h>

namespace kem::batch {

QString ReportRunHelp()
{
    return QStringLiteral(
        "La destinazione segue l'estensione di --out: .pdf, .csv, .txt, .xlsx, .fix (larghezza fissa).\n"
        "I campi sono controllati come nella maschera: una selezione che la maschera rifiuta termina "
        "con il suo messaggio sullo standard error e il codice di uscita 2.\n"
        "I messaggi vanno sullo standard error con la risposta predefinita.\n"
        "Codici di uscita: 0 stampata, 1 errore, 2 uso errato o selezione rifiutata, 3 nessun dato da stampare.");
}

namespace {

long PeakMemoryKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Processor time of this process so far (the machine may be shared: wall time alone misleads).
double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

QCommandLineOption StatsOption()
{
    return {QStringLiteral("stats"), QStringLiteral("Scrive sullo standard output righe, pagine, istruzioni, secondi e memoria di picco della stampa.")};
}

void RunMeasured(ReportRun &report, bool stats)
{
    QElapsedTimer timer;
    const double cpuBefore = CpuSeconds();
    timer.start();
    report.AvviaStampa();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double cpu = CpuSeconds() - cpuBefore;
    if (!stats)
        return;
    const ReportRun::RunResult &result = report.LastRun();
    PrintOut(QStringLiteral("righe %1 pagine %2 istruzioni %3 preparate %4 secondi %5 cpu %6 memoria_kb %7\n")
                 .arg(result.lines)
                 .arg(result.pages)
                 .arg(result.stats.statements)
                 .arg(result.stats.prepared)
                 .arg(seconds, 0, 'f', 4)
                 .arg(cpu, 0, 'f', 4)
                 .arg(PeakMemoryKb()));
}

QList<QCommandLineOption> CompanyAndOutOptions()
{
    return {
        {QStringLiteral("company"), QStringLiteral("Cartella dell'azienda (con kemora-menu.ini)."), QStringLiteral("DIR")},
        {QStringLiteral("out"), QStringLiteral("File di destinazione (.pdf, .csv, .txt, .xlsx, .fix)."), QStringLiteral("FILE")},
    };
}

void DescribeDefaults(QList<QCommandLineOption> &options)
{
    for (QCommandLineOption &o : options) {
        if (!o.valueName().isEmpty() && !o.defaultValues().isEmpty())
            o.setDescription(o.description() + QStringLiteral(" Predefinito: ")
                             + (o.defaultValues().first().isEmpty() ? QStringLiteral("vuoto") : o.defaultValues().first()) + ".");
    }
}

int UsageError(const QString &command, const QString &message)
{
    PrintError(message);
    PrintError(QStringLiteral("Usare \"distinta-batch %1 --help\" per l'aiuto.").arg(command));
    return ExitUsage;
}

std::optional<int> CheckCompanyArguments(const QCommandLineParser &parser, const QString &command)
{
    if (!parser.positionalArguments().isEmpty())
        return UsageError(command, QStringLiteral("Argomenti non previsti: ") + parser.positionalArguments().join(QLatin1Char(' ')));
    if (parser.value(QStringLiteral("company")).isEmpty())
        return UsageError(command, QStringLiteral("Manca --company DIR."));
    return std::nullopt;
}

std::optional<int> CheckReportArguments(const QCommandLineParser &parser, const QString &command)
{
    if (const auto stop = CheckCompanyArguments(parser, command))
        return stop;
    const QString out = parser.value(QStringLiteral("out"));
    if (out.isEmpty())
        return UsageError(command, QStringLiteral("Manca --out FILE."));
    PrintOptions probe;
    if (!SetDestination(probe, out))
        return UsageError(command, QStringLiteral("Estensione di --out non riconosciuta: %1 (.pdf, .csv, .txt, .xlsx, .fix)").arg(out));
    return std::nullopt;
}

bool SetDestination(PrintOptions &o, const QString &file)
{
    const QString path = QFileInfo(file).absoluteFilePath();
    const QString ext = QFileInfo(file).suffix().toLower();
    if (ext == QLatin1String("fix")) {
        o.StaVid = PrintOptions::FixedWidth;
        o.FisStampante = false;
        o.FisFileName = path;
        return true;
    }
    o.StaVid = PrintOptions::File;
    o.FileName = path;
    if (ext == QLatin1String("pdf"))
        o.FileForm = PrintOptions::PdfFile;
    else if (ext == QLatin1String("csv"))
        o.FileForm = PrintOptions::SpreadsheetText;
    else if (ext == QLatin1String("txt"))
        o.FileForm = PrintOptions::PlainText;
    else if (ext == QLatin1String("xlsx"))
        o.FileForm = PrintOptions::Xlsx;
    else
        return false;
    return true;
}

std::shared_ptr<PrintOptions> RunOptions(AziendaUtilStampe &stampe, const QString &formKey,
                                         const QString &out)
{
    auto options = std::make_shared<PrintOptions>();
    LoadOptionsArgs load;
    load.osKeySec = formKey;
    stampe.IniOpzSta(*options, load);
    SetDestination(*options, out);
    return options;
}

int RunExitCode(const ReportRun::RunResult &result, const QString &done, const QString &out)
{
    if (result.failed)
        return ExitFailure;
    if (!result.printed)
        return ExitNoData;
    PrintError(QStringLiteral("%1 in %2").arg(done, QFileInfo(out).absoluteFilePath()));
    return ExitOk;
}

std::unique_ptr<CompanySession> OpenRunCompany(const QString &companyDir, MessageSink &sink)
{
    QString error;
    std::unique_ptr<CompanySession> company = CompanySession::Open(companyDir, sink, &error, &PrintError);
    if (!company)
        PrintError(QStringLiteral("Azienda non leggibile: ") + error);
    return company;
}

int CommandFailed(const std::exception &e, MessageSink &sink, const QString &command)
{
    const ErrorInfo info = ErrorInfoFrom(e);
    sink.MsgErrfrm(info.number, ErrorDescription(info.description, info.source),
                   QStringLiteral("(distinta-batch ") + command + QStringLiteral(") "));
    return ExitFailure;
}

} // namespace kem::batch
