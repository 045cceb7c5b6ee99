// Numbers read from and written as Italian text.
#include "platform/util/decimal.h"
#include "platform/util/kemutil.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kem {

namespace {

bool AllDigits(QStringView s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// "1.234.567" -> "1234567" when the points group thousands; empty when they do not.
QString UngroupThousands(const QString &integer)
{
    const QStringList groups = integer.split(QLatin1Char('.'));
    if (groups.first().size() > 3 || !AllDigits(groups.first()))
        return {};
    for (qsizetype i = 1; i < groups.size(); ++i)
        if (groups[i].size() != 3 || !AllDigits(groups[i]))
            return {};
    return groups.join(QString());
}

} // namespace

namespace {

// The usual text, "-1234,5": an optional minus, digits, optionally a comma and digits, 15
// digits at most. The digits make an exact integer and the decimal places an exact power of
// ten, so their quotient, rounded once, is the double nearest to the text (what from_chars
// finds). False for any other text.
bool PlainNumber(QStringView t, double *value)
{
    static constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10,
                                        1e11, 1e12, 1e13, 1e14, 1e15};
    qsizetype i = 0;
    const bool minus = !t.isEmpty() && t.front() == QLatin1Char('-');
    if (minus)
        ++i;
    quint64 m = 0;
    int digits = 0, places = -1;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c >= u'0' && c <= u'9') {
            m = m * 10 + (c - u'0');
            ++digits;
            if (places >= 0)
                ++places;
        } else if (c == u',' && places < 0 && digits > 0) {
            places = 0;
        } else {
            return false;
        }
    }
    if (digits == 0 || digits > 15 || places == 0)
        return false;
    const double d = double(m) / kPow10[places < 0 ? 0 : places];
    *value = minus ? -d : d;
    return true;
}

} // namespace

double TextToNum(const QString &text, bool *ok)
{
    if (ok)
        *ok = true;
    if (double plain = 0; PlainNumber(text, &plain))
        return plain;
    QString t = text.trimmed();
    if (t.isEmpty())
        return 0.0;
    QString sign;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        sign = t.left(1);
        t = t.mid(1).trimmed();
    }
    QString integer = t, fraction;
    bool valid = true;
    const qsizetype comma = t.indexOf(QLatin1Char(','));
    if (comma >= 0) {
        integer = t.left(comma);
        fraction = t.mid(comma + 1);
        valid = AllDigits(fraction) || (fraction.isEmpty() && !integer.isEmpty());
        if (integer.contains(QLatin1Char('.')))
            integer = UngroupThousands(integer);
        else if (integer.isEmpty() && !fraction.isEmpty())
            integer = QStringLiteral("0");
    } else if (t.count(QLatin1Char('.')) == 1 && t.indexOf(QLatin1Char('.')) != t.size() - 4) {
        // a single point not followed by exactly three digits is the decimal point
        const qsizetype point = t.indexOf(QLatin1Char('.'));
        integer = point == 0 ? QStringLiteral("0") : t.left(point);
        fraction = t.mid(point + 1);
        valid = AllDigits(fraction);
    } else if (t.contains(QLatin1Char('.'))) {
        integer = UngroupThousands(t);
    }
    valid = valid && AllDigits(integer);
    if (!valid) {
        if (ok)
            *ok = false;
        return 0.0;
    }
    const std::string c = (sign == QLatin1String("-") ? QStringLiteral("-") : QString())
                              .append(integer)
                              .append(fraction.isEmpty() ? QString() : QLatin1Char('.') + fraction)
                              .toStdString();
    double d = 0.0;
    const auto res = std::from_chars(c.data(), c.data() + c.size(), d);
    if (res.ec != std::errc() || !std::isfinite(d)) {
        if (ok)
            *ok = false;
        return 0.0;
    }
    return d;
}

qint32 TextToInt(const QString &text, bool *ok)
{
    bool numOk = false;
    const double d = RoundNum(TextToNum(text, &numOk), QStringLiteral("A"), 1, 0);
    const bool inRange = d >= double(std::numeric_limits<qint32>::min())
                         && d <= double(std::numeric_limits<qint32>::max());
    if (ok)
        *ok = numOk && inRange;
    return numOk && inRange ? qint32(d) : 0;
}

QString NumText(double value)
{
    detail::Decimal d;
    if (!detail::DecimalFromDouble(value, d))
        return QString::number(value);
    std::string intDigits, fracDigits;
    detail::DecimalSplit(d, d.exponent < 0 ? -d.exponent : 0, intDigits, fracDigits);
    QString out = QString::fromLatin1(intDigits.c_str());
    if (!fracDigits.empty())
        out += QLatin1Char(',') + QString::fromLatin1(fracDigits.c_str());
    if (d.negative)
        out.prepend(QLatin1Char('-'));
    return out;
}

} // namespace kem
