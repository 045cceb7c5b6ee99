#include "common/screenfactor.h"

#include "platform/util/kemutil.h"

namespace kem {

double ResolveFormFactor(const ScreenSettings &s, const QString &risVidKey,
                         const std::optional<QString> &keySec)
{
    if (s.general == -1)
        return -1;
    if (s.general != -2)
        return s.general;
    QString key = risVidKey.trimmed();
    if (key.isEmpty() && keySec.has_value())
        key = s.programKey + QLatin1Char('-') + *keySec;
    if (key.isEmpty())
        return s.base;
    bool ok = false;
    const double f = TextToNum(s.ini.value(QStringLiteral("Risoluzione Video"), key,
                                           QStringLiteral("-2")), &ok);
    return !ok || f == -2 ? s.base : f;
}

} // namespace kem
