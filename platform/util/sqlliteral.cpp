// Values as SQL literals of the Jet dialect, and the blank test per kind.
#include "platform/util/kemutil.h"

#include <QDateTime>
#include <charconv>
#include <cmath>
#include <limits>

namespace kem {

namespace {

bool IsTextual(const QVariant &v)
{
    const int id = v.metaType().id();
    return id == QMetaType::QString || id == QMetaType::QByteArray || id == QMetaType::QChar;
}

// Integer value of a variant: text is read the Italian way, fractions round half away from zero.
bool ToInteger(const QVariant &v, qint64 min, qint64 max, qint64 &out)
{
    double d = 0.0;
    bool ok = true;
    if (IsTextual(v))
        d = TextToNum(v.toString(), &ok);
    else if (v.metaType().id() == QMetaType::LongLong || v.metaType().id() == QMetaType::Int
             || v.metaType().id() == QMetaType::Short || v.metaType().id() == QMetaType::Bool) {
        out = v.toLongLong();
        return out >= min && out <= max;
    } else
        d = v.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return false;
    d = RoundNum(d, QStringLiteral("A"), 1, 0);
    if (d < double(min) || d > double(max))
        return false;
    out = qint64(d);
    return true;
}

bool ToDouble(const QVariant &v, double &out)
{
    bool ok = true;
    out = IsTextual(v) ? TextToNum(v.toString(), &ok) : v.toDouble(&ok);
    return ok && std::isfinite(out);
}

// Date of a variant: QDate / QDateTime, or text dd/mm/yyyy, d/m/yyyy, yyyy-mm-dd.
QDate ToDate(const QVariant &v)
{
    if (v.metaType().id() == QMetaType::QDate)
        return v.toDate();
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime().date();
    if (!IsTextual(v))
        return {};
    const QString t = v.toString().trimmed();
    for (const char *f : {"dd/MM/yyyy", "d/M/yyyy", "yyyy-MM-dd"}) {
        const QDate d = QDate::fromString(t, QLatin1String(f));
        if (d.isValid())
            return d;
    }
    return {};
}

// Boolean of a variant; text "True"/"S"/"1"/"-1" and "False"/"N"/"0"/"" (any case).
bool ToBool(const QVariant &v, bool &out)
{
    if (!IsTextual(v)) {
        out = v.toBool();
        return true;
    }
    const QString t = v.toString().trimmed().toLower();
    const bool yes = t == QLatin1String("true") || t == QLatin1String("s") || t == QLatin1String("1")
                     || t == QLatin1String("-1");
    const bool no = t.isEmpty() || t == QLatin1String("false") || t == QLatin1String("n")
                    || t == QLatin1String("0");
    out = yes;
    return yes || no;
}

} // namespace

QString SqlLiteral(const QVariant &value, VarKind kind, bool *ok)
{
    if (ok)
        *ok = true;
    const QString null = QStringLiteral("Null");
    if (value.isNull())
        return null;
    auto fail = [&] {
        if (ok)
            *ok = false;
        return null;
    };
    switch (kind) {
    case VarKind::Text: {
        QString t = value.toString();
        return QLatin1Char('\'') + t.replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
    }
    case VarKind::Int16:
    case VarKind::Int32: {
        const bool small = kind == VarKind::Int16;
        qint64 n = 0;
        if (!ToInteger(value, small ? std::numeric_limits<qint16>::min() : std::numeric_limits<qint32>::min(),
                       small ? std::numeric_limits<qint16>::max() : std::numeric_limits<qint32>::max(), n))
            return fail();
        return QString::number(n);
    }
    case VarKind::Double: {
        double d = 0.0;
        if (!ToDouble(value, d))
            return fail();
        char buf[64];
        const auto res = std::to_chars(buf, buf + sizeof buf, d == 0.0 ? 0.0 : d); // shortest round trip
        return QString::fromLatin1(buf, res.ptr - buf);
    }
    case VarKind::Date: {
        if (value.metaType().id() == QMetaType::QDate && value.toDate().isNull())
            return null;
        const QDate d = ToDate(value);
        if (!d.isValid())
            return fail();
        return d.toString(QStringLiteral("#MM/dd/yyyy#"));
    }
    case VarKind::Bool: {
        bool b = false;
        if (!ToBool(value, b))
            return fail();
        return b ? QStringLiteral("True") : QStringLiteral("False");
    }
    }
    return fail();
}

bool IsBlank(const QVariant &value, VarKind kind)
{
    if (value.isNull())
        return true;
    switch (kind) {
    case VarKind::Text:
        return value.toString().trimmed().isEmpty();
    case VarKind::Int16:
    case VarKind::Int32:
    case VarKind::Double: {
        bool ok = true;
        const double d = IsTextual(value) ? TextToNum(value.toString(), &ok) : value.toDouble(&ok);
        return ok && d == 0.0; // text that is no number is not blank
    }
    case VarKind::Date:
        if (IsTextual(value))
            return value.toString().trimmed().isEmpty();
        return !ToDate(value).isValid();
    case VarKind::Bool: {
        bool b = false;
        return ToBool(value, b) && !b;
    }
    }
    return true;
}

} // namespace kem
