#pragma once
// Takes the VAT out of a VAT-inclusive price.
#include <QString>

namespace kem {

// Net price of `gross` at `rate` percent, rounded to `decimals` places. The rounding is by
// truncation ("T") when arrotIvaEuro (the company's VAT rounding setting) is "S" or fewer
// than 2 decimals are asked for, otherwise half away from zero ("A"); in mode "A" a net whose
// VAT brings net + VAT above the gross price is computed again by truncation. A rate of 0
// returns the price unchanged.
double VatRemoval(double gross, double rate, int decimals, const QString &arrotIvaEuro);

} // namespace kem
