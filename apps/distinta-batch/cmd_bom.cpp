// distinta-batch bom --company DIR --out FILE [one option per field of the BOM report]
// Runs the BOM print headless on a company directory: the company variables come from
// DIR/kemora-menu.ini, messages go to standard error with their default answers.
#include "apps/distinta-batch/batchcommand.h"
#include "apps/distinta-batch/commandline.h"
#include "apps/distinta-batch/reportdelivery.h"
#include "apps/distinta-batch/reportoutput.h"

#include "bom/bomselection.h"
#include "bom/prelvo.h"
#include "common/funvarie.h"
#include "common/msgsinks.h"
#include "platform/printlib/printoptions.h"
#include "print/aziendautilstampe.h"
#include "reportkit/company.h"
#include "reportkit/reportprintservices.h"

#include <QDir>
#include <QFileInfo>

namespace kem::batch {

namespace {

const QString kFormKey = QStringLiteral("frmPrelvo");

} // namespace

int RunBom(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Stampa la distinta base degli articoli di un'azienda su un file, come il tasto "
        "\"&Stampa\" della maschera \"Stampa distinta base\". Senza opzioni i campi hanno i "
        "valori iniziali della maschera: solo prodotti finiti, quantità prodotta 1, esplosione "
        "scalare su tutti i livelli, importi come dichiarati in distinta.\n") + ReportRunHelp());
    const QString def;
    QList<QCommandLineOption> options = CompanyAndOutOptions();
    options << QList<QCommandLineOption>{
        {QStringLiteral("articolo-da"), QStringLiteral("osArticoloDa: primo articolo padre (vuoto: nessun limite)."), QStringLiteral("COD"), def},
        {QStringLiteral("articolo-a"), QStringLiteral("osArticoloA: ultimo articolo padre (vuoto: nessun limite)."), QStringLiteral("COD"), def},
        {QStringLiteral("tipo-diba"), QStringLiteral("oiTipoDibaArt: 0 tutti, 1 solo prodotti finiti, 2 solo semilavorati."), QStringLiteral("N"), QStringLiteral("1")},
        {QStringLiteral("esp-scal"), QStringLiteral("obEspScal: stampa i componenti (esplosione scalare), S o N."), QStringLiteral("S|N"), QStringLiteral("S")},
        {QStringLiteral("liv-esp"), QStringLiteral("oiLivEsp: livelli di esplosione, 0 o vuoto tutti (0-999)."), QStringLiteral("N"), QStringLiteral("0")},
        {QStringLiteral("qta-prod"), QStringLiteral("odQtaProd: quantità prodotta, maggiore di 0, scritta come nella maschera (2,5); vuota vale 1."), QStringLiteral("Q"), QStringLiteral("1")},
        {QStringLiteral("salto-pag"), QStringLiteral("obSaltoPag: nuova pagina per ogni distinta, S o N."), QStringLiteral("S|N"), QStringLiteral("N")},
        {QStringLiteral("importi"), QStringLiteral("obStampoImporti: stampa la colonna degli importi, S o N."), QStringLiteral("S|N"), QStringLiteral("S")},
        {QStringLiteral("qta-da-dimen"), QStringLiteral("obQtaDaDimen: quantità del padre dalle dimensioni, S o N. Predefinito, come nella maschera: S quando l'azienda calcola le quantità dalle dimensioni (Vendite.QtaDaDimen S), altrimenti N."), QStringLiteral("S|N")},
        {QStringLiteral("larghezza"), QStringLiteral("odLarghezza: larghezza per il calcolo dalle dimensioni (come nella maschera: 12,5)."), QStringLiteral("X"), QStringLiteral("0")},
        {QStringLiteral("lunghezza"), QStringLiteral("odLunghezza: lunghezza per il calcolo dalle dimensioni (come nella maschera: 12,5)."), QStringLiteral("X"), QStringLiteral("0")},
        {QStringLiteral("altezza"), QStringLiteral("odAltezza: altezza per il calcolo dalle dimensioni (come nella maschera: 12,5)."), QStringLiteral("X"), QStringLiteral("0")},
        {QStringLiteral("quale-prezzo"), QStringLiteral("osQualePrezzo: valorizzazione di tutti i legami, vuoto come in distinta, M costo medio, U costo ultimo, S standard, L listino."), QStringLiteral("M|U|S|L"), def},
        {QStringLiteral("listino"), QStringLiteral("osListino: listino usato con --quale-prezzo L."), QStringLiteral("COD"), def},
        {QStringLiteral("list-ivato"), QStringLiteral("osListIvato: S quando i prezzi del listino comprendono l'IVA (la maschera lo lascia vuoto)."), QStringLiteral("S"), def},
        {QStringLiteral("sta-img"), QStringLiteral("obStaImg: immagine dell'articolo principale a fine pagina, S o N."), QStringLiteral("S|N"), QStringLiteral("N")},
        {QStringLiteral("sta-img-riga"), QStringLiteral("obStaImgRiga: immagine in ogni riga, S o N."), QStringLiteral("S|N"), QStringLiteral("N")},
        {QStringLiteral("straightforward"), QStringLiteral("Percorso senza cache: autocommit, istruzioni preparate ogni volta, ogni riga rivalorizzata leggendo il database.")},
    };
    options << StatsOption() << ReportDelivery::Options();
    DescribeDefaults(options);
    parser.addOptions(options);
    if (auto stop = ParseArguments(parser, QStringLiteral("bom"), args))
        return *stop;
    auto usage = [](const QString &message) { return UsageError(QStringLiteral("bom"), message); };
    if (const auto stop = CheckReportArguments(parser, QStringLiteral("bom")))
        return *stop;
    ReportDelivery delivery;
    if (const auto stop = delivery.Read(parser, QStringLiteral("bom")))
        return *stop;
    const QString companyDir = parser.value(QStringLiteral("company"));
    const QString out = parser.value(QStringLiteral("out"));

    const auto tipo = IntOption(parser, QStringLiteral("tipo-diba"));
    const auto espScal = FlagOption(parser, QStringLiteral("esp-scal"));
    const auto saltoPag = FlagOption(parser, QStringLiteral("salto-pag"));
    const auto importi = FlagOption(parser, QStringLiteral("importi"));
    // Without the option the company decides, as it does for the form.
    const auto qtaDaDimen = parser.isSet(QStringLiteral("qta-da-dimen")) ? FlagOption(parser, QStringLiteral("qta-da-dimen"))
                                                                         : std::optional<bool>(false);
    const auto staImg = FlagOption(parser, QStringLiteral("sta-img"));
    const auto staImgRiga = FlagOption(parser, QStringLiteral("sta-img-riga"));
    if (!tipo || !espScal || !saltoPag || !importi || !qtaDaDimen || !staImg || !staImgRiga)
        return ExitUsage;
    if (*tipo < 0 || *tipo > 2)
        return usage(QStringLiteral("Valore non valido per --tipo-diba: %1 (0, 1 o 2)").arg(*tipo));
    const QString qualePrezzo = parser.value(QStringLiteral("quale-prezzo")).trimmed().toUpper();
    if (!qualePrezzo.isEmpty() && !QStringList{"M", "U", "S", "L"}.contains(qualePrezzo))
        return usage(QStringLiteral("Valore non valido per --quale-prezzo: \"%1\" (M, U, S o L)").arg(qualePrezzo));

    // The selection, as the form holds it: numbers are read the Italian way ("2,5"), as the
    // form reads them, and checked by the form's checks.
    BomSelection selection;
    selection.osArticoloDa = parser.value(QStringLiteral("articolo-da"));
    selection.osArticoloA = parser.value(QStringLiteral("articolo-a"));
    selection.oiTipoDibaArt = static_cast<qint16>(*tipo);
    selection.obEspScal = *espScal;
    selection.livEsp = parser.value(QStringLiteral("liv-esp"));
    selection.qtaProd = parser.value(QStringLiteral("qta-prod"));
    selection.obSaltoPag = *saltoPag;
    selection.obStampoImporti = *importi;
    selection.obQtaDaDimen = *qtaDaDimen;
    selection.larghezza = parser.value(QStringLiteral("larghezza"));
    selection.lunghezza = parser.value(QStringLiteral("lunghezza"));
    selection.altezza = parser.value(QStringLiteral("altezza"));
    selection.osQualePrezzo = qualePrezzo;
    selection.osListino = parser.value(QStringLiteral("listino")).trimmed();
    selection.osListIvato = parser.value(QStringLiteral("list-ivato")).trimmed();
    selection.obStaImg = *staImg;
    selection.obStaImgRiga = *staImgRiga;

    StderrMessageSink sink;
    try {
        const std::unique_ptr<CompanySession> company = OpenRunCompany(companyDir, sink);
        if (!company)
            return ExitFailure;
        if (!parser.isSet(QStringLiteral("qta-da-dimen")))
            selection.obQtaDaDimen = BomSelection::CompanyQtaDaDimen(company->menu());
        if (const auto problem = selection.Validate(
                [&](const QString &code) { return BomSelection::ListExists(company->db(), code); })) {
            PrintError(problem->message);
            return ExitUsage;
        }
        AziendaUtilStampe stampe(ReportPrintServices::EnvOf(company->Env(), nullptr));
        const std::shared_ptr<PrintOptions> options = RunOptions(stampe, kFormKey, out);
        const QString file = delivery.OutFile(company->menu(), *options, out);
        SetDestination(*options, file);

        Prelvo report(company->db(), company->params(), stampe, sink);
        selection.ApplyTo(report);
        report.ogOpzSta = options;
        report.PathSet(parser.isSet(QStringLiteral("straightforward")) ? Prelvo::Path::Straightforward
                                                                       : Prelvo::Path::Cached);
        RunMeasured(report, parser.isSet(StatsOption()));
        const Prelvo::RunResult &result = report.LastRun();
        return delivery.Send(company->menu(), *options, file,
                             RunExitCode(result, QStringLiteral("Distinta base stampata"), file));
    } catch (const std::exception &e) {
        return CommandFailed(e, sink, QStringLiteral("bom"));
    }
}

} // namespace kem::batch
