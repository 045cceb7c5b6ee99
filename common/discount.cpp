#include "common/discount.h"

#include "platform/util/kemutil.h"

namespace kem {

namespace {

QString withoutSpaces(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (c != QLatin1Char(' '))
            out += c;
    return out;
}

bool isSign(QChar c) { return c == QLatin1Char('+') || c == QLatin1Char('-'); }

// Splits a spaceless expression into its signed numbers ("10-5" -> "10", "-5"). Numbers
// that are only a sign or empty stay in the list: they count as 0.
QStringList signedNumbers(const QString &expr)
{
    QStringList numbers;
    QString current;
    for (QChar c : expr) {
        if (isSign(c)) {
            numbers << current;
            current = c;
        } else {
            current += c;
        }
    }
    numbers << current;
    return numbers;
}

// A signed number as a value; a lone sign or an empty text is 0.
bool numberValue(const QString &number, double *value)
{
    QString digits = number;
    bool negative = false;
    if (!digits.isEmpty() && isSign(digits.at(0))) {
        negative = digits.at(0) == QLatin1Char('-');
        digits.remove(0, 1);
    }
    if (digits.isEmpty()) {
        *value = 0;
        return true;
    }
    bool ok = false;
    const double v = TextToNum(digits, &ok);
    *value = negative ? -v : v;
    return ok;
}

} // namespace

bool DiscountIsValid(const QString &expression)
{
    const QString expr = withoutSpaces(expression);
    static const QString allowed = QStringLiteral("1234567890+- ,");
    for (QChar c : expr)
        if (!allowed.contains(c))
            return false;
    for (const char *pair : {"+-", "-+", "--", "++"})
        if (expr.contains(QLatin1String(pair)))
            return false;
    // A number such as "1,2,3" passes the character test but is not a number.
    for (const QString &number : signedNumbers(expr)) {
        double v = 0;
        if (!numberValue(number, &v))
            return false;
    }
    return true;
}

QString DiscountChain(const QStringList &expressions)
{
    QString chain;
    for (const QString &raw : expressions) {
        const QString e = raw.trimmed();
        if (e.isEmpty() || e == QLatin1String("0"))
            continue;
        if (chain.isEmpty() || isSign(e.at(0)))
            chain += e;
        else
            chain += QLatin1Char('+') + e;
    }
    return chain;
}

double DiscountPercent(const QString &expression, double initial, int decimals, bool *invalid)
{
    const QString expr = withoutSpaces(expression);
    if (expr.isEmpty())
        return initial;
    if (!DiscountIsValid(expr)) {
        if (invalid)
            *invalid = true;
        return initial;
    }
    double p = initial;
    for (const QString &number : signedNumbers(expr)) {
        double n = 0;
        numberValue(number, &n);
        p = 100.0 - (100.0 - p) * (100.0 - n) / 100.0;
    }
    if (decimals != kNoRounding)
        p = RoundNum(p, QStringLiteral("A"), 1, decimals);
    return p;
}

} // namespace kem
