// Rounding and the largest / smallest of a list.
#include "decimal.h"
#include "kemutil.h"

#include <algorithm>
#include <cmath>

namespace kem {

double RoundNum(double value, const QString &mode, double step, int decimals)
{
    detail::Decimal v;
    if (!detail::DecimalFromDouble(value, v))
        return value; // NaN and infinities have nothing to round
    detail::Decimal unit;
    if (!(step > 0.0) || !detail::DecimalFromDouble(step, unit))
        detail::DecimalFromDouble(1.0, unit);
    unit.exponent -= decimals;
    const auto m = mode.trimmed().compare(QLatin1String("T"), Qt::CaseInsensitive) == 0
                       ? detail::RoundMode::TowardZero
                       : detail::RoundMode::HalfAwayFromZero;
    return detail::DecimalToDouble(detail::RoundDecimal(v, unit, m));
}

namespace {
template <typename Range> double Extreme(const Range &values, bool largest)
{
    if (values.begin() == values.end())
        return 0.0;
    return largest ? *std::max_element(values.begin(), values.end())
                   : *std::min_element(values.begin(), values.end());
}
} // namespace

double ListMax(std::initializer_list<double> values) { return Extreme(values, true); }
double ListMin(std::initializer_list<double> values) { return Extreme(values, false); }
double ListMax(const QList<double> &values) { return Extreme(values, true); }
double ListMin(const QList<double> &values) { return Extreme(values, false); }

} // namespace kem
