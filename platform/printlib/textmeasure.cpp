#include "platform/printlib/textmeasure.h"

#include <QImage>

#include <algorithm>
#include <iterator>

namespace kem {

namespace {

constexpr int kRefDotsPerMeter = 47244;  // 1200 dpi
constexpr qsizetype kMaxCachedWidths = 10000;

const QImage &referenceDevice()
{
    static const QImage img = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        i.setDotsPerMeterX(kRefDotsPerMeter);
        i.setDotsPerMeterY(kRefDotsPerMeter);
        return i;
    }();
    return img;
}

} // namespace

double TextMeasure::PxToMm(double px)
{
    return px * 1000.0 / kRefDotsPerMeter;
}

double TextMeasure::MmToPx(double mm)
{
    return mm * kRefDotsPerMeter / 1000.0;
}

TextMeasure::TextMeasure(const PrintFont &font)
    : m_fm(font.ToQFont(), &referenceDevice()),
      m_ascent(PxToMm(m_fm.ascent())),
      m_descent(PxToMm(m_fm.descent())),
      m_lineSpacing(PxToMm(m_fm.lineSpacing()))
{
    std::fill(std::begin(m_advance), std::end(m_advance), kUnknown);
}

// Characters measured by sum: printable ASCII and the accented letters and signs of Italian
// texts.
static bool plainLatin1(char16_t u)
{
    static const QString extra = QStringLiteral("àèéìòùÀÈÉÌÒÙ°§£ç");
    return (u >= 0x20 && u < 0x7F) || extra.contains(QChar(u));
}

bool TextMeasure::learnCharacter(char16_t u)
{
    if (!plainLatin1(u)) {
        m_advance[u] = kNotBySum;
        return true;
    }
    m_advance[u] = m_fm.horizontalAdvance(QString(QChar(u)));
    // Every ordered pair of u with itself and with the characters learnt before, once:
    // "u x1 u x2 ... u xn u u" holds (u, x) and (x, u) for every x, and (u, u). Kerning or a
    // ligature anywhere makes the width of the run differ from the sum of its characters.
    QString run;
    run.reserve(m_learntChars.size() * 2 + 2);
    double sum = 0;
    for (const QChar x : std::as_const(m_learntChars)) {
        run.append(QChar(u)).append(x);
        sum += m_advance[u] + m_advance[x.unicode()];
    }
    run.append(QChar(u)).append(QChar(u));
    sum += 2 * m_advance[u];
    m_learntChars.append(QChar(u));
    if (m_fm.horizontalAdvance(run) != sum) {
        m_bySum = false;
        return false;
    }
    return true;
}

double TextMeasure::shapedWidth(const QString &text)
{
    const auto it = m_widths.constFind(text);
    if (it != m_widths.constEnd())
        return *it;
    if (m_widths.size() >= kMaxCachedWidths)
        m_widths.clear();
    const double w = m_fm.horizontalAdvance(text);
    m_widths.insert(text, w);
    return w;
}

double TextMeasure::Width(const QString &text)
{
    if (text.isEmpty())
        return 0;
    if (!m_bySum)
        return PxToMm(shapedWidth(text));
    // A character is learnt (with its pairs with every character learnt before, those of the
    // text before it among them) before its advance is added.
    double sum = 0;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u > 0xFF)
            return PxToMm(shapedWidth(text));
        if (m_advance[u] < 0) {  // kUnknown or kNotBySum
            if (m_advance[u] == kNotBySum || !learnCharacter(u) || m_advance[u] == kNotBySum)
                return PxToMm(shapedWidth(text));
        }
        sum += m_advance[u];
    }
    return PxToMm(sum);
}

QString TextMeasure::Elided(const QString &text, double widthMm) const
{
    return m_fm.elidedText(text, Qt::ElideRight, MmToPx(widthMm));
}

QString TextMeasures::key(const PrintFont &f)
{
    const int flags = int(f.Bold) | int(f.Italic) << 1 | int(f.Underline) << 2 | int(f.Strikethrough) << 3;
    return f.Name.toLower() + QLatin1Char('|') + QString::number(f.Size) + QLatin1Char('|') + QString::number(flags);
}

TextMeasure &TextMeasures::For(const PrintFont &font)
{
    for (const auto &[f, m] : std::as_const(m_recent))
        if (f == font)
            return *m;
    const QString k = key(font);
    auto it = m_byFont.find(k);
    if (it == m_byFont.end())
        it = m_byFont.insert(k, std::make_shared<TextMeasure>(font));
    if (m_recent.size() < 32)
        m_recent.append({font, it->get()});
    return **it;
}

} // namespace kem
