// Rounding and the largest / smallest of a list.
#include "platform/util/decimal.h"
#include "platform/util/kemutil.h"

#include <algorithm>
#include <cmath>

namespace kem {

namespace {

bool IsTowardZero(const QString &mode)
{
    if (mode.size() == 1) // the usual "A" or "T"
        return mode.front() == QLatin1Char('T') || mode.front() == QLatin1Char('t');
    return mode.trimmed().compare(QLatin1String("T"), Qt::CaseInsensitive) == 0;
}

} // namespace

double RoundNum(double value, const QString &mode, double step, int decimals)
{
    const bool towardZero = IsTowardZero(mode);
    long long units = 0;
    if ((step == 1.0 || !(step > 0.0))
        && detail::RoundToUnitsFast(value,
                                    towardZero ? detail::RoundMode::TowardZero
                                               : detail::RoundMode::HalfAwayFromZero,
                                    decimals, units)) {
        if (units == 0)
            return 0.0; // never a negative zero, as the decimal route
        // The correctly rounded quotient of two exact doubles: the same double that reading
        // the decimal text of units x 10^-decimals gives.
        const double r = double(units) / detail::Pow10(decimals);
        return value < 0 ? -r : r;
    }
    return detail::RoundNumExact(value, towardZero, step, decimals);
}

double detail::RoundNumExact(double value, bool towardZero, double step, int decimals)
{
    detail::Decimal v;
    if (!detail::DecimalFromDouble(value, v))
        return value; // NaN and infinities have nothing to round
    detail::Decimal unit;
    if (!(step > 0.0) || !detail::DecimalFromDouble(step, unit))
        detail::DecimalFromDouble(1.0, unit);
    unit.exponent -= decimals;
    const auto m = towardZero ? detail::RoundMode::TowardZero : detail::RoundMode::HalfAwayFromZero;
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
