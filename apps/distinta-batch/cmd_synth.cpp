// distinta-batch synth DIR --products N --depth D --components C --shared PCT [--assemblies S]
//                      [--common-material] [--order-lines N]
#include "apps/distinta-batch/batchcommand.h"
#include "apps/distinta-batch/commandline.h"

#include "schema/synthcompany.h"

#include <QDir>

namespace kem::batch {

int RunSynth(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Scrive in DIR un'azienda sintetica per le prove di carico: N prodotti finiti, ognuno "
        "con una distinta di D livelli e C componenti per assieme, di cui S semilavorati e gli "
        "altri materiali, PCT per cento dei componenti presi da un insieme di semilavorati e "
        "materiali comuni. L'ultimo livello contiene solo materiali."));
    const QCommandLineOption products(QStringLiteral("products"),
                                      QStringLiteral("Numero di prodotti finiti."),
                                      QStringLiteral("N"), QStringLiteral("100"));
    const QCommandLineOption depth(QStringLiteral("depth"),
                                   QStringLiteral("Livelli della distinta sotto ogni prodotto."),
                                   QStringLiteral("D"), QStringLiteral("3"));
    const QCommandLineOption components(QStringLiteral("components"),
                                        QStringLiteral("Componenti di ogni assieme."),
                                        QStringLiteral("C"), QStringLiteral("5"));
    const QCommandLineOption shared(QStringLiteral("shared"),
                                    QStringLiteral("Percentuale di componenti comuni (0-100)."),
                                    QStringLiteral("PCT"), QStringLiteral("30"));
    const QCommandLineOption assemblies(
        QStringLiteral("assemblies"),
        QStringLiteral("Quanti componenti di ogni assieme sopra l'ultimo livello sono "
                       "semilavorati (da 0 a C); gli altri sono materiali. "
                       "Predefinito: tutti (-1)."),
        QStringLiteral("S"));
    const QCommandLineOption common(
        QStringLiteral("common-material"),
        QStringLiteral("Aggiunge il materiale MAT-COMUNE come componente di ogni assieme (prodotti e "
                       "semilavorati): un componente usato in tanti legami quanti sono gli assiemi."));
    const QCommandLineOption orderLines(
        QStringLiteral("order-lines"),
        QStringLiteral("Righe aperte degli ordini clienti sui prodotti (quattro per ordine), per la stampa "
                       "dei fabbisogni; in più ordini chiusi, righe chiuse e preventivi."),
        QStringLiteral("N"), QStringLiteral("2000"));
    const QCommandLineOption force(QStringLiteral("force"),
                                   QStringLiteral("Riscrive l'azienda anche se DIR non è vuota."));
    parser.addOptions({products, depth, components, shared, assemblies, common, orderLines, force});
    parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("Cartella dell'azienda."));
    if (auto stop = ParseArguments(parser, QStringLiteral("synth"), args))
        return *stop;
    const auto n = IntOption(parser, QStringLiteral("products"));
    const auto d = IntOption(parser, QStringLiteral("depth"));
    const auto c = IntOption(parser, QStringLiteral("components"));
    const auto pct = NumberOption(parser, QStringLiteral("shared"));
    const auto s = parser.isSet(assemblies) ? IntOption(parser, QStringLiteral("assemblies"))
                                            : std::optional<int>(-1);
    const auto lines = IntOption(parser, QStringLiteral("order-lines"));
    if (!n || !d || !c || !pct || !s || !lines)
        return ExitUsage;
    const SynthParams params{*n, *d, *c, *pct, *s, parser.isSet(common), *lines};
    QString error;
    if (!CheckSynthParams(params, &error)) {
        PrintError(error);
        return ExitUsage;
    }
    const auto dir = TargetDirectory(parser, QStringLiteral("synth"), parser.isSet(force));
    if (!dir)
        return ExitUsage;
    SynthStats stats;
    if (!WriteSynthCompany(*dir, params, &error, &stats)) {
        PrintError(QStringLiteral("Azienda sintetica non scritta: ") + error);
        return ExitFailure;
    }
    PrintOut(QStringLiteral("Azienda sintetica scritta in %1: %2 articoli, %3 legami in %4 s\n")
                 .arg(QDir(*dir).absolutePath())
                 .arg(stats.articles)
                 .arg(stats.links)
                 .arg(stats.seconds, 0, 'f', 2));
    return ExitOk;
}

} // namespace kem::batch
