// distinta-batch requirements --company DIR --user NAME --out FILE [one option per field of
// the requirements report]
// Runs the requirements print headless on a company directory: the company variables come
// from DIR/kemora-menu.ini, messages go to standard error with their default answers.
#include "apps/distinta-batch/batchcommand.h"
#include "apps/distinta-batch/commandline.h"
#include "apps/distinta-batch/reportoutput.h"

#include "common/funvarie.h"
#include "common/msgsinks.h"
#include "platform/printlib/printoptions.h"
#include "print/aziendautilstampe.h"
#include "reportkit/company.h"
#include "reportkit/reportprintservices.h"
#include "requirements/requirementsselection.h"
#include "requirements/stfabbis.h"

namespace kem::batch {

namespace {

const QString kCommand = QStringLiteral("requirements");
const QString kFormKey = QStringLiteral("frmStaFabbis");

// A number bound: blank is no bound (0).
std::optional<qint32> BoundOption(const QCommandLineParser &parser, const QString &option)
{
    if (parser.value(option).trimmed().isEmpty())
        return 0;
    const auto v = IntOption(parser, option);
    if (!v)
        return std::nullopt;
    return static_cast<qint32>(*v);
}

// The class bounds "N=VALUE" of a repeated option, N the class level 1 to 5.
bool ClassBounds(const QCommandLineParser &parser, const QString &option, ClasseAttrBounds &bounds)
{
    for (const QString &item : parser.values(option)) {
        const qsizetype eq = item.indexOf(QLatin1Char('='));
        bool ok = false;
        const int level = eq > 0 ? item.left(eq).trimmed().toInt(&ok) : 0;
        if (!ok || level < 1 || level > ClasseAttrRange::kLevels) {
            PrintError(QStringLiteral("Valore non valido per --%1: \"%2\" (LIVELLO=VALORE, livello da 1 a 5)")
                           .arg(option, item));
            return false;
        }
        bounds[static_cast<size_t>(level - 1)] = item.mid(eq + 1);
    }
    return true;
}

} // namespace

int RunRequirements(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Stampa il fabbisogno dei componenti per le righe aperte degli ordini (o dei preventivi) "
        "di un'azienda su un file, come il tasto \"&Stampa\" della maschera \"Stampa Fabbisogni\". "
        "Senza opzioni i campi hanno i valori iniziali della maschera: ordini, Documento/Articolo, "
        "fabbisogno totale, nessun limite.\n") + ReportRunHelp());
    const QString def;
    QList<QCommandLineOption> options = CompanyAndOutOptions();
    auto text = [&](const char *name, const char *help, const char *value = "COD") {
        return QCommandLineOption(QString::fromLatin1(name), QString::fromUtf8(help), QString::fromLatin1(value), def);
    };
    options << QList<QCommandLineOption>{
        {QStringLiteral("user"), QStringLiteral("Utente della stampa: le righe di appoggio (AppoggioTemp) sono sue."), QStringLiteral("NOME"), def},
        {QStringLiteral("ord-pre"), QStringLiteral("osOrdPre, \"Quali Documenti:\": O ordini, P preventivi."), QStringLiteral("O|P"), QStringLiteral("O")},
        {QStringLiteral("tipo-stampa"), QStringLiteral("oiTipoStampa: 0 Documento/Articolo, 1 Articolo/Documento, 2 raggruppato per articolo."), QStringLiteral("N"), QStringLiteral("0")},
        {QStringLiteral("qta-mostr"), QStringLiteral("oiQtaMostr, \"Quantità da stampare\": 0 Fabbisogno, 1 Fabbisogno - giacenza."), QStringLiteral("N"), QStringLiteral("0")},
        {QStringLiteral("qta-elab"), QStringLiteral("oiQtaElab, \"Quantità da elaborare\": 0 Totale, 1 Totale - disponibilità, 2 Totale - giacenza."), QStringLiteral("N"), QStringLiteral("0")},
        {QStringLiteral("prelvo"), QStringLiteral("obPrelvo, \"Stampo DiBa articoli\": S o N."), QStringLiteral("S|N"), QStringLiteral("N")},
        {QStringLiteral("semilav"), QStringLiteral("obSemilav, \"Includere anche i semilavorati:\": S o N."), QStringLiteral("S|N"), QStringLiteral("N")},
        {QStringLiteral("salto-pag"), QStringLiteral("obSaltoPag, \"Salto Pagina ad ogni Nuovo Ordine:\": S o N."), QStringLiteral("S|N"), QStringLiteral("N")},
        {QStringLiteral("ord-numdoc"), QStringLiteral("obOrdNumdoc: ordina per data e numero documento, S o N; vuoto: come la maschera, S quando sono dati i due numeri documento."), QStringLiteral("S|N"), def},
        text("tipo-doc-da", "osTipoDocDa: primo tipo documento."),
        text("tipo-doc-a", "osTipoDocA: ultimo tipo documento."),
        text("data-rif-da", "otDataRifDa: prima data di riferimento (gg/mm/aaaa).", "DATA"),
        text("data-rif-a", "otDataRifA: ultima data di riferimento.", "DATA"),
        text("num-rif-da", "olNumRifDa: primo numero di riferimento.", "N"),
        text("num-rif-a", "olNumRifA: ultimo numero di riferimento.", "N"),
        text("data-doc-da", "otDataDocDa: prima data documento.", "DATA"),
        text("data-doc-a", "otDataDocA: ultima data documento.", "DATA"),
        text("num-doc-da", "olNumDocDa: primo numero documento.", "N"),
        text("num-doc-a", "olNumDocA: ultimo numero documento.", "N"),
        text("prev-cons-da", "otPrevConsDa: prima data prevista di consegna (della riga, o della testata quando la riga non l'ha).", "DATA"),
        text("prev-cons-a", "otPrevConsA: ultima data prevista di consegna.", "DATA"),
        text("gruppo-cli-da", "osGruppoCliDa: gruppo del primo cliente."),
        text("mastro-cli-da", "osMastroCliDa: mastro del primo cliente."),
        text("conto-cli-da", "osContoCliDa: conto del primo cliente."),
        text("gruppo-cli-a", "osGruppoCliA: gruppo dell'ultimo cliente."),
        text("mastro-cli-a", "osMastroCliA: mastro dell'ultimo cliente."),
        text("conto-cli-a", "osContoCliA: conto dell'ultimo cliente."),
        text("articolo-da", "osArticoloDa: primo articolo ordinato."),
        text("articolo-a", "osArticoloA: ultimo articolo ordinato."),
        text("art-gruppo-da", "osArtGruppoDa: primo gruppo articoli."),
        text("art-gruppo-a", "osArtGruppoA: ultimo gruppo articoli."),
        text("art-sotto-gru", "osArtSottoGru: sottogruppo articoli."),
        text("cat-da", "osCatDa: prima categoria clienti."),
        text("cat-a", "osCatA: ultima categoria clienti."),
        text("zon-da", "osZonDa: prima zona clienti."),
        text("zon-a", "osZonA: ultima zona clienti."),
        text("agente-da", "osAgenteDa: primo agente (primo o secondo agente del documento)."),
        text("agente-a", "osAgenteA: ultimo agente."),
        text("des-agente-da", "osDesAgenteDa: descrizione del primo agente nella riga delle selezioni.", "TESTO"),
        text("des-agente-a", "osDesAgenteA: descrizione dell'ultimo agente.", "TESTO"),
        text("magazzino", "osMagazzino: magazzino di provenienza o di destinazione; limita anche la giacenza."),
        {QStringLiteral("art-classe-attr-da"), QStringLiteral("osArtClasseAttrDa: limite inferiore di un livello di classe degli articoli, LIVELLO=VALORE (ripetibile)."), QStringLiteral("N=VALORE")},
        {QStringLiteral("art-classe-attr-a"), QStringLiteral("osArtClasseAttrA: limite superiore di un livello di classe degli articoli, LIVELLO=VALORE (ripetibile)."), QStringLiteral("N=VALORE")},
        {QStringLiteral("pdc-classe-attr-da"), QStringLiteral("osPdcClasseAttrDa: limite inferiore di un livello di classe dei clienti, LIVELLO=VALORE (ripetibile)."), QStringLiteral("N=VALORE")},
        {QStringLiteral("pdc-classe-attr-a"), QStringLiteral("osPdcClasseAttrA: limite superiore di un livello di classe dei clienti, LIVELLO=VALORE (ripetibile)."), QStringLiteral("N=VALORE")},
        {QStringLiteral("straightforward"), QStringLiteral("Percorso senza cache: ogni legame letto e ogni riga di appoggio scritta con la propria istruzione.")},
        StatsOption(),
    };
    DescribeDefaults(options);
    parser.addOptions(options);
    if (auto stop = ParseArguments(parser, kCommand, args))
        return *stop;
    if (const auto stop = CheckReportArguments(parser, kCommand))
        return *stop;
    const QString user = parser.value(QStringLiteral("user")).trimmed();
    if (user.isEmpty())
        return UsageError(kCommand, QStringLiteral("Manca --user: le righe di appoggio della stampa appartengono a un utente"));

    RequirementsSelection s;
    auto value = [&](const char *name) { return parser.value(QString::fromLatin1(name)); };
    s.osOrdPre = value("ord-pre").trimmed().toUpper();
    if (s.osOrdPre != QLatin1String("O") && s.osOrdPre != QLatin1String("P"))
        return UsageError(kCommand, QStringLiteral("Valore non valido per --ord-pre: \"%1\" (O oppure P)").arg(value("ord-pre")));
    const auto tipo = IntOption(parser, QStringLiteral("tipo-stampa"));
    const auto mostr = IntOption(parser, QStringLiteral("qta-mostr"));
    const auto elab = IntOption(parser, QStringLiteral("qta-elab"));
    const auto prelvo = FlagOption(parser, QStringLiteral("prelvo"));
    const auto semilav = FlagOption(parser, QStringLiteral("semilav"));
    const auto salto = FlagOption(parser, QStringLiteral("salto-pag"));
    const bool numDocSet = !value("ord-numdoc").trimmed().isEmpty();
    const auto numDoc = numDocSet ? FlagOption(parser, QStringLiteral("ord-numdoc")) : std::optional<bool>(false);
    const auto dataRifDa = DateOption(parser, QStringLiteral("data-rif-da"));
    const auto dataRifA = DateOption(parser, QStringLiteral("data-rif-a"));
    const auto dataDocDa = DateOption(parser, QStringLiteral("data-doc-da"));
    const auto dataDocA = DateOption(parser, QStringLiteral("data-doc-a"));
    const auto consDa = DateOption(parser, QStringLiteral("prev-cons-da"));
    const auto consA = DateOption(parser, QStringLiteral("prev-cons-a"));
    const auto numRifDa = BoundOption(parser, QStringLiteral("num-rif-da"));
    const auto numRifA = BoundOption(parser, QStringLiteral("num-rif-a"));
    const auto numDocDa = BoundOption(parser, QStringLiteral("num-doc-da"));
    const auto numDocA = BoundOption(parser, QStringLiteral("num-doc-a"));
    if (!tipo || !mostr || !elab || !prelvo || !semilav || !salto || !numDoc || !dataRifDa || !dataRifA || !dataDocDa
        || !dataDocA || !consDa || !consA || !numRifDa || !numRifA || !numDocDa || !numDocA)
        return ExitUsage;
    if (!ClassBounds(parser, QStringLiteral("art-classe-attr-da"), s.artClasseAttr.da)
        || !ClassBounds(parser, QStringLiteral("art-classe-attr-a"), s.artClasseAttr.a)
        || !ClassBounds(parser, QStringLiteral("pdc-classe-attr-da"), s.pdcClasseAttr.da)
        || !ClassBounds(parser, QStringLiteral("pdc-classe-attr-a"), s.pdcClasseAttr.a))
        return ExitUsage;
    s.oiTipoStampa = static_cast<qint16>(*tipo);
    s.oiQtaMostr = static_cast<qint16>(*mostr);
    s.oiQtaElab = static_cast<qint16>(*elab);
    s.obPrelvo = *prelvo;
    s.obSemilav = *semilav;
    s.obSaltoPag = *salto;
    s.osTipoDocDa = value("tipo-doc-da");
    s.osTipoDocA = value("tipo-doc-a");
    s.otDataRifDa = *dataRifDa;
    s.otDataRifA = *dataRifA;
    s.olNumRifDa = *numRifDa;
    s.olNumRifA = *numRifA;
    s.otDataDocDa = *dataDocDa;
    s.otDataDocA = *dataDocA;
    s.olNumDocDa = *numDocDa;
    s.olNumDocA = *numDocA;
    s.otPrevConsDa = *consDa;
    s.otPrevConsA = *consA;
    s.osGruppoCliDa = value("gruppo-cli-da");
    s.osMastroCliDa = value("mastro-cli-da");
    s.osContoCliDa = value("conto-cli-da");
    s.osGruppoCliA = value("gruppo-cli-a");
    s.osMastroCliA = value("mastro-cli-a");
    s.osContoCliA = value("conto-cli-a");
    s.osArticoloDa = value("articolo-da");
    s.osArticoloA = value("articolo-a");
    s.osArtGruppoDa = value("art-gruppo-da");
    s.osArtGruppoA = value("art-gruppo-a");
    s.osArtSottoGru = value("art-sotto-gru");
    s.osCatDa = value("cat-da");
    s.osCatA = value("cat-a");
    s.osZonDa = value("zon-da");
    s.osZonA = value("zon-a");
    s.osAgenteDa = value("agente-da");
    s.osAgenteA = value("agente-a");
    s.osDesAgenteDa = value("des-agente-da");
    s.osDesAgenteA = value("des-agente-a");
    s.osMagazzino = value("magazzino");
    if (const auto problem = s.Validate()) {
        PrintError(problem->message);
        return ExitUsage;
    }

    const QString companyDir = parser.value(QStringLiteral("company"));
    const QString out = parser.value(QStringLiteral("out"));
    StderrMessageSink sink;
    try {
        const std::unique_ptr<CompanySession> company = OpenRunCompany(companyDir, sink);
        if (!company)
            return ExitFailure;
        AziendaUtilStampe stampe(ReportPrintServices::EnvOf(company->Env(), nullptr));
        StFabbis report(company->db(), company->params(), stampe, sink, &company->menu());
        s.ApplyTo(report);
        if (numDocSet)
            report.obOrdNumdoc = *numDoc;
        report.osUtente = user;
        report.obStraightforward = parser.isSet(QStringLiteral("straightforward"));
        report.ogOpzSta = RunOptions(stampe, kFormKey, out);
        RunMeasured(report, parser.isSet(StatsOption()));
        return RunExitCode(report.LastRun(), QStringLiteral("Fabbisogno stampato"), out);
    } catch (const std::exception &e) {
        return CommandFailed(e, sink, QStringLiteral("requirements"));
    }
}

} // namespace kem::batch
