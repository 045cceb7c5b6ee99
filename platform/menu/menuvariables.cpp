#include "platform/menu/menuvariables.h"

#include <QCoreApplication>
#include <QSysInfo>

namespace kem {

namespace {
const QString kPersonal = QStringLiteral("Personal.");
}

std::optional<QString> MenuVariables::value(const QString &name) const
{
    const auto it = overrides_.constFind(name.toLower());
    if (it != overrides_.constEnd())
        return *it;
    if (name.startsWith(kPersonal, Qt::CaseInsensitive))
        return config_.personal(name.mid(kPersonal.size()));
    if (std::optional<QString> v = config_.variable(name))
        return v;
    if (name.compare(QLatin1String("MenuProcId"), Qt::CaseInsensitive) == 0)
        return QString::number(QCoreApplication::applicationPid());
    if (name.compare(QLatin1String("Terminale"), Qt::CaseInsensitive) == 0)
        return QSysInfo::machineHostName();
    return std::nullopt;
}

void MenuVariables::set(const QString &name, const QString &value)
{
    overrides_.insert(name.toLower(), value);
}

} // namespace kem
