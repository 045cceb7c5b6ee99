// IniRead, IniWrite and the program's ini lookup over IniFile.
#include "platform/util/inifile.h"
#include "platform/util/kemutil.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

namespace kem {

namespace {

// The value of [section] key, or nothing; an unreadable file is reported and counts as missing.
std::optional<QString> Lookup(const QString &file, const QString &section, const QString &key)
{
    IniFile ini;
    QString error;
    if (!ini.load(file, &error)) {
        qWarning().noquote() << error;
        return std::nullopt;
    }
    return ini.value(section, key);
}

QString Answer(const std::optional<QString> &found, const QString &def, QString &value)
{
    value = found ? *found : def;
    return found ? QString::number(found->size()) : QStringLiteral("0");
}

} // namespace

QString IniRead(const QString &file, const QString &section, const QString &key,
                const QString &def, QString &value)
{
    return Answer(Lookup(file, section, key), def, value);
}

bool IniWrite(const QString &file, const QString &section, const QString &key,
              const QString &value, QString *error)
{
    IniFile ini;
    if (!ini.load(file, error))
        return false;
    const bool removing = key.trimmed().isEmpty() || value.isNull();
    if (removing && !ini.exists())
        return true; // nothing to remove, and no empty file to leave behind
    if (key.trimmed().isEmpty())
        ini.removeSection(section);
    else if (value.isNull())
        ini.removeKey(section, key);
    else if (!ini.setValue(section, key, value, error))
        return false;
    return ini.save(file, error);
}

QString IniReadPrg(const QString &section, const QString &key, const QString &def, QString &value,
                   const QString &mainIni, const QString &companyIni, QString *holder)
{
    // Lookup order: the company ini first (a relative name lives in the main ini's folder),
    // then the main ini. A key present in the company ini wins even when it is empty.
    if (holder)
        holder->clear();
    if (!companyIni.trimmed().isEmpty()) {
        QString company = companyIni.trimmed();
        if (!IsAbsolutePathName(company))
            company = QFileInfo(mainIni).absoluteDir().filePath(company);
        const auto found = Lookup(company, section, key);
        if (found) {
            if (holder)
                *holder = company;
            return Answer(found, def, value);
        }
    }
    const auto found = Lookup(mainIni, section, key);
    if (found && holder)
        *holder = mainIni;
    return Answer(found, def, value);
}

QString IniReadPrgPath(const QString &section, const QString &key, const QString &def, QString &value,
                       const QString &mainIni, const QString &companyIni)
{
    QString holder;
    const QString count = IniReadPrg(section, key, def, value, mainIni, companyIni, &holder);
    if (!holder.isEmpty())
        value = IniPathResolve(value, holder);
    return count;
}

} // namespace kem
