#pragma once
// Runs of distinta-batch for the end-to-end tests, and the files they write read back.
// KEM_BINARY_DIR is defined for every test by kem_add_test.
#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace kemtest {

inline const QString kBatch = QStringLiteral(KEM_BINARY_DIR "/apps/distinta-batch/distinta-batch");

struct BatchResult {
    int exitCode = -1;  // -1: the program crashed or did not end in time
    QString out, err;
};

inline BatchResult RunBatch(const QStringList &args)
{
    QProcess p;
    p.start(kBatch, args);
    BatchResult r;
    if (!p.waitForFinished(300000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

inline QByteArray FileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The lines of a CSV file as the print wrote them (UTF-8 with mark, CR LF), quotes removed.
inline QStringList CsvLines(const QString &path)
{
    QString text = QString::fromUtf8(FileBytes(path));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QStringList lines = text.split(QStringLiteral("\r\n"));
    for (QString &l : lines)
        l.remove(QLatin1Char('"'));
    return lines;
}

} // namespace kemtest
