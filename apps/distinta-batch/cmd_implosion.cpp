// distinta-batch implosion --company DIR --out FILE [--articolo-da X] [--articolo-a Y]
//                          [--tipo-diba-art N] [--levels N] [--stats]
// Runs the BOM implosion print headless on a company directory: the company variables come
// from DIR/kemora-menu.ini, messages go to standard error with their default answers.
#include "apps/distinta-batch/batchcommand.h"
#include "apps/distinta-batch/commandline.h"
#include "apps/distinta-batch/reportdelivery.h"
#include "apps/distinta-batch/reportoutput.h"

#include "common/funvarie.h"
#include "common/msgsinks.h"
#include "implosion/implosionselection.h"
#include "implosion/stimpldiba.h"
#include "platform/printlib/printoptions.h"
#include "print/aziendautilstampe.h"
#include "reportkit/company.h"
#include "reportkit/reportprintservices.h"

namespace kem::batch {

namespace {

const QString kCommand = QStringLiteral("implosion");
const QString kFormKey = QStringLiteral("frmStImplDiBa");

} // namespace

int RunImplosion(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Stampa l'implosione della distinta base su un file, come il tasto \"&Stampa\" della "
        "maschera \"Implosione distinta\": per ogni componente dell'intervallo, gli articoli che "
        "lo usano (un solo livello, o con --levels anche gli articoli che usano quelli). Senza "
        "opzioni i campi hanno i valori iniziali della maschera: tutti i componenti, solo "
        "materiale di base, un livello.\n") + ReportRunHelp());
    const QString def;
    QList<QCommandLineOption> options = CompanyAndOutOptions();
    options << QList<QCommandLineOption>{
        {QStringLiteral("articolo-da"), QStringLiteral("osArticoloDa: primo componente. Predefinito: vuoto, nessun limite."), QStringLiteral("COD"), def},
        {QStringLiteral("articolo-a"), QStringLiteral("osArticoloA: ultimo componente. Predefinito: vuoto, nessun limite."), QStringLiteral("COD"), def},
        {QStringLiteral("tipo-diba-art"), QStringLiteral("oiTipoDibaArt, \"Articoli da considerare:\": 0 tutti (semilavorati, materiale di base e ogni altro tipo tranne 0 e 1), 1 solo materiale di base, 2 solo semilavorati."), QStringLiteral("N"), QStringLiteral("1")},
        {QStringLiteral("levels"), QStringLiteral("oiLivelli: livelli di articoli che usano il componente, 1 solo quelli che lo usano direttamente, N fino a N livelli, 0 fino in cima (\"Tutti i livelli\" della maschera). Dal secondo livello ogni codice ha \"* \" per livello e la quantità del componente per unità di quell'articolo."), QStringLiteral("N"), QStringLiteral("1")},
        StatsOption(),
    };
    options << ReportDelivery::Options();
    DescribeDefaults(options);
    parser.addOptions(options);
    if (auto stop = ParseArguments(parser, kCommand, args))
        return *stop;
    if (const auto stop = CheckReportArguments(parser, kCommand))
        return *stop;
    ReportDelivery delivery;
    if (const auto stop = delivery.Read(parser, kCommand))
        return *stop;
    const QString companyDir = parser.value(QStringLiteral("company"));
    const QString out = parser.value(QStringLiteral("out"));
    const auto tipo = IntOption(parser, QStringLiteral("tipo-diba-art"));
    if (!tipo)
        return ExitUsage;
    const auto livelli = IntOption(parser, QStringLiteral("levels"));
    if (!livelli)
        return ExitUsage;
    if (*tipo < 0 || *tipo > 2)
        return UsageError(kCommand, QStringLiteral("Valore non valido per --tipo-diba-art: %1 (0, 1 o 2)").arg(*tipo));

    ImplosionSelection selection;
    selection.osArticoloDa = parser.value(QStringLiteral("articolo-da"));
    selection.osArticoloA = parser.value(QStringLiteral("articolo-a"));
    selection.oiTipoDibaArt = static_cast<qint16>(*tipo);
    selection.oiLivelli = *livelli;
    if (const auto problem = selection.Validate()) {
        PrintError(problem->message);
        return ExitUsage;
    }

    StderrMessageSink sink;
    try {
        const std::unique_ptr<CompanySession> company = OpenRunCompany(companyDir, sink);
        if (!company)
            return ExitFailure;
        AziendaUtilStampe stampe(ReportPrintServices::EnvOf(company->Env(), nullptr));
        StImplDiBa report(company->db(), company->params(), stampe, sink);
        selection.ApplyTo(report);
        report.ogOpzSta = RunOptions(stampe, kFormKey, out);
        const QString file = delivery.OutFile(company->menu(), *report.ogOpzSta, out);
        SetDestination(*report.ogOpzSta, file);
        RunMeasured(report, parser.isSet(StatsOption()));
        return delivery.Send(company->menu(), *report.ogOpzSta, file,
                             RunExitCode(report.LastRun(), QStringLiteral("Implosione distinta base stampata"), file));
    } catch (const std::exception &e) {
        return CommandFailed(e, sink, QStringLiteral("implosion"));
    }
}

} // namespace kem::batch
