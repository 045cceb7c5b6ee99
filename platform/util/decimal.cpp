#include "platform/util/decimal.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kem::detail {

namespace {

using Int128 = __int128;
constexpr std::size_t kMaxExactDigits = 36; // 10^36 < 2^127

void Normalize(Decimal &d)
{
    std::size_t first = d.digits.find_first_not_of('0');
    if (first == std::string::npos) {
        d.digits.clear();
        d.exponent = 0;
        d.negative = false;
        return;
    }
    d.digits.erase(0, first);
    std::size_t last = d.digits.find_last_not_of('0');
    d.exponent += int(d.digits.size() - 1 - last);
    d.digits.erase(last + 1);
}

Int128 ToInt128(const std::string &digits)
{
    Int128 v = 0;
    for (char c : digits)
        v = v * 10 + (c - '0');
    return v;
}

std::string FromInt128(Int128 v)
{
    if (v == 0)
        return {};
    std::string s;
    while (v > 0) {
        s.insert(s.begin(), char('0' + int(v % 10)));
        v /= 10;
    }
    return s;
}

// Digits of |value| truncated to units of 10^scale.
std::string TruncatedTo(const Decimal &value, int scale)
{
    if (value.isZero())
        return {};
    if (value.exponent >= scale)
        return value.digits + std::string(std::size_t(value.exponent - scale), '0');
    std::size_t drop = std::size_t(scale - value.exponent);
    if (drop >= value.digits.size())
        return {};
    return value.digits.substr(0, value.digits.size() - drop);
}

} // namespace

double Pow10(int places)
{
    static constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    return kPow10[places];
}

bool RoundToUnitsFast(double value, RoundMode mode, int places, long long &units)
{
    if (places < 0 || places > 9)
        return false;
    const double scaled = std::fabs(value) * Pow10(places);
    if (!(scaled < 1e12)) // also NaN and infinities
        return false;
    const double whole = std::floor(scaled);
    const double frac = scaled - whole; // exact: scaled < 2^52
    const double margin = scaled * 1.2e-14 + 1e-300;
    if (mode == RoundMode::TowardZero) {
        if (frac < margin || frac > 1.0 - margin)
            return false;
        units = static_cast<long long>(whole);
    } else {
        if (std::fabs(frac - 0.5) < margin)
            return false;
        units = static_cast<long long>(frac < 0.5 ? whole : whole + 1.0);
    }
    return true;
}

Decimal DecimalFromUnits(long long units, int places, bool negative)
{
    Decimal out;
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, units);
    out.digits.assign(buf, res.ptr);
    out.exponent = -places;
    out.negative = negative;
    Normalize(out);
    return out;
}

bool DecimalFromDouble(double value, Decimal &out)
{
    out = Decimal{};
    if (!std::isfinite(value))
        return false;
    char buf[64];
    // 15 significant digits: d.dddddddddddddde+XX
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    std::string text(buf, res.ptr);
    std::size_t pos = 0;
    if (text[pos] == '-') {
        out.negative = true;
        ++pos;
    }
    std::size_t ePos = text.find('e');
    for (std::size_t i = pos; i < ePos; ++i)
        if (text[i] != '.')
            out.digits += text[i];
    out.exponent = std::atoi(text.c_str() + ePos + 1) - 14;
    Normalize(out);
    return true;
}

Decimal RoundDecimal(const Decimal &value, const Decimal &unit, RoundMode mode)
{
    if (value.isZero() || unit.isZero() || unit.negative)
        return value;
    // Work in units of a tenth of the step: the half-step threshold (5 x step) is then an
    // integer, so dropping the digits below that scale cannot change the result.
    const int scale = unit.exponent - 1;
    const std::string n = TruncatedTo(value, scale);
    const std::string step = unit.digits + "0";
    if (n.size() > kMaxExactDigits || step.size() > kMaxExactDigits)
        return value;
    const Int128 big = ToInt128(n);
    const Int128 s = ToInt128(step);
    Int128 q = big / s;
    const Int128 r = big % s;
    if (mode == RoundMode::HalfAwayFromZero && 2 * r >= s)
        ++q;
    Decimal out;
    out.negative = value.negative;
    out.digits = FromInt128(q * ToInt128(unit.digits));
    out.exponent = unit.exponent;
    Normalize(out);
    return out;
}

Decimal RoundDecimal(const Decimal &value, int places, RoundMode mode)
{
    Decimal unit;
    unit.digits = "1";
    unit.exponent = -places;
    return RoundDecimal(value, unit, mode);
}

double DecimalToDouble(const Decimal &value)
{
    if (value.isZero())
        return 0.0;
    std::string text = value.digits + "e" + std::to_string(value.exponent);
    double d = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), d);
    return value.negative ? -d : d;
}

void DecimalSplit(const Decimal &value, int places, std::string &intDigits, std::string &fracDigits)
{
    intDigits = TruncatedTo(value, 0);
    if (intDigits.empty())
        intDigits = "0";
    fracDigits.clear();
    if (value.exponent < 0) {
        const std::size_t fracLen = std::size_t(-value.exponent);
        std::string all = value.digits;
        if (all.size() < fracLen)
            all.insert(0, fracLen - all.size(), '0');
        fracDigits = all.substr(all.size() - fracLen);
    }
    if (places < 0)
        places = 0;
    if (fracDigits.size() > std::size_t(places))
        fracDigits.resize(std::size_t(places));
    else
        fracDigits.append(std::size_t(places) - fracDigits.size(), '0');
}

} // namespace kem::detail
