#include "implosion/implosionselection.h"

#include "common/coderange.h"
#include "implosion/stimpldiba.h"

namespace kem {

std::optional<ImplosionSelection::Problem> ImplosionSelection::Validate() const
{
    if (CodeRangeReversed(osArticoloDa, osArticoloA))
        return Problem{QStringLiteral("Si prega di inserire gli articoli in ordine crescente"), ArticoloDa, true};
    // The combo box offers three entries only; any other value selects nothing sensible.
    if (oiTipoDibaArt < 0 || oiTipoDibaArt > 2)
        return Problem{QStringLiteral("Errore nel campo 'Articoli da considerare'"), TipoDibaArt};
    if (oiLivelli < 0)
        return Problem{QStringLiteral("Il numero di livelli non può essere negativo (0: tutti i livelli)"), Livelli};
    return std::nullopt;
}

void ImplosionSelection::ApplyTo(StImplDiBa &r) const
{
    r.osArticoloDa = osArticoloDa;
    r.osArticoloA = osArticoloA;
    r.oiTipoDibaArt = oiTipoDibaArt;
    r.oiLivelli = oiLivelli;
}

} // namespace kem
