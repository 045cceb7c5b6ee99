#include "bom/bomselection.h"

#include "common/aziendautil.h"

#include "bom/prelvo.h"
#include "common/coderange.h"
#include "platform/help/decodeservice.h"
#include "platform/util/kemutil.h"

#include <cmath>

namespace kem {

namespace {

// The widest quantity the quantity column shows ("999,999,999,999").
constexpr double kMaxQuantity = 999999999999.0;

bool notANumber(const QString &text)
{
    bool ok = true;
    const double value = TextToNum(text, &ok);
    return !ok || !std::isfinite(value);
}

} // namespace

bool BomSelection::LivEspInError(const QString &text)
{
    if (notANumber(text))
        return true;
    if (text.trimmed().isEmpty())
        return false;
    const double value = TextToNum(text);
    return value > 999 || value < 0;
}

bool BomSelection::QtaProdInError(const QString &text)
{
    if (notANumber(text))
        return true;
    if (text.trimmed().isEmpty())
        return false;  // a blank box is no quantity: the run counts it as 1
    const double value = TextToNum(text);
    return value <= 0 || value > kMaxQuantity;
}

bool BomSelection::DimensionInError(const QString &text)
{
    return notANumber(text);
}

std::optional<BomSelection::Problem> BomSelection::Validate(
    const std::function<bool(const QString &)> &listExists) const
{
    if (DimensionInError(lunghezza))
        return Problem{QStringLiteral("Errore nel campo 'Lunghezza'"), Lunghezza};
    if (DimensionInError(larghezza))
        return Problem{QStringLiteral("Errore nel campo 'Larghezza'"), Larghezza};
    if (DimensionInError(altezza))
        return Problem{QStringLiteral("Errore nel campo 'Altezza'"), Altezza};
    if (CodeRangeReversed(osArticoloDa, osArticoloA))
        return Problem{QStringLiteral("Si prega di inserire gli articoli in ordine crescente"), None, true};
    if (obEspScal && LivEspInError(livEsp))
        return Problem{QStringLiteral("Errore nel campo 'Livello di Esplosione'"), LivEsp};
    if (QtaProdInError(qtaProd))
        return Problem{QStringLiteral("Errore nel campo 'Quantità Prodotta'"), QtaProd};
    if (osQualePrezzo == QLatin1String("L")
        && (osListino.trimmed().isEmpty() || !listExists || !listExists(osListino)))
        return Problem{QStringLiteral("Inserire un codice listino valido'"), Listino};
    return std::nullopt;
}

bool BomSelection::ListExists(Database &db, const QString &code)
{
    return DecodeService(db).Decode(QStringLiteral("Listino"), code).found;
}

void BomSelection::ApplyTo(Prelvo &r) const
{
    r.osArticoloDa = osArticoloDa;
    r.osArticoloA = osArticoloA;
    r.oiTipoDibaArt = oiTipoDibaArt;
    r.obStampoImporti = obStampoImporti;
    r.obEspScal = obEspScal;
    if (obEspScal)
        r.oiLivEsp = livEsp.trimmed().isEmpty() ? 0 : qint16(TextToInt(livEsp));
    r.odQtaProd = qtaProd.trimmed().isEmpty() ? 1.0 : TextToNum(qtaProd);
    r.obSaltoPag = obSaltoPag ? 1 : 0;
    r.obQtaDaDimen = obQtaDaDimen;
    r.odLarghezza = TextToNum(larghezza);
    r.odLunghezza = TextToNum(lunghezza);
    r.odAltezza = TextToNum(altezza);
    r.obStaImg = obStaImg;
    r.obStaImgRiga = obStaImgRiga;
    r.osQualePrezzo = osQualePrezzo;
    r.osListino = osQualePrezzo == QLatin1String("L") ? osListino : QString();
    r.osListIvato = osListIvato;
}

bool BomSelection::CompanyQtaDaDimen(MenuServer &menu)
{
    return CompanyVar(menu, QStringLiteral("Vendite.QtaDaDimen")).trimmed().compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
}

} // namespace kem
