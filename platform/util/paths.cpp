// Paths, files, command-line switches and the stand-in for the Windows directory.
#include "platform/util/kemutil.h"

#include <QDir>
#include <QFileInfo>

namespace kem {

namespace {

bool IsSeparator(QChar c) { return c == QLatin1Char('\\') || c == QLatin1Char('/'); }

bool HasDriveLetter(const QString &s) { return s.size() >= 2 && s[1] == QLatin1Char(':') && s[0].isLetter(); }

// '\\' or '/' when the part shows its style, QChar() when it does not.
QChar StyleOf(const QString &part)
{
    if (HasDriveLetter(part) || part.contains(QLatin1Char('\\')))
        return QLatin1Char('\\');
    if (part.contains(QLatin1Char('/')))
        return QLatin1Char('/');
    return {};
}

} // namespace

bool IsAbsolutePathName(const QString &name)
{
    return HasDriveLetter(name) || name.startsWith(QLatin1String("\\\\")) || name.startsWith(QLatin1Char('/'));
}

QString PathJoin(const QString &name, const QString &drive, const QString &directory)
{
    if (IsAbsolutePathName(name))
        return name;
    QStringList parts;
    for (const QString &p : {drive, directory, name})
        if (!p.trimmed().isEmpty())
            parts << p.trimmed();
    QChar sep;
    for (const QString &p : parts)
        if (sep.isNull())
            sep = StyleOf(p);
    if (parts.isEmpty())
        return QStringLiteral("\\");
    if (sep.isNull())
        sep = QLatin1Char('/');
    QString out = parts[0];
    for (qsizetype i = 1; i < parts.size(); ++i) {
        QString p = parts[i];
        while (!p.isEmpty() && IsSeparator(p.front()))
            p.remove(0, 1);
        if (p.isEmpty())
            continue;
        while (out.size() > 1 && IsSeparator(out.back()))
            out.chop(1);
        if (!IsSeparator(out.back())) // a bare root ("/") already ends with its separator
            out += sep;
        out += p;
    }
    return out;
}

QString IniPathResolve(const QString &path, const QString &iniFile)
{
    const QString p = path.trimmed();
    if (p.isEmpty() || iniFile.trimmed().isEmpty() || IsAbsolutePathName(p) || IsSeparator(p.front()))
        return p;
    QString out = QDir::cleanPath(QFileInfo(iniFile).absoluteDir().filePath(p));
    if (IsSeparator(p.back()) && !IsSeparator(out.back()))
        out += QLatin1Char('/');
    return out;
}

QString IniPathRelative(const QString &path, const QString &iniFile)
{
    const QString p = path.trimmed();
    if (p.isEmpty() || iniFile.trimmed().isEmpty() || !p.startsWith(QLatin1Char('/')))
        return p;
    const QDir folder = QFileInfo(iniFile).absoluteDir();
    const QString clean = QDir::cleanPath(p);
    const QString base = QDir::cleanPath(folder.absolutePath());
    if (clean != base && !clean.startsWith(base == QLatin1String("/") ? base : base + QLatin1Char('/')))
        return p;
    QString out = folder.relativeFilePath(clean);
    if (out.isEmpty())
        out = QStringLiteral(".");
    if (p.back() == QLatin1Char('/') && out.back() != QLatin1Char('/'))
        out += QLatin1Char('/');
    return out;
}

bool PathIsInside(const QString &path, const QString &folder)
{
    auto real = [](const QString &p) {
        const QFileInfo info(p);
        if (const QString canonical = info.canonicalFilePath(); !canonical.isEmpty())
            return canonical;
        // a file still to be made: its folder decides
        if (const QString parent = info.absoluteDir().canonicalPath(); !parent.isEmpty())
            return QDir::cleanPath(parent + QLatin1Char('/') + info.fileName());
        return QDir::cleanPath(info.absoluteFilePath());
    };
    const QString p = real(path);
    const QString f = real(folder);
    if (p == f)
        return true;
    return p.startsWith(f.endsWith(QLatin1Char('/')) ? f : f + QLatin1Char('/'));
}

bool FileExists(const QString &path)
{
    if (path.trimmed().isEmpty() || path == QLatin1String("\\"))
        return false;
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

QString CmdSwitch(const QString &commandLine, QChar letter)
{
    // Positions of every switch: (index of '/' or '-', letter).
    struct Switch { qsizetype at; QChar letter; };
    QList<Switch> switches;
    const QString &s = commandLine;
    for (qsizetype i = 0; i + 1 < s.size(); ++i) {
        const bool marker = s[i] == QLatin1Char('/') || s[i] == QLatin1Char('-');
        const bool starts = i == 0 || s[i - 1].isSpace();
        const bool ends = i + 2 >= s.size() || s[i + 2].isSpace();
        if (marker && starts && ends && s[i + 1].isLetter())
            switches.append({i, s[i + 1]});
    }
    for (qsizetype k = 0; k < switches.size(); ++k) {
        if (switches[k].letter.toUpper() != letter.toUpper())
            continue;
        const qsizetype from = switches[k].at + 2;
        const qsizetype to = k + 1 < switches.size() ? switches[k + 1].at : s.size();
        return s.mid(from, to - from).trimmed();
    }
    return {};
}

QString WindowsDir()
{
    const QString dir = qEnvironmentVariable("KEM_WINDIR").trimmed();
    return dir.isEmpty() ? QStringLiteral("/etc/kemora") : dir;
}

} // namespace kem
