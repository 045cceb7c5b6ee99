#include "requirements/requirementsselection.h"

#include "common/coderange.h"
#include "requirements/stfabbis.h"
#include "platform/util/kemutil.h"

namespace kem {

namespace {

bool DatesReversed(const QDate &from, const QDate &to)
{
    return !IsBlank(from, VarKind::Date) && !IsBlank(to, VarKind::Date) && from > to;
}

bool NumbersReversed(qint32 from, qint32 to)
{
    return !IsBlank(from, VarKind::Int32) && !IsBlank(to, VarKind::Int32) && from > to;
}

} // namespace

std::optional<RequirementsSelection::Problem> RequirementsSelection::Validate() const
{
    if (CodeRangeReversed(osTipoDocDa, osTipoDocA))
        return Problem{QStringLiteral("Si prega di inserire i tipi documento Ddt in ordine crescente"), TipoDocDa};
    if (DatesReversed(otDataRifDa, otDataRifA))
        return Problem{QStringLiteral("Si prega di inserire le date di riferimento in ordine crescente"), DataRifDa};
    if (NumbersReversed(olNumRifDa, olNumRifA))
        return Problem{QStringLiteral("Si prega di inserire i numeri di riferimento in ordine crescente"), NumRifDa};
    if (DatesReversed(otDataDocDa, otDataDocA))
        return Problem{QStringLiteral("Si prega di inserire le date di ddt in ordine crescente"), DataDocDa};
    if (NumbersReversed(olNumDocDa, olNumDocA))
        return Problem{QStringLiteral("Si prega di inserire i numeri documento in ordine crescente"), NumDocDa};
    if (DatesReversed(otPrevConsDa, otPrevConsA))
        return Problem{QStringLiteral("Si prega di inserire le date di prevista consegna in ordine crescente"), PrevConsDa};
    // The account as the statement compares it: its three parts as one text.
    if (!osGruppoCliDa.trimmed().isEmpty() && !osGruppoCliA.trimmed().isEmpty()
        && CodeRangeReversed(osGruppoCliDa + osMastroCliDa + osContoCliDa, osGruppoCliA + osMastroCliA + osContoCliA))
        return Problem{QStringLiteral("Si prega di inserire i codici in ordine crescente"), ClienteDa};
    if (CodeRangeReversed(osArticoloDa, osArticoloA))
        return Problem{QStringLiteral("Si prega di inserire gli articoli in ordine crescente"), ArticoloDa};
    if (CodeRangeReversed(osArtGruppoDa, osArtGruppoA))
        return Problem{QStringLiteral("Si prega di inserire i gruppi articoli in ordine crescente"), ArtGruppoDa};
    if (CodeRangeReversed(osAgenteDa, osAgenteA))
        return Problem{QStringLiteral("Si prega di inserire i codici in ordine crescente"), AgenteDa};
    // What the dialogs refuse on confirmation.
    if (const auto problem = ClasseAttrCheck(artClasseAttr))
        return Problem{problem->message, ClasseAttrArt};
    if (const auto problem = ClasseAttrCFCheck(pdcClasseAttr, osCatDa, osCatA, osZonDa, osZonA)) {
        const Field field = problem->what == ClasseAttrProblem::Categoria ? Categoria
            : problem->what == ClasseAttrProblem::Zona                     ? Zona
                                                                           : ClasseAttrCF;
        return Problem{problem->message, field};
    }
    // The option groups offer these entries only.
    if (oiTipoStampa < 0 || oiTipoStampa > 2)
        return Problem{QStringLiteral("Errore nel campo 'Tipo stampa:' (0, 1 o 2)"), TipoStampa};
    if (oiQtaMostr < 0 || oiQtaMostr > 1)
        return Problem{QStringLiteral("Errore nel campo 'Quantità da stampare' (0 o 1)"), QtaMostr};
    if (oiQtaElab < 0 || oiQtaElab > 2)
        return Problem{QStringLiteral("Errore nel campo 'Quantità da elaborare' (0, 1 o 2)"), QtaElab};
    return std::nullopt;
}

void RequirementsSelection::ApplyTo(StFabbis &r) const
{
    r.osOrdPre = osOrdPre;
    r.osTipoDocDa = osTipoDocDa;
    r.osTipoDocA = osTipoDocA;
    r.otDataRifDa = otDataRifDa;
    r.otDataRifA = otDataRifA;
    r.olNumRifDa = olNumRifDa;
    r.olNumRifA = olNumRifA;
    r.otDataDocDa = otDataDocDa;
    r.otDataDocA = otDataDocA;
    r.olNumDocDa = olNumDocDa;
    r.olNumDocA = olNumDocA;
    r.otPrevConsDa = otPrevConsDa;
    r.otPrevConsA = otPrevConsA;
    r.osArticoloDa = osArticoloDa;
    r.osArticoloA = osArticoloA;
    r.osArtGruppoDa = osArtGruppoDa;
    r.osArtGruppoA = osArtGruppoA;
    r.osArtSottoGru = osArtSottoGru;
    r.osMagazzino = osMagazzino;
    r.osAgenteDa = osAgenteDa;
    r.osDesAgenteDa = osDesAgenteDa;
    r.osAgenteA = osAgenteA;
    r.osDesAgenteA = osDesAgenteA;
    r.osGruppoCliDa = osGruppoCliDa;
    r.osMastroCliDa = osMastroCliDa;
    r.osContoCliDa = osContoCliDa;
    r.osGruppoCliA = osGruppoCliA;
    r.osMastroCliA = osMastroCliA;
    r.osContoCliA = osContoCliA;
    r.osPdcClasseAttrDa = pdcClasseAttr.da;
    r.osPdcClasseAttrA = pdcClasseAttr.a;
    r.osCatDa = osCatDa;
    r.osCatA = osCatA;
    r.osZonDa = osZonDa;
    r.osZonA = osZonA;
    r.osArtClasseAttrDa = artClasseAttr.da;
    r.osArtClasseAttrA = artClasseAttr.a;
    r.obOrdNumdoc = olNumDocDa != 0 && olNumDocA != 0;
    r.obSaltoPag = obSaltoPag;
    r.obPrelvo = obPrelvo;
    r.obSemilav = obSemilav;
    r.oiTipoStampa = oiTipoStampa;
    r.oiQtaElab = oiQtaElab;
    r.oiQtaMostr = oiQtaMostr;
}

} // namespace kem
