// distinta-batch demo DIR: writes the demo company.
#include "apps/distinta-batch/batchcommand.h"
#include "apps/distinta-batch/commandline.h"

#include "schema/democompany.h"

#include <QDir>

namespace kem::batch {

int RunDemo(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Scrive l'azienda dimostrativa (ini, database, menu, immagini) in DIR."));
    const QCommandLineOption force(QStringLiteral("force"),
                                   QStringLiteral("Riscrive l'azienda anche se DIR non è vuota."));
    parser.addOption(force);
    parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("Cartella dell'azienda."));
    if (auto stop = ParseArguments(parser, QStringLiteral("demo"), args))
        return *stop;
    const auto dir = TargetDirectory(parser, QStringLiteral("demo"), parser.isSet(force));
    if (!dir)
        return ExitUsage;
    QString error;
    if (!WriteDemoCompany(*dir, &error)) {
        PrintError(QStringLiteral("Azienda dimostrativa non scritta: ") + error);
        return ExitFailure;
    }
    PrintOut(QStringLiteral("Azienda dimostrativa scritta in %1\n")
                 .arg(QDir(*dir).absolutePath()));
    return ExitOk;
}

} // namespace kem::batch
