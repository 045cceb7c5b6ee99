#pragma once
// Stand-ins for the programs the module starts (sendmail, xdg-email): a shell script written
// by the test into its own folder, and what it left behind.
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace kemtest {

// DIR/name, executable, running `body` under /bin/sh; empty when it cannot be written.
inline QString WriteScript(const QTemporaryDir &dir, const QString &name, const QByteArray &body)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write("#!/bin/sh\n" + body);
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// Puts a folder first on PATH for the life of the object.
class PathFirst {
public:
    explicit PathFirst(const QString &folder) : saved_(qgetenv("PATH"))
    {
        qputenv("PATH", folder.toLocal8Bit() + ':' + saved_);
    }
    ~PathFirst() { qputenv("PATH", saved_); }
    PathFirst(const PathFirst &) = delete;
    PathFirst &operator=(const PathFirst &) = delete;

private:
    QByteArray saved_;
};

} // namespace kemtest
