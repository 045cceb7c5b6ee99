#include "substitution/substitutionselection.h"

#include "bomcore/fieldtext.h"
#include "platform/help/decodeservice.h"
#include "platform/util/kemutil.h"

namespace kem {

namespace {

const QString kInvalidData = QStringLiteral("Ci sono dei dati non validi");
const QString kRequired = QStringLiteral(" Obbligatorio");

QString DistBaseFilter(int a, int b)
{
    return QStringLiteral(" (DistBase = ") + SqlLiteral(a, VarKind::Int16) + QStringLiteral(" OR ")
        + QStringLiteral(" DistBase = ") + SqlLiteral(b, VarKind::Int16) + QStringLiteral(")");
}

} // namespace

const QStringList &SubstitutionSelection::QualeImportoItems()
{
    static const QStringList items{
        QStringLiteral("Nessun cambiamento"), QStringLiteral("M = costo medio"), QStringLiteral("U = ultimo costo"),
        QStringLiteral("S = standard"), QStringLiteral("L = da listino"),
    };
    return items;
}

QString SubstitutionSelection::ComponentFilter() { return DistBaseFilter(3, 2); }
QString SubstitutionSelection::ParentFilter() { return DistBaseFilter(1, 2); }

QString SubstitutionSelection::Caption(Field field) const
{
    switch (field) {
    case Articolo:
        return deletion() ? QStringLiteral("Articolo da cancellare") : QStringLiteral("Articolo da sostituire");
    case Sostituto: return QStringLiteral("Articolo con cui sostituire");
    case Um: return QStringLiteral("Unità di misura");
    case Proporzione: return QStringLiteral("Proporzione quantità");
    case Listino: return QStringLiteral("Listino");
    case PadreDa: return QStringLiteral("Aggiornare solo le distinte base degli articoli da");
    case PadreA: return QStringLiteral("Aggiornare solo le distinte base degli articoli a");
    case QualeImporto: return QStringLiteral("Quale importo");
    case None: break;
    }
    return {};
}

std::optional<SubstitutionSelection::Problem> SubstitutionSelection::Validate(DecodeService *codes) const
{
    if (oiTipoOpe != Sostituzione && oiTipoOpe != Cancellazione)
        return Problem{QStringLiteral("Errore nel campo 'Tipo elaborazione'"), None};
    if (!deletion() && (oiQualeImporto < 0 || oiQualeImporto >= QualeImportoItems().size()))
        return Problem{QStringLiteral("Errore nel campo 'Quale importo'"), QualeImporto};
    const bool replace = !deletion();
    if (codes) {
        struct Box { Field field; const QString &text; QString kind, where; bool used; };
        const QString article = QStringLiteral("Articolo");
        const Box boxes[] = {
            {Articolo, osArticolo, article, ComponentFilter(), true},
            {PadreDa, osPadreDa, article, ParentFilter(), true},
            {PadreA, osPadreA, article, ParentFilter(), true},
            {Sostituto, osSostituto, article, ComponentFilter(), replace},
            {Um, osUm, QStringLiteral("ArtUm"), QString(), replace},
            {Listino, osListino, QStringLiteral("Listino"), QString(), replace},
        };
        for (const Box &b : boxes) {
            if (!b.used || IsBlank(b.text, VarKind::Text))
                continue;
            if (!codes->Decode(b.kind, b.text, b.where).found)
                return Problem{kInvalidData, b.field, Caption(b.field) + QStringLiteral(": ") + b.text + QLatin1Char(' ') + QStringLiteral("** INESISTENTE **")};
        }
    }
    if (replace && codes) {
        bool ok = false;
        TextToNum(osProporzione, &ok);
        if (!ok)  // a box the form paints in the error colour
            return Problem{kInvalidData, Proporzione, Caption(Proporzione) + QStringLiteral(": ") + osProporzione};
    }
    if (IsBlank(osArticolo, VarKind::Text))
        return Problem{Caption(Articolo) + kRequired, Articolo};
    if (replace) {
        if (IsBlank(osSostituto, VarKind::Text))
            return Problem{Caption(Sostituto) + kRequired, Sostituto};
        if (IsBlank(osProporzione, VarKind::Text))
            return Problem{Caption(Proporzione) + kRequired, Proporzione};
        bool ok = false;
        const double f = TextToNum(osProporzione, &ok);
        // Zero would empty every quantity (or divide by zero), a negative factor turn them round.
        if (!ok || !(f > 0))
            return Problem{QStringLiteral("La proporzione quantità deve essere un numero maggiore di zero"), Proporzione};
        if (SameText(osSostituto.trimmed(), osArticolo.trimmed()))
            return Problem{QStringLiteral("L'articolo con cui sostituire è uguale all'articolo da sostituire"), Sostituto};
    }
    return std::nullopt;
}

double SubstitutionSelection::factor() const { return TextToNum(osProporzione); }

QString SubstitutionSelection::qualeImportoLetter() const
{
    if (oiQualeImporto <= 0 || oiQualeImporto >= QualeImportoItems().size())
        return {};
    return QualeImportoItems().at(oiQualeImporto).left(1);
}

BomLinkSelection SubstitutionSelection::which() const { return {osArticolo, osPadreDa, osPadreA}; }

BomLinkChange SubstitutionSelection::change() const
{
    return {osSostituto, osUm, qualeImportoLetter(), osListino, factor(), oiOperatore == Divisione};
}

} // namespace kem
