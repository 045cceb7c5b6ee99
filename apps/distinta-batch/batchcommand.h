#pragma once
// The subcommands of distinta-batch. Each is one function taking its own arguments (the
// words after the subcommand name) and returning the process exit code; adding a subcommand
// means writing that function and adding one row to the table in batchcommands.cpp.
#include <QList>
#include <QString>
#include <QStringList>

namespace kem::batch {

enum ExitCode { ExitOk = 0, ExitFailure = 1, ExitUsage = 2 };

struct BatchCommand {
    QString name;
    QString summary;
    int (*run)(const QStringList &args);
};

const QList<BatchCommand> &BatchCommands();

// Writes a message line to standard error.
void PrintError(const QString &message);
// Writes text to standard output.
void PrintOut(const QString &text);

} // namespace kem::batch
