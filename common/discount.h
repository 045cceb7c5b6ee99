#pragma once
// Discount expressions: numbers, each optionally preceded by "+" or "-", such as "10+5" or
// "20-3", with a comma as decimal separator. A "+" number is a further discount on what the
// previous ones left, a "-" number a surcharge.
#include <QString>
#include <QStringList>

namespace kem {

// True when the expression (spaces ignored) holds only digits, signs and commas, no two
// signs in a row, and every number reads as a number. An empty expression is valid.
bool DiscountIsValid(const QString &expression);

// Joins discount expressions in order: each is trimmed, blank ones and "0" are skipped; the
// first kept one and any that starts with a sign is appended as it is, any other after a "+".
// {"10", "5"} gives "10+5", {"10", "-5"} gives "10-5".
QString DiscountChain(const QStringList &expressions);

// The single percentage that the expression amounts to, applied after `initial`:
// every number n turns the running percentage p into 100 - (100 - p) * (100 - n) / 100.
// The result is rounded (mode "A") to `decimals` places unless decimals is kNoRounding.
// An empty expression gives `initial`; an invalid one gives `initial` too and sets *invalid.
constexpr int kNoRounding = -999;
double DiscountPercent(const QString &expression, double initial = 0, int decimals = kNoRounding,
                       bool *invalid = nullptr);

} // namespace kem
