#include "platform/printlib/printoptions.h"

namespace kem {

void PrintOptions::EmailRunClear()
{
    EmailRunMode = 0;
    EmailRunTo.clear();
    EmailRunSubject.clear();
    EmailRunText.clear();
}

bool PrintOptions::ParamSet(const QString &name, int type, const QVariant &value, QString *error)
{
    const QString key = name.trimmed().toLower();
    if (key.isEmpty()) {
        if (error)
            *error = QStringLiteral("Nome parametro vuoto");
        return false;
    }
    if (type == ParamInteger) {
        bool ok = false;
        const QString text = value.toString().trimmed();
        const qlonglong n = text.toLongLong(&ok);
        if (!ok || n < INT_MIN || n > INT_MAX) {
            if (error)
                *error = QStringLiteral("Parametro %1: valore intero non valido (%2)").arg(name, text);
            return false;
        }
        m_params.insert(key, int(n));
        return true;
    }
    m_params.insert(key, value);
    return true;
}

QVariant PrintOptions::ParamGet(const QString &name, int type) const
{
    const auto it = m_params.constFind(name.trimmed().toLower());
    if (it == m_params.constEnd())
        return type == ParamInteger ? QVariant(0) : QVariant();
    return type == ParamInteger ? QVariant(it->toInt()) : *it;
}

bool PrintOptions::ParamExists(const QString &name) const
{
    return m_params.contains(name.trimmed().toLower());
}

bool PrintOptions::SeparatorChar(QChar *out, QString *error) const
{
    switch (SepCampi) {
    case SepSpace: *out = QLatin1Char(' '); return true;
    case SepTab: *out = QLatin1Char('\t'); return true;
    case SepSemicolon: *out = QLatin1Char(';'); return true;
    case SepComma: *out = QLatin1Char(','); return true;
    }
    if (error)
        *error = QStringLiteral("Separatore campi non valido (%1)").arg(SepCampi);
    return false;
}

bool PrintOptions::QualifierChar(QChar *out, QString *error) const
{
    switch (DelimStr) {
    case QualNone: *out = QChar(); return true;
    case QualSingle: *out = QLatin1Char('\''); return true;
    case QualDouble: *out = QLatin1Char('"'); return true;
    }
    if (error)
        *error = QStringLiteral("Qualificatore testo non valido (%1)").arg(DelimStr);
    return false;
}

} // namespace kem
