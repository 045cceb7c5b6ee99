#pragma once
// What the report subcommands share: the --company and --out options, the options' help with
// their defaults, the file destination chosen by the extension of --out, the print options of
// a run (the form's stored settings with that destination) and the exit code of a run.
#include "reportkit/reportrun.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

namespace kem {
class AziendaUtilStampe;
class CompanySession;
class MessageSink;
class PrintOptions;
}

namespace kem::batch {

// What the help of every report subcommand says after its own description: the destination
// by extension, the form's checks, the messages and the exit codes.
QString ReportRunHelp();
// --company DIR and --out FILE.
QList<QCommandLineOption> CompanyAndOutOptions();
// Appends " Predefinito: X." to the help of every option with a value and a default.
void DescribeDefaults(QList<QCommandLineOption> &options);
// A usage error of subcommand `command`: the message and where the help is, on standard
// error; ExitUsage.
int UsageError(const QString &command, const QString &message);
// The checks of every subcommand that works on a company: no positional arguments, --company
// given. An exit code when the command must stop.
std::optional<int> CheckCompanyArguments(const QCommandLineParser &parser, const QString &command);
// The checks every report subcommand makes first: no positional arguments, --company and
// --out given, an output extension known. An exit code when the command must stop.
std::optional<int> CheckReportArguments(const QCommandLineParser &parser, const QString &command);

// Opens the company directory of a run; nullptr after telling why it cannot be read on
// standard error (the warnings about the folder go there too). Throws what opening the
// database throws.
std::unique_ptr<CompanySession> OpenRunCompany(const QString &companyDir, MessageSink &sink);
// An error that ended subcommand `command`, told through the sink; ExitFailure.
int CommandFailed(const std::exception &e, MessageSink &sink, const QString &command);

// --stats: the run's figures on standard output.
QCommandLineOption StatsOption();
// Runs the report; with `stats`, writes on standard output one line of its figures: "righe N
// pagine N istruzioni N preparate N secondi S cpu S memoria_kb N" (processor time of the run,
// peak resident memory of the process).
void RunMeasured(ReportRun &report, bool stats);

// The destination of the output file by its extension (.pdf, .csv, .txt, .xlsx; .fix fixed
// width); false for any other extension.
bool SetDestination(PrintOptions &o, const QString &file);
// The print options of a run of the form with key formKey: its stored settings, the
// destination `out`.
std::shared_ptr<PrintOptions> RunOptions(AziendaUtilStampe &stampe, const QString &formKey,
                                         const QString &out);
// The exit code of a run: ExitFailure when it failed, ExitNoData when nothing was printed,
// else ExitOk after telling `done` + " in " + the file on standard error.
int RunExitCode(const ReportRun::RunResult &result, const QString &done, const QString &out);

} // namespace kem::batch
