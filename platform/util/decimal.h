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

// RoundNum always through the decimal text of the value (RoundNum takes a binary shortcut when
// it gives the same double); kept apart so that the two can be compared.
double RoundNumExact(double value, bool towardZero, double step, int decimals);

} // namespace kem::detail
