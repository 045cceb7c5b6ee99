#pragma once
// The attention sound: the "BeepCome" setting played when a message asks for it.
#include <QByteArray>
#include <QString>

namespace kem {

// What the sound is played with. The program uses SystemSoundPlayer (systemsoundplayer.h);
// tests record the calls.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void beep() = 0;                         // the standard system beep
    virtual void playWav(const QByteArray &wav) = 0; // a WAV image held in memory
    virtual void playFile(const QString &path) = 0;  // a sound file, asynchronously
};

// A sine tone as a WAV image: "RIFF" chunk of form "WAVE", a 16-byte "fmt " chunk (PCM, one
// channel, 16 bits, sampleRate), a "data" chunk of frequency Hz for milliseconds ms, with
// 5 ms fades at both ends so it does not click. The duration is capped at 10000 ms;
// a frequency or duration below 1 gives the header alone (no samples). All numbers are
// little-endian.
QByteArray ToneWav(int frequency, int milliseconds, int sampleRate = 22050);

// Plays the setting: blank gives the system beep; "frequency;milliseconds" (the part before
// the first ";" a number from 1 to 32767, the duration at least 1) a generated tone; a
// numeric setting outside those ranges plays nothing. When the part before the first ";"
// is not a number it is a sound file, played asynchronously when it exists (nothing at all
// when it does not).
void PlayAttention(const QString &setting, SoundPlayer &player);

} // namespace kem
