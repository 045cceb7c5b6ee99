#include "bomcore/dimensionquantity.h"

#include "common/aziendautil.h"
#include "platform/menu/menuserver.h"

namespace kem {

namespace {

QString AsList(const QString &text)
{
    return QStringLiteral(";") + text.trimmed() + QStringLiteral(";");
}

// The leading number of a text, as the settings write it ("1000#", " 1000", "1e3"): digits
// with an optional sign and decimal point; 0 when there are none.
double LeadingNumber(const QString &text)
{
    const QString t = text.trimmed();
    qsizetype end = 0;
    if (end < t.size() && (t[end] == QLatin1Char('+') || t[end] == QLatin1Char('-')))
        ++end;
    bool point = false;
    while (end < t.size() && (t[end].isDigit() || (!point && t[end] == QLatin1Char('.')))) {
        point = point || t[end] == QLatin1Char('.');
        ++end;
    }
    bool ok = false;
    const double v = t.left(end).toDouble(&ok);
    return ok ? v : 0;
}

} // namespace

DimensionSettings DimensionSettings::FromTexts(const QString &lunghezza, const QString &area,
                                               const QString &volume, const QString &rapporto)
{
    DimensionSettings s;
    s.unitaLunghezza = AsList(lunghezza);
    s.unitaArea = AsList(area);
    s.unitaVolume = AsList(volume);
    s.rapporto = LeadingNumber(rapporto.trimmed().isEmpty() ? QStringLiteral("1000#") : rapporto);
    if (s.rapporto == 0)
        s.rapporto = 1000;
    return s;
}

DimensionSettings DimensionSettings::Read(MenuServer &menu)
{
    return FromTexts(CompanyVar(menu, QStringLiteral("Vendite.QtaDaDimUML")),
                     CompanyVar(menu, QStringLiteral("Vendite.QtaDaDimUMQ")),
                     CompanyVar(menu, QStringLiteral("Vendite.QtaDaDimUMC")),
                     CompanyVar(menu, QStringLiteral("Vendite.QtaDimenRapp")));
}

bool DimensionSettings::InList(const QString &list, const QString &unit)
{
    return list.contains(QStringLiteral(";") + unit.trimmed() + QStringLiteral(";"), Qt::CaseInsensitive);
}

QString DimensionNumberText(double value)
{
    const QString digits = QString::number(value, 'g', 15);
    return value < 0 ? digits : QStringLiteral(" ") + digits;
}

std::optional<DimensionQuantity> CalcQtaDaDimen(const DimensionSettings &s, const QString &unit, double pezzi,
                                                double formLunghezza, double formLarghezza, double formAltezza,
                                                double lunghezza, double larghezza, double altezza)
{
    if (unit.trimmed().isEmpty())
        return std::nullopt;
    double l = lunghezza, w = larghezza, h = altezza;
    if (formLunghezza != 0 || formLarghezza != 0 || formAltezza != 0) {
        l = formLunghezza;
        w = formLarghezza;
        h = formAltezza;
    }
    if (l == 0 && w == 0 && h == 0)
        return std::nullopt;
    const double r = s.rapporto;
    const QString n = DimensionNumberText(pezzi);
    DimensionQuantity q;
    if (DimensionSettings::InList(s.unitaLunghezza, unit)) {
        q.qta = pezzi * l / r;
        q.text = QStringLiteral("Pz.") + n + QStringLiteral("  di lungh.: ") + DimensionNumberText(l);
    } else if (DimensionSettings::InList(s.unitaArea, unit)) {
        q.qta = pezzi * l * w / (r * r);
        q.text = QStringLiteral("Pz.") + n + QStringLiteral("   (") + DimensionNumberText(w) + QStringLiteral(" x ")
            + DimensionNumberText(l) + QStringLiteral(")");
    } else if (DimensionSettings::InList(s.unitaVolume, unit)) {
        q.qta = pezzi * l * w * h / (r * r * r);
        q.text = QStringLiteral("Pz.") + n + QStringLiteral("   (") + DimensionNumberText(w) + QStringLiteral(" x ")
            + DimensionNumberText(l) + QStringLiteral(" x ") + DimensionNumberText(h) + QStringLiteral(")");
    } else {
        return std::nullopt;
    }
    return q;
}

} // namespace kem
