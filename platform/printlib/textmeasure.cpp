#include "platform/printlib/textmeasure.h"

#include <QImage>

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
}

// Characters measured by sum: printable ASCII and the accented letters and signs of Italian
// texts (checked pair by pair, so the set is kept to what reports print).
static bool plainLatin1(char16_t u)
{
    static const QString extra = QStringLiteral("àèéìòùÀÈÉÌÒÙ°§£ç");
    return (u >= 0x20 && u < 0x7F) || extra.contains(QChar(u));
}

void TextMeasure::learnCharacters()
{
    m_learnt = true;
    QString chars;
    for (char16_t u = 0; u < 256; ++u) {
        m_advance[u] = -1;
        if (plainLatin1(u)) {
            chars.append(QChar(u));
            m_advance[u] = m_fm.horizontalAdvance(QString(QChar(u)));
        }
    }
    // Every ordered pair once: "a x1 a x2 a ..." holds (a, x) and (x, a) for every x. Kerning or a
    // ligature anywhere makes the width of the run differ from the sum of its characters.
    for (const QChar a : std::as_const(chars)) {
        QString run;
        run.reserve(chars.size() * 2 + 1);
        double sum = 0;
        for (const QChar x : std::as_const(chars)) {
            run.append(a).append(x);
            sum += m_advance[a.unicode()] + m_advance[x.unicode()];
        }
        if (m_fm.horizontalAdvance(run) != sum)
            return;
    }
    m_bySum = true;
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
    if (!m_learnt)
        learnCharacters();
    if (m_bySum) {
        double sum = 0;
        for (const QChar ch : text) {
            const char16_t u = ch.unicode();
            if (u > 0xFF || m_advance[u] < 0)
                return PxToMm(shapedWidth(text));
            sum += m_advance[u];
        }
        return PxToMm(sum);
    }
    return PxToMm(shapedWidth(text));
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
