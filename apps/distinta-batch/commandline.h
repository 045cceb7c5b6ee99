#pragma once
// Helpers shared by the subcommands: option parsing with usage errors, and the check of the
// target directory of the company generators.
#include <QCommandLineParser>
#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

namespace kem::batch {

// Parses the arguments of subcommand `name`. Returns an exit code when the command must stop
// here (--help printed: ExitOk; bad option: message on standard error, ExitUsage), nothing
// when the command should go on.
std::optional<int> ParseArguments(QCommandLineParser &parser, const QString &name,
                                  const QStringList &args);

// A parse error of Qt's parser in Italian ("Opzione sconosciuta: --x", "Manca il valore di --x").
QString UsageErrorText(const QCommandLineParser &parser);
// Qt's help text with Italian headings ("Uso:", "Opzioni:", "Argomenti:").
QString ItalianHelp(QString helpText);

// Reads a whole number option; reports bad values on standard error.
std::optional<int> IntOption(const QCommandLineParser &parser, const QString &option);
std::optional<double> NumberOption(const QCommandLineParser &parser, const QString &option);
// S / N (also SI, NO, 1, 0, TRUE, FALSE) of a Boolean option; reports bad values.
std::optional<bool> FlagOption(const QCommandLineParser &parser, const QString &option);
// A date written as in the forms (dd/mm/yyyy, also d/m/yyyy); blank: no date (a null QDate).
// Reports bad values.
std::optional<QDate> DateOption(const QCommandLineParser &parser, const QString &option);

// The single positional DIR of a generator; refuses an existing non-empty directory unless
// `force` is set. Returns the directory, or nothing after reporting the problem.
std::optional<QString> TargetDirectory(const QCommandLineParser &parser, const QString &name,
                                       bool force);

} // namespace kem::batch
