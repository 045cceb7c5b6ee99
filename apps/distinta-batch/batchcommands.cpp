#include "apps/distinta-batch/batchcommand.h"

#include <QTextStream>

namespace kem::batch {

int RunDemo(const QStringList &args);
int RunSynth(const QStringList &args);
int RunBom(const QStringList &args);
int RunImplosion(const QStringList &args);
int RunRequirements(const QStringList &args);
int RunSubstitution(const QStringList &args);

const QList<BatchCommand> &BatchCommands()
{
    static const QList<BatchCommand> commands{
        {QStringLiteral("demo"), QStringLiteral("scrive l'azienda dimostrativa in DIR"), &RunDemo},
        {QStringLiteral("synth"), QStringLiteral("scrive un'azienda sintetica per le prove di carico"),
         &RunSynth},
        {QStringLiteral("bom"), QStringLiteral("stampa la distinta base su un file (pdf, csv, txt, xlsx, fix)"),
         &RunBom, true},
        {QStringLiteral("implosion"),
         QStringLiteral("stampa l'implosione della distinta base su un file (pdf, csv, txt, xlsx, fix)"),
         &RunImplosion, true},
        {QStringLiteral("requirements"),
         QStringLiteral("stampa il fabbisogno dei componenti degli ordini o dei preventivi su un file (pdf, csv, txt, xlsx, fix)"),
         &RunRequirements, true},
        {QStringLiteral("substitution"),
         QStringLiteral("sostituisce o cancella un componente nelle distinte base (--dry-run per vedere prima)"),
         &RunSubstitution},
    };
    return commands;
}

void PrintError(const QString &message)
{
    QTextStream err(stderr);
    err << message << Qt::endl;
}

void PrintOut(const QString &text)
{
    QTextStream out(stdout);
    out << text;
    out.flush();
}

} // namespace kem::batch
