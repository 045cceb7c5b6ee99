#include "platform/printlib/printfont.h"

#include <QHash>

namespace kem {

QString PrintFont::SystemFamily(const QString &name)
{
    // The suite's reports name Windows core fonts; Liberation fonts have the same metrics.
    static const QHash<QString, QString> map = {
        {QStringLiteral("arial"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("helvetica"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("courier new"), QStringLiteral("Liberation Mono")},
        {QStringLiteral("courier"), QStringLiteral("Liberation Mono")},
        {QStringLiteral("times new roman"), QStringLiteral("Liberation Serif")},
    };
    const QString key = name.trimmed().toLower();
    return map.value(key, name.trimmed());
}

QFont PrintFont::ToQFont() const
{
    QFont f(SystemFamily(Name));
    f.setPointSizeF(Size > 0 ? Size : 8.0);
    f.setBold(Bold);
    f.setItalic(Italic);
    f.setUnderline(Underline);
    f.setStrikeOut(Strikethrough);
    f.setKerning(false);  // widths measured once must match every device
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

} // namespace kem
