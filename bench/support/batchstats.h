#pragma once
// What the benchmarks share: one report run of distinta-batch in a child process with --stats
// (its figures read back from standard output, its peak memory its own), and the comparison of
// two output files.
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace kembench {

struct PrintRun {
    bool ok = false;
    qint64 lines = 0;
    qint64 pages = 0;
    qint64 statements = 0;
    double seconds = 0;  // wall clock of the report run
    double cpu = 0;      // processor time of the report run
    qint64 memoryKb = 0; // peak resident memory of the child
    QString error;
};

// Runs `batch` with args (a report subcommand with --stats) and reads its figures.
inline PrintRun RunBatchStats(const QString &batch, const QStringList &args)
{
    QProcess p;
    p.start(batch, args);
    PrintRun r;
    if (!p.waitForFinished(-1) || p.exitCode() != 0) {
        r.error = QString::fromUtf8(p.readAllStandardError()).right(400);
        return r;
    }
    const QStringList w = QString::fromUtf8(p.readAllStandardOutput()).simplified().split(QLatin1Char(' '));
    auto value = [&](const char *key) { return w.value(w.indexOf(QLatin1String(key)) + 1); };
    r.lines = value("righe").toLongLong();
    r.pages = value("pagine").toLongLong();
    r.statements = value("istruzioni").toLongLong();
    r.seconds = value("secondi").toDouble();
    r.cpu = value("cpu").toDouble();
    r.memoryKb = value("memoria_kb").toLongLong();
    r.ok = r.lines > 0;
    return r;
}

inline bool SameFile(const QString &a, const QString &b)
{
    QFile fa(a), fb(b);
    return fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly) && fa.readAll() == fb.readAll();
}

} // namespace kembench
