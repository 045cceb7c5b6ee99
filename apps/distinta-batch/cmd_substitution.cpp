// distinta-batch substitution --company DIR --componente X (--sostituto Y [--um U]
//                            [--quale-importo M|U|S|L] [--listino L] [--proporzione F]
//                            [--divisione] | --delete) [--padre-da A] [--padre-a B] [--dry-run]
// Replaces or deletes a component in the bills of materials of a company directory, with the
// checks and messages of the form "Sostituzione / Cancellazione articoli di base e/o
// semilavorati". The command is the confirmation: nothing is asked. --dry-run changes nothing
// and lists the links the run would change.
#include "apps/distinta-batch/batchcommand.h"
#include "apps/distinta-batch/commandline.h"
#include "apps/distinta-batch/reportoutput.h"

#include "common/funvarie.h"
#include "common/msgsinks.h"
#include "platform/help/decodeservice.h"
#include "reportkit/company.h"
#include "substitution/substitutionengine.h"
#include "substitution/substitutionselection.h"

namespace kem::batch {

namespace {

const QString kCommand = QStringLiteral("substitution");

// The exit code of a run of the engine.
int OutcomeExit(SubstitutionEngine::Outcome outcome)
{
    switch (outcome) {
    case SubstitutionEngine::Outcome::Done: return ExitOk;
    case SubstitutionEngine::Outcome::Failed: return ExitFailure;
    case SubstitutionEngine::Outcome::Refused:
    case SubstitutionEngine::Outcome::Cancelled: break;
    }
    return ExitUsage;
}

} // namespace

int RunSubstitution(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Sostituisce o cancella un componente nelle distinte base, come il tasto \"&Esegui\" della "
        "maschera \"Sostituzione / Cancellazione articoli di base e/o semilavorati\". Il comando è la "
        "conferma: non chiede nulla. Con --dry-run non cambia nulla e scrive sullo standard output una "
        "riga per legame scelto: padre;componente;unità;quantità prima;sostituto;unità dopo;quantità dopo.\n"
        "I campi sono controllati come nella maschera (i codici devono esistere); una richiesta rifiutata "
        "termina con il suo messaggio sullo standard error. Tutta la modifica avviene in una sola "
        "transazione: un errore lascia ogni legame com'era.\n"
        "Codici di uscita: 0 eseguita (il messaggio con il numero di elementi va sullo standard output), "
        "1 errore, 2 uso errato o richiesta rifiutata."));
    const QString def;
    QList<QCommandLineOption> options{
        {QStringLiteral("company"), QStringLiteral("Cartella dell'azienda (con kemora-menu.ini)."), QStringLiteral("DIR")},
        {QStringLiteral("componente"), QStringLiteral("txt(10), \"Articolo da sostituire:\" o \"Articolo da cancellare\" (materiale di base o semilavorato)."), QStringLiteral("COD")},
        {QStringLiteral("sostituto"), QStringLiteral("txt(20), \"Articolo con cui sostituire:\" (materiale di base o semilavorato)."), QStringLiteral("COD")},
        {QStringLiteral("padre-da"), QStringLiteral("txt(60), prima distinta da aggiornare. Predefinito: vuoto, nessun limite."), QStringLiteral("COD"), def},
        {QStringLiteral("padre-a"), QStringLiteral("txt(70), ultima distinta da aggiornare. Predefinito: vuoto, nessun limite."), QStringLiteral("COD"), def},
        {QStringLiteral("um"), QStringLiteral("txt(30), nuova unità di misura dei legami. Predefinito: vuoto, non cambia."), QStringLiteral("UM"), def},
        {QStringLiteral("quale-importo"), QStringLiteral("\"Quale importo:\" M costo medio, U ultimo costo, S standard, L da listino. Predefinito: nessun cambiamento."), QStringLiteral("M|U|S|L")},
        {QStringLiteral("listino"), QStringLiteral("txt(50), nuovo listino dei legami. Predefinito: vuoto, non cambia."), QStringLiteral("COD"), def},
        {QStringLiteral("proporzione"), QStringLiteral("txt(40), \"Proporzione quantità:\", all'italiana (0,5). 1 non cambia le quantità."), QStringLiteral("N"), QStringLiteral("1")},
        {QStringLiteral("divisione"), QStringLiteral("Divide le quantità per la proporzione (altrimenti le moltiplica).")},
        {QStringLiteral("delete"), QStringLiteral("\"Cancellazione\": cancella i legami del componente invece di sostituirlo.")},
        {QStringLiteral("dry-run"), QStringLiteral("Non cambia nulla: elenca i legami che l'esecuzione cambierebbe.")},
    };
    DescribeDefaults(options);
    parser.addOptions(options);
    if (auto stop = ParseArguments(parser, kCommand, args))
        return *stop;
    if (const auto stop = CheckCompanyArguments(parser, kCommand))
        return *stop;

    SubstitutionSelection selection;
    const bool deletion = parser.isSet(QStringLiteral("delete"));
    if (deletion) {
        for (const char *o : {"sostituto", "um", "quale-importo", "listino", "proporzione", "divisione"}) {
            if (parser.isSet(QString::fromLatin1(o)))
                return UsageError(kCommand, QStringLiteral("--%1 non si usa con --delete").arg(QString::fromLatin1(o)));
        }
    }
    selection.oiTipoOpe = deletion ? SubstitutionSelection::Cancellazione : SubstitutionSelection::Sostituzione;
    selection.osArticolo = parser.value(QStringLiteral("componente"));
    selection.osSostituto = parser.value(QStringLiteral("sostituto"));
    selection.osPadreDa = parser.value(QStringLiteral("padre-da"));
    selection.osPadreA = parser.value(QStringLiteral("padre-a"));
    selection.osUm = parser.value(QStringLiteral("um"));
    selection.osListino = parser.value(QStringLiteral("listino"));
    selection.osProporzione = parser.value(QStringLiteral("proporzione"));
    selection.oiOperatore = parser.isSet(QStringLiteral("divisione")) ? SubstitutionSelection::Divisione
                                                                      : SubstitutionSelection::Moltiplicazione;
    if (parser.isSet(QStringLiteral("quale-importo"))) {
        const QString letter = parser.value(QStringLiteral("quale-importo")).trimmed().toUpper();
        const QStringList &items = SubstitutionSelection::QualeImportoItems();
        selection.oiQualeImporto = -1;
        for (qsizetype i = 1; i < items.size(); ++i) {
            if (letter.size() == 1 && items.at(i).startsWith(letter))
                selection.oiQualeImporto = static_cast<qint16>(i);
        }
        if (selection.oiQualeImporto < 0)
            return UsageError(kCommand, QStringLiteral("Valore non valido per --quale-importo: %1 (M, U, S o L)")
                                            .arg(parser.value(QStringLiteral("quale-importo"))));
    }

    StderrMessageSink sink;
    try {
        QString error;
        const std::unique_ptr<CompanySession> company =
            CompanySession::Open(parser.value(QStringLiteral("company")), sink, &error, &PrintError);
        if (!company) {
            PrintError(QStringLiteral("Azienda non leggibile: ") + error);
            return ExitFailure;
        }
        DecodeService codes(company->db());
        SubstitutionEngine engine(company->db(), company->params());
        if (parser.isSet(QStringLiteral("dry-run"))) {
            QStringList lines;
            const auto r = engine.DryRun(selection, sink, &codes, &lines);
            if (r.outcome == SubstitutionEngine::Outcome::Done && !lines.isEmpty())
                PrintOut(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
            return OutcomeExit(r.outcome);
        }
        const auto r = engine.Run(selection, sink, false, &codes);
        if (r.outcome == SubstitutionEngine::Outcome::Done)
            PrintOut(r.message + QLatin1Char('\n'));
        return OutcomeExit(r.outcome);
    } catch (const std::exception &e) {
        const ErrorInfo info = ErrorInfoFrom(e);
        sink.MsgErrfrm(info.number, ErrorDescription(info.description, info.source), QStringLiteral("(distinta-batch substitution) "));
        return ExitFailure;
    }
}

} // namespace kem::batch
