#include "platform/menu/menulaunch.h"

namespace kem {

QStringList ModuleArguments(const ModuleLaunch &launch)
{
    QString program = launch.programKey.trimmed();
    if (!launch.extraText.trimmed().isEmpty())
        program += QLatin1Char(' ') + launch.extraText.trimmed();
    QStringList args{QStringLiteral("/M"), launch.socketName.trimmed(), QStringLiteral("/P"),
                     program, QStringLiteral("/F"), launch.form.trimmed()};
    if (!launch.iniPath.trimmed().isEmpty())
        args << QStringLiteral("/I") << launch.iniPath.trimmed();
    if (!launch.helpFile.trimmed().isEmpty())
        args << QStringLiteral("/H") << launch.helpFile.trimmed();
    return args;
}

QString ModuleCommandLine(const ModuleLaunch &launch)
{
    return ModuleArguments(launch).join(QLatin1Char(' '));
}

} // namespace kem
