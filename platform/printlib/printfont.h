#pragma once
// Font objects of the print library and the mapping of the suite's font names to the fonts
// installed on this system ("arial" and "Courier New" are metric-compatible Liberation fonts).
#include <QFont>
#include <QString>

namespace kem {

class PrintFont {
public:
    QString Name = QStringLiteral("arial");
    double Size = 8.0;  // points
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;

    // The installed family that stands in for Name ("arial" -> "Liberation Sans", ...);
    // a name without a stand-in is returned as given.
    static QString SystemFamily(const QString &name);
    // A QFont for this font object; its point size is meant for a device of the painter's
    // resolution (QFont converts points with the device's logical DPI).
    QFont ToQFont() const;

    bool operator==(const PrintFont &o) const = default;
};

} // namespace kem
