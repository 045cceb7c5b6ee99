#pragma once
// The program's sound player: the desktop beep, and tones and sound files through the first
// command-line player found (aplay, paplay, pw-play). Playback failures are ignored.
#include "common/attentionsound.h"

#include <QObject>

namespace kem {

class SystemSoundPlayer : public QObject, public SoundPlayer {
    Q_OBJECT
public:
    using QObject::QObject;
    void beep() override;                         // QApplication::beep()
    void playWav(const QByteArray &wav) override; // fed to the player on its standard input
    void playFile(const QString &path) override;  // started detached
private:
    static QString findPlayer();
};

} // namespace kem
