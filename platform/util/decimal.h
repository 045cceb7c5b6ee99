#pragma once
// Internal: a double as an exact decimal number (digits x 10^exponent), and the rounding done on
// it. Shared by rounding, number formatting and number-to-text conversion.
#include <string>

namespace kem::detail {

struct Decimal {
    bool negative = false;
    std::string digits;  // integer without leading zeros; empty means zero
    int exponent = 0;    // value = digits x 10^exponent

    bool isZero() const { return digits.empty(); }
};

enum class RoundMode { HalfAwayFromZero, TowardZero };

// The double written with at most 15 significant digits (the precision a double keeps for every
// decimal value), trailing zeros dropped. False for NaN and infinities.
bool DecimalFromDouble(double value, Decimal &out);

// Rounds to a multiple of unit (unit > 0). The result's exponent is the unit's exponent or
// lower, so that the multiple is held exactly. Values too large for the exact arithmetic
// (beyond about 10^36 units) come back unchanged.
Decimal RoundDecimal(const Decimal &value, const Decimal &unit, RoundMode mode);
// Rounds to `places` decimal places (10^-places units).
Decimal RoundDecimal(const Decimal &value, int places, RoundMode mode);

// The nearest double.
double DecimalToDouble(const Decimal &value);
// The integer digits ("0" when none) and exactly `places` decimal digits (padded with zeros,
// extra digits cut) of the absolute value.
void DecimalSplit(const Decimal &value, int places, std::string &intDigits, std::string &fracDigits);

// The rounding of DecimalFromDouble(value) to whole units of 10^-places (0 to 9 places), done in
// binary when that cannot differ from the decimal route: the value scaled by 10^places (an exact
// power of ten) is within |scaled| x 6e-15 of the 15-digit text scaled, so when the fraction of
// the scaled value is farther than twice that from the rounding threshold (0.5 for half away
// from zero, 0 and 1 for toward zero) both routes pick the same integer. Gives the number of
// units of the absolute value; false when the decimal route is needed (also NaN, infinities and
// values of 10^12 units or more).
bool RoundToUnitsFast(double value, RoundMode mode, int places, long long &units);
// 10^places, exact, for 0 to 9 places.
double Pow10(int places);
// units x 10^-places as a Decimal (trailing zeros dropped), negative unless zero when asked.
Decimal DecimalFromUnits(long long units, int places, bool negative);

// RoundNum always through the decimal text of the value (RoundNum takes a binary shortcut when
// it gives the same double); kept apart so that the two can be compared.
double RoundNumExact(double value, bool towardZero, double step, int decimals);
// FormatNum always through the decimal text of the value, for the same comparison.
} // namespace kem::detail

#include <QString>

namespace kem::detail {
QString FormatNumExact(double value, const QString &format);

} // namespace kem::detail
