#include "print/printenv.h"

#include "platform/util/kemutil.h"
#include "platform/menu/menuserver.h"

namespace kem {

QString PrintEnv::ini(const QString &section, const QString &key, const QString &def) const
{
    QString value;
    IniReadPrg(section, key, def, value, mainIni, companyIni);
    value = value.trimmed();
    return value.isEmpty() ? def : value;
}

QString PrintEnv::iniPath(const QString &section, const QString &key, const QString &def) const
{
    QString value;
    IniReadPrgPath(section, key, def, value, mainIni, companyIni);
    value = value.trimmed();
    return value.isEmpty() ? def : value;
}

QString PrintEnv::menuVar(const QString &name) const
{
    if (!menu)
        return {};
    const QString v = menu->MenuVar(name, QString());
    return v == MenuMissingMarker ? QString() : v;
}

} // namespace kem
