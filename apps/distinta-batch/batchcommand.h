#pragma once
// The subcommands of distinta-batch. Each is one function taking its own arguments (the
// words after the subcommand name) and returning the process exit code; adding a subcommand
// means writing that function and adding one row to the table in batchcommands.cpp.
#include <QList>
#include <QString>
#include <QStringList>

namespace kem::batch {

// 0 done (printed), 1 an error, 2 bad usage (options, or a selection the form refuses),
// 3 nothing to print.
enum ExitCode { ExitOk = 0, ExitFailure = 1, ExitUsage = 2, ExitNoData = 3 };

struct BatchCommand {
    QString name;
    QString summary;
    int (*run)(const QStringList &args);
    bool report = false;  // a report run: lays out text and writes PDF files (Qt's GUI side)
};

const QList<BatchCommand> &BatchCommands();

// Writes a message line to standard error.
void PrintError(const QString &message);
// Writes text to standard output.
void PrintOut(const QString &text);

} // namespace kem::batch
