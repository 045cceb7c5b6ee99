#include "common/systemsoundplayer.h"

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>

namespace kem {

QString SystemSoundPlayer::findPlayer()
{
    for (const char *name : {"aplay", "paplay", "pw-play"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

void SystemSoundPlayer::beep()
{
    QApplication::beep();
}

void SystemSoundPlayer::playWav(const QByteArray &wav)
{
    const QString player = findPlayer();
    if (player.isEmpty()) {
        beep();
        return;
    }
    auto *process = new QProcess(this);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardOutputFile(QProcess::nullDevice());
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    connect(process, &QProcess::errorOccurred, process, [process](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            process->deleteLater();
    });
    QStringList args;
    if (player.endsWith(QStringLiteral("aplay")))
        args << QStringLiteral("-q");
    args << QStringLiteral("-");
    if (player.endsWith(QStringLiteral("paplay")))
        args.clear(); // paplay reads standard input when no file is named
    process->start(player, args);
    process->write(wav);
    process->closeWriteChannel();
}

void SystemSoundPlayer::playFile(const QString &path)
{
    const QString player = findPlayer();
    if (!player.isEmpty())
        QProcess::startDetached(player, {path});
}

} // namespace kem
