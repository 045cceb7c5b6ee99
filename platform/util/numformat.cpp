// Display formats: building them (NumFormat) and applying them the Italian way (FormatNum).
#include "decimal.h"
#include "kemutil.h"

namespace kem {

QString NumFormat(int decimals, QChar fill, const QString &pattern, QChar decimalPlace)
{
    QChar place = fill.isNull() ? decimalPlace : fill;
    if (place != QLatin1Char('#'))
        place = QLatin1Char('0');
    const QString places = decimals > 0 ? QLatin1Char('.') + QString(decimals, place) : QString();
    QString out = pattern;
    const qsizetype caret = out.indexOf(QLatin1Char('^'));
    if (caret >= 0)
        out.replace(caret, 1, QLatin1Char('#') + places);
    else
        out += places;
    return out;
}

namespace {

// One section of a format: literal text around one number picture.
struct Section {
    QString prefix, suffix;
    int minIntDigits = 0;   // '0' in the integer part
    bool grouping = false;  // ',' in the integer part
    bool hasNumber = false; // any placeholder at all
    int fixedDecimals = 0;  // leading '0' run of the decimal part
    int decimals = 0;       // all decimal places
};

// Splits the format into sections at ';' outside quotes and escapes.
QStringList SplitSections(const QString &format)
{
    QStringList out(QString{});
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (c == QLatin1Char('\\') && !quoted && i + 1 < format.size()) {
            out.last() += c;
            out.last() += format[++i];
            continue;
        } else if (c == QLatin1Char(';') && !quoted) {
            out.append(QString{});
            continue;
        }
        out.last() += c;
    }
    return out;
}

Section ParseSection(const QString &text)
{
    Section s;
    enum { Prefix, Integer, Decimals, Suffix } state = Prefix;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        QString literal;
        if (quoted) {
            if (c == QLatin1Char('"'))
                quoted = false;
            else
                literal = c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            literal = text[++i];
        } else if ((c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char(','))
                   && (state == Prefix || state == Integer)) {
            state = Integer;
            s.hasNumber = true;
            if (c == QLatin1Char('0'))
                ++s.minIntDigits;
            else if (c == QLatin1Char(','))
                s.grouping = true;
        } else if (c == QLatin1Char('.') && (state == Prefix || state == Integer)) {
            state = Decimals;
            s.hasNumber = true;
        } else if ((c == QLatin1Char('0') || c == QLatin1Char('#')) && state == Decimals) {
            if (c == QLatin1Char('0') && s.fixedDecimals == s.decimals)
                ++s.fixedDecimals;
            ++s.decimals;
        } else {
            literal = c;
        }
        if (!literal.isEmpty()) {
            if (state == Prefix)
                s.prefix += literal;
            else {
                state = Suffix;
                s.suffix += literal;
            }
        }
    }
    return s;
}

// The absolute value of v, already rounded to s.decimals places, drawn with section s.
QString Draw(const detail::Decimal &v, const Section &s)
{
    if (!s.hasNumber)
        return s.prefix;
    std::string intDigits, fracDigits;
    detail::DecimalSplit(v, s.decimals, intDigits, fracDigits);
    QString integer = QString::fromLatin1(intDigits.c_str());
    if (integer.size() < s.minIntDigits)
        integer.prepend(QString(s.minIntDigits - integer.size(), QLatin1Char('0')));
    if (s.grouping)
        for (qsizetype at = integer.size() - 3; at > 0; at -= 3)
            integer.insert(at, QLatin1Char('.'));
    QString fraction = QString::fromLatin1(fracDigits.c_str());
    while (fraction.size() > s.fixedDecimals && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    QString out = s.prefix + integer;
    if (!fraction.isEmpty())
        out += QLatin1Char(',') + fraction;
    return out + s.suffix;
}

} // namespace

QString FormatNum(double value, const QString &format)
{
    if (format.isEmpty())
        return NumText(value);
    detail::Decimal d;
    if (!detail::DecimalFromDouble(value, d))
        return NumText(value);
    const QStringList texts = SplitSections(format);
    const Section positive = ParseSection(texts[0]);
    const detail::Decimal rounded =
        detail::RoundDecimal(d, positive.decimals, detail::RoundMode::HalfAwayFromZero);
    if (rounded.isZero()) {
        if (texts.size() >= 3)
            return Draw(rounded, ParseSection(texts[2]));
        if (positive.minIntDigits == 0)
            return QString();
        return Draw(rounded, positive);
    }
    if (!rounded.negative)
        return Draw(rounded, positive);
    if (texts.size() >= 2 && !texts[1].isEmpty()) {
        const Section negative = ParseSection(texts[1]);
        return Draw(detail::RoundDecimal(d, negative.decimals, detail::RoundMode::HalfAwayFromZero),
                    negative);
    }
    return QLatin1Char('-') + Draw(rounded, positive);
}

} // namespace kem
