#include "apps/kemora-menu/modulelauncher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace kem {

ModuleLauncher::ModuleLauncher(MenuHost &host, QObject *parent) : QObject(parent), host_(host) {}

QString ModuleLauncher::FindModule()
{
    const QString env = qEnvironmentVariable("KEM_DISTINTA");
    if (!env.isEmpty())
        return QFileInfo(env).isExecutable() ? QFileInfo(env).absoluteFilePath() : QString();
    const QDir here(QCoreApplication::applicationDirPath());
    for (const QString &candidate : {here.filePath(QStringLiteral("distinta")),
                                     here.filePath(QStringLiteral("../distinta/distinta"))}) {
        const QFileInfo info(candidate);
        if (info.isFile() && info.isExecutable())
            return info.canonicalFilePath();
    }
    return {};
}

bool ModuleLauncher::openForm(const QString &form, QString *error)
{
    QList<MenuEntry> entries;
    try {
        entries = host_.database().entries();
    } catch (const std::exception &e) {
        *error = QString::fromUtf8(e.what());
        return false;
    }
    if (entries.isEmpty()) {
        *error = QStringLiteral("Il menu non ha voci in MenuDett");
        return false;
    }
    for (const MenuEntry &e : entries) {
        if (host_.config().formFor(e.chiave, e.chiaveSec).compare(form.trimmed(), Qt::CaseInsensitive) == 0)
            return open(e.chiave, e.chiaveSec, form, error);
    }
    return open(entries.first().chiave, QString(), form, error);
}

bool ModuleLauncher::open(const QString &programKey, const QString &chiaveSec, const QString &form,
                          QString *error)
{
    ModuleLaunch launch;
    launch.socketName = host_.socketName();
    launch.programKey = programKey;
    launch.extraText = chiaveSec;
    launch.form = form;
    launch.iniPath = host_.config().iniPath();
    launch.helpFile = host_.config().helpFile();
    if (launch.programKey.trimmed().isEmpty() || launch.form.trimmed().isEmpty()) {
        *error = QStringLiteral("Voce di menu senza programma o senza form");
        return false;
    }
    const LaunchParams params{ModuleCommandLine(launch), {}, {}, {}};
    host_.storeLaunch(programKey, chiaveSec, params);

    const int running = host_.sessionFor(programKey);
    if (running != 0) {
        host_.sendCommand(running, QString(), chiaveSec.trimmed(), QStringLiteral("attiva"), QVariant());
        return true;
    }
    const QString program = FindModule();
    if (program.isEmpty()) {
        *error = QStringLiteral("Programma \"distinta\" non trovato (accanto a %1 o in KEM_DISTINTA)")
                     .arg(QCoreApplication::applicationDirPath());
        return false;
    }
    qint64 pid = 0;
    if (!QProcess::startDetached(program, ModuleArguments(launch), host_.config().companyDir(), &pid)) {
        *error = QStringLiteral("Impossibile avviare \"%1\"").arg(program);
        return false;
    }
    emit logLine(QStringLiteral("Avviato %1 %2 (pid %3)").arg(program, params.osParam).arg(pid));
    return true;
}

} // namespace kem
