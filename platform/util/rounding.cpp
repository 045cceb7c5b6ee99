// Rounding and the largest / smallest of a list.
#include "decimal.h"
#include "kemutil.h"

#include <algorithm>
#include <cmath>

namespace kem {

namespace {

// Rounding to whole units of 10^-decimals done in binary when that cannot differ from the decimal
// route below. The decimal route rounds the 15-significant-digit text of the value; the value
// scaled by 10^decimals (an exact power of ten) is within |scaled| x 6e-15 of that text scaled, so
// when the fraction of the scaled value is farther than twice that from the rounding threshold
// (0.5 for half away from zero, 0 and 1 for toward zero) both routes pick the same integer q.
// q / 10^decimals is then the correctly rounded quotient of two exact doubles, the same double
// that reading the decimal text of q x 10^-decimals gives. False when the decimal route is needed.
bool RoundUnitsFast(double value, bool towardZero, int decimals, double &out)
{
    static constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    if (decimals < 0 || decimals > 9)
        return false;
    const double p = kPow10[decimals];
    const double scaled = std::fabs(value) * p;
    if (!(scaled < 1e12)) // also NaN and infinities
        return false;
    const double whole = std::floor(scaled);
    const double frac = scaled - whole; // exact: scaled < 2^52
    const double margin = scaled * 1.2e-14 + 1e-300;
    double q;
    if (towardZero) {
        if (frac < margin || frac > 1.0 - margin)
            return false;
        q = whole;
    } else {
        if (std::fabs(frac - 0.5) < margin)
            return false;
        q = frac < 0.5 ? whole : whole + 1.0;
    }
    if (q == 0.0) {
        out = 0.0; // never a negative zero, as the decimal route
        return true;
    }
    const double r = q / p;
    out = value < 0 ? -r : r;
    return true;
}

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
    if (step == 1.0 || !(step > 0.0)) {
        double fast;
        if (RoundUnitsFast(value, towardZero, decimals, fast))
            return fast;
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
