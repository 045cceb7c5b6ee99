#pragma once
// Text measuring of the print library: widths and line metrics of a font on the 1200 dpi
// reference device, in millimetres. One TextMeasure per font keeps its QFontMetricsF. Text made
// only of printable ASCII characters and Italian accented letters is measured as the sum of its
// characters' advances while the font shows no kerning or ligature among those characters
// (each character is learnt when a text first uses it, checked pair by pair with itself and
// the characters learnt before; the sum is then exactly what the shaper gives); other text is
// shaped once and its width kept, so a text printed again costs a hash look-up.
#include "platform/printlib/printfont.h"

#include <QFontMetricsF>
#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <utility>

namespace kem {

class TextMeasure {
public:
    explicit TextMeasure(const PrintFont &font);
    // Width of text in mm; measured once per text (the cache is emptied when it grows large,
    // so long runs keep a bounded memory).
    double Width(const QString &text);
    // text cut with "…" to at most widthMm.
    QString Elided(const QString &text, double widthMm) const;
    const QFontMetricsF &Metrics() const { return m_fm; }
    double Ascent() const { return m_ascent; }
    double Descent() const { return m_descent; }
    double LineSpacing() const { return m_lineSpacing; }

    static double PxToMm(double px);
    static double MmToPx(double mm);

private:
    // Measures u and its pairs with the characters learnt so far (a character not measured by
    // sum is only marked so); false (and no text measured by sum from then on) when a pair's run
    // is not the sum of its advances.
    bool learnCharacter(char16_t u);
    double shapedWidth(const QString &text);
    static constexpr double kUnknown = -1;   // m_advance: not learnt yet
    static constexpr double kNotBySum = -2;  // m_advance: never measured by sum
    QFontMetricsF m_fm;
    bool m_bySum = true;      // the learnt characters' advances add up without context
    double m_advance[256];    // by Latin-1 code, in px; or kUnknown, kNotBySum
    QString m_learntChars;
    double m_ascent = 0, m_descent = 0, m_lineSpacing = 0;
    QHash<QString, double> m_widths;
};

// The TextMeasure of every font used in a run, made on first use.
class TextMeasures {
public:
    TextMeasure &For(const PrintFont &font);

private:
    static QString key(const PrintFont &font);
    QHash<QString, std::shared_ptr<TextMeasure>> m_byFont;
    // The fonts asked for so far, looked up without building a key (a run uses a handful).
    QList<std::pair<PrintFont, TextMeasure *>> m_recent;
};

} // namespace kem
