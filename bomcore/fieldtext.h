#pragma once
// Small helpers shared by the valuation classes.
#include <QString>
#include <QVariant>

namespace kem {

// A text field of a result set; Null reads as empty text.
inline QString FieldText(const QVariant &v) { return v.isNull() ? QString() : v.toString(); }

// Units of measure and codes compared without regard to case; the same spelling, the usual
// case, is told at once.
inline bool SameText(const QString &a, const QString &b)
{
    return a == b || a.compare(b, Qt::CaseInsensitive) == 0;
}

// An article or list code as the database compares codes (ASCII letters without regard to
// case), for keys of in-memory tables.
inline QString CodeKey(const QString &code)
{
    // Codes are nearly always upper case already: those are shared, not copied.
    qsizetype i = 0;
    while (i < code.size() && !(code[i] >= QLatin1Char('a') && code[i] <= QLatin1Char('z')))
        ++i;
    if (i == code.size())
        return code;
    QString key = code;
    for (QChar *c = key.data() + i, *end = key.data() + key.size(); c != end; ++c)
        if (*c >= QLatin1Char('a') && *c <= QLatin1Char('z'))
            *c = QChar(c->unicode() - ('a' - 'A'));
    return key;
}

} // namespace kem
