// Display formats: building them (NumFormat) and applying them the Italian way (FormatNum).
#include "platform/util/decimal.h"
#include "platform/util/kemutil.h"

#include <QHash>

#include <charconv>
#include <cstring>
#include <vector>

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

// The same drawing for a value already rounded to whole units of its last place (|value| times
// 10^places, not zero), straight from the integer: the usual case, with no decimal text between.
QString DrawUnits(long long units, int places, const Section &s, bool minus)
{
    if (!s.hasNumber)
        return minus ? QLatin1Char('-') + s.prefix : s.prefix;
    long long scale = 1;
    for (int i = 0; i < places; ++i)
        scale *= 10;
    char digits[24];
    const auto res = std::to_chars(digits, digits + sizeof digits, units / scale);
    const int intLen = int(res.ptr - digits);
    const int pad = std::max(0, s.minIntDigits - intLen);
    const int shown = intLen + pad;
    char fraction[24];
    long long rest = units % scale;
    for (int i = places - 1; i >= 0; --i, rest /= 10)
        fraction[i] = char('0' + rest % 10);
    int fracLen = places;
    while (fracLen > s.fixedDecimals && fraction[fracLen - 1] == '0')
        --fracLen;

    // Written in place: the length is known before the first character.
    const int groups = s.grouping && shown > 0 ? (shown - 1) / 3 : 0;
    const qsizetype length = (minus ? 1 : 0) + s.prefix.size() + shown + groups
        + (fracLen > 0 ? 1 + fracLen : 0) + s.suffix.size();
    QString out(length, Qt::Uninitialized);
    QChar *o = out.data();
    if (minus)
        *o++ = QLatin1Char('-');
    o = std::copy(s.prefix.cbegin(), s.prefix.cend(), o);
    for (int i = 0; i < shown; ++i) {
        if (s.grouping && i > 0 && (shown - i) % 3 == 0)
            *o++ = QLatin1Char('.');
        *o++ = QLatin1Char(i < pad ? '0' : digits[i - pad]);
    }
    if (fracLen > 0) {
        *o++ = QLatin1Char(',');
        for (int i = 0; i < fracLen; ++i)
            *o++ = QLatin1Char(fraction[i]);
    }
    std::copy(s.suffix.cbegin(), s.suffix.cend(), o);
    return out;
}

} // namespace

namespace {

// A format split and parsed once.
struct ParsedFormat {
    int count = 0;            // sections present
    bool negativeGiven = false; // second section present and not empty
    Section positive, negative, zero;
};

ParsedFormat Parse(const QString &format)
{
    const QStringList texts = SplitSections(format);
    ParsedFormat f;
    f.count = int(texts.size());
    f.positive = ParseSection(texts[0]);
    f.negativeGiven = texts.size() >= 2 && !texts[1].isEmpty();
    if (f.negativeGiven)
        f.negative = ParseSection(texts[1]);
    if (texts.size() >= 3)
        f.zero = ParseSection(texts[2]);
    return f;
}

QString Apply(double value, const ParsedFormat &f, bool exactOnly = false)
{
    detail::Decimal d;   // the value, read only when the decimal route is taken
    detail::Decimal rounded;
    long long units = 0;
    // The usual case in binary; a negative value with a section of its own is rounded again
    // from its decimal text by that section, so it takes the decimal route.
    if (!exactOnly && !(value < 0 && f.negativeGiven)
        && detail::RoundToUnitsFast(value, detail::RoundMode::HalfAwayFromZero, f.positive.decimals,
                                    units)) {
        if (units != 0)
            return DrawUnits(units, f.positive.decimals, f.positive, value < 0);
        rounded = detail::DecimalFromUnits(units, f.positive.decimals, value < 0);
    } else {
        if (!detail::DecimalFromDouble(value, d))
            return NumText(value);
        rounded = detail::RoundDecimal(d, f.positive.decimals, detail::RoundMode::HalfAwayFromZero);
    }
    if (rounded.isZero()) {
        if (f.count >= 3)
            return Draw(rounded, f.zero);
        if (f.positive.minIntDigits == 0)
            return QString();
        return Draw(rounded, f.positive);
    }
    if (!rounded.negative)
        return Draw(rounded, f.positive);
    if (f.negativeGiven)
        return Draw(detail::RoundDecimal(d, f.negative.decimals, detail::RoundMode::HalfAwayFromZero),
                    f.negative);
    return QLatin1Char('-') + Draw(rounded, f.positive);
}

// Reports print the same few formats over and over, often for the same numbers: each thread
// keeps the formats it used last, parsed, with the texts already drawn (bounded).
class FormatCache
{
public:
    QString format(double value, const QString &format)
    {
        Slot &slot = slotFor(format);
        quint64 bits;
        static_assert(sizeof bits == sizeof value);
        std::memcpy(&bits, &value, sizeof bits);
        auto it = slot.texts.constFind(bits);
        if (it != slot.texts.constEnd())
            return it.value();
        if (slot.texts.size() >= kMaxTexts)
            slot.texts.clear();
        QString text = Apply(value, slot.parsed);
        slot.texts.insert(bits, text);
        return text;
    }

private:
    static constexpr qsizetype kMaxTexts = 4096;
    static constexpr std::size_t kSlots = 8;
    struct Slot {
        QString format;
        ParsedFormat parsed;
        QHash<quint64, QString> texts; // bit pattern of the value -> text
        quint64 used = 0;              // clock_ when last used
    };

    Slot &slotFor(const QString &format)
    {
        // Reports alternate between a few formats: the one used last is tried first, and the
        // slots stay where they are (the least recently used one makes room for a new format).
        ++clock_;
        if (last_ < slots_.size() && slots_[last_].format == format) {
            slots_[last_].used = clock_;
            return slots_[last_];
        }
        for (std::size_t i = 0; i < slots_.size(); ++i) {
            if (slots_[i].format == format) {
                last_ = i;
                slots_[i].used = clock_;
                return slots_[i];
            }
        }
        if (slots_.size() < kSlots) {
            slots_.emplace_back();
            last_ = slots_.size() - 1;
        } else {
            last_ = 0;
            for (std::size_t i = 1; i < slots_.size(); ++i)
                if (slots_[i].used < slots_[last_].used)
                    last_ = i;
        }
        Slot &slot = slots_[last_];
        slot.format = format;
        slot.parsed = Parse(format);
        slot.texts.clear();
        slot.used = clock_;
        return slot;
    }

    std::vector<Slot> slots_;
    std::size_t last_ = 0;
    quint64 clock_ = 0;
};

} // namespace

QString detail::FormatNumExact(double value, const QString &format)
{
    if (format.isEmpty())
        return NumText(value);
    return Apply(value, Parse(format), true);
}

QString FormatNum(double value, const QString &format)
{
    if (format.isEmpty())
        return NumText(value);
    thread_local FormatCache cache;
    return cache.format(value, format);
}

} // namespace kem
