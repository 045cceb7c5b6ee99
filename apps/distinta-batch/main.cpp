// distinta-batch: the headless side of the BOM module (company generators and, later,
// the reports run to files).
#include "apps/distinta-batch/batchcommand.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <QDir>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>
#include <memory>

using namespace kem::batch;

namespace {

QString Usage()
{
    QString text = QStringLiteral("Uso: distinta-batch COMANDO [opzioni] [argomenti]\n\nComandi:\n");
    for (const BatchCommand &c : BatchCommands())
        text += QStringLiteral("  %1  %2\n").arg(c.name, -12).arg(c.summary);
    text += QStringLiteral("\n\"distinta-batch COMANDO --help\" descrive le opzioni di un comando.\n");
    return text;
}

} // namespace

// Qt wants a private runtime folder and warns on standard error when the environment names
// none (a batch run from cron, a container): make it, as Qt would, without the warning.
void EnsureRuntimeDir()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QByteArray dir = QDir::tempPath().toLocal8Bit() + "/runtime-" + QByteArray::number(getuid());
    ::mkdir(dir.constData(), 0700);
    struct stat st {};
    if (::stat(dir.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid()) {
        ::chmod(dir.constData(), 0700);
        qputenv("XDG_RUNTIME_DIR", dir);
    }
}

int main(int argc, char *argv[])
{
    EnsureRuntimeDir();
    // An output read by another program through a FIFO that closes early is a failed write,
    // told as such, not a signal that ends the process.
    std::signal(SIGPIPE, SIG_IGN);
    // Report runs lay out text and write PDF files: they need Qt's GUI side, never a display.
    bool report = false;
    for (const BatchCommand &c : BatchCommands())
        report = report || (argc > 1 && c.report && c.name == QLatin1String(argv[1]));
    if (report && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app =
        report ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("distinta-batch"));
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        PrintError(Usage());
        return ExitUsage;
    }
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") ||
        name == QLatin1String("help")) {
        PrintOut(Usage());
        return ExitOk;
    }
    for (const BatchCommand &c : BatchCommands()) {
        if (c.name == name)
            return c.run(args);
    }
    PrintError(QStringLiteral("Comando sconosciuto: %1\n").arg(name) + Usage());
    return ExitUsage;
}
