#include "platform/menu/menuconfig.h"

#include "platform/util/kemutil.h"
#include "platform/menu/menuserver.h"

#include <QDir>
#include <QFileInfo>

namespace kem {

bool MenuConfig::Load(const QString &companyDir, MenuConfig *config, QString *error)
{
    const QFileInfo dirInfo(companyDir);
    if (companyDir.trimmed().isEmpty() || !dirInfo.isDir()) {
        *error = QStringLiteral("Directory dell'azienda inesistente: \"%1\"").arg(companyDir);
        return false;
    }
    MenuConfig c;
    c.dir_ = dirInfo.absoluteFilePath();
    c.file_ = QDir(c.dir_).filePath(QStringLiteral("kemora-menu.ini"));
    if (!QFileInfo(c.file_).isFile()) {
        *error = QStringLiteral("File di configurazione del menu non trovato: \"%1\"").arg(c.file_);
        return false;
    }
    c.iniPath_ = c.absolute(c.read(c.file_, QStringLiteral("Menu"), QStringLiteral("IniPath"))
                                .value_or(QString()));
    c.help_ = c.absolute(
        c.read(c.file_, QStringLiteral("Menu"), QStringLiteral("Help")).value_or(QString()));
    c.commonIni_ = c.absolute(
        c.read(c.file_, QStringLiteral("Menu"), QStringLiteral("IniComuni")).value_or(c.iniPath_));
    c.terminalIni_ = c.absolute(c.read(c.file_, QStringLiteral("Menu"), QStringLiteral("IniTerminale"))
                                    .value_or(QStringLiteral("terminale.ini")));

    c.menuDb_ = QDir(c.dir_).filePath(QStringLiteral("menu/menu.db"));
    if (!c.iniPath_.isEmpty()) {
        const std::optional<QString> name =
            c.read(c.iniPath_, QStringLiteral("Menu"), QStringLiteral("NomeDB"));
        if (name && !name->trimmed().isEmpty()) {
            // the drive is a path of the main ini: relative to the main ini's folder
            const QString drive = IniPathResolve(
                c.read(c.iniPath_, QStringLiteral("Menu"), QStringLiteral("DriveDB")).value_or(QString()),
                c.iniPath_);
            c.menuDb_ = c.absolute(QDir::isAbsolutePath(*name) || drive.isEmpty()
                                       ? name->trimmed()
                                       : QDir(drive).filePath(name->trimmed()));
        }
    }
    *config = c;
    return true;
}

std::optional<QString> MenuConfig::read(const QString &file, const QString &section,
                                        const QString &key) const
{
    QString value;
    IniRead(file, section, key, MenuMissingMarker, value);
    if (value == MenuMissingMarker)
        return std::nullopt;
    return value;
}

QString MenuConfig::absolute(const QString &path) const
{
    const QString p = path.trimmed();
    if (p.isEmpty() || QDir::isAbsolutePath(p))
        return p;
    return QDir::cleanPath(QDir(dir_).filePath(p));
}

bool MenuConfig::IsPathVariable(const QString &name, const QString &value)
{
    // The company database: a file name (with a '.'), not an "ODBC;" text nor a data source.
    return name.compare(QLatin1String("NomeDBAzie"), Qt::CaseInsensitive) == 0
           && value.contains(QLatin1Char('.'))
           && !value.trimmed().startsWith(QLatin1String("ODBC;"), Qt::CaseInsensitive);
}

std::optional<QString> MenuConfig::variable(const QString &name) const
{
    std::optional<QString> v = read(file_, QStringLiteral("Variabili"), name);
    if (v && IsPathVariable(name, *v))
        v = IniPathResolve(*v, file_);
    return v;
}

QString MenuConfig::companyDbPath() const
{
    const std::optional<QString> v = variable(QStringLiteral("NomeDBAzie"));
    return v && IsPathVariable(QStringLiteral("NomeDBAzie"), *v) ? *v : QString();
}

std::optional<QString> MenuConfig::personal(const QString &sectionDotKey) const
{
    return read(file_, QStringLiteral("Personali"), sectionDotKey);
}

QString MenuConfig::formFor(const QString &chiave, const QString &chiaveSec) const
{
    const std::optional<QString> form =
        read(file_, QStringLiteral("Form"), chiave.trimmed() + QLatin1Char('.') + chiaveSec.trimmed());
    if (form && !form->trimmed().isEmpty())
        return form->trimmed();
    return chiaveSec.trimmed();
}

} // namespace kem
