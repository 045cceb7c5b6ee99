#include "common/attentionsound.h"

#include "platform/util/kemutil.h"

#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace kem {

namespace {

void PutU32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void PutU16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

} // namespace

QByteArray ToneWav(int frequency, int milliseconds, int sampleRate)
{
    sampleRate = std::clamp(sampleRate, 1000, 192000);
    const int ms = std::min(milliseconds, 10000);
    const quint32 samples = frequency >= 1 && ms >= 1
                                ? static_cast<quint32>(static_cast<qint64>(sampleRate) * ms / 1000)
                                : 0;
    const quint16 channels = 1, bits = 16, blockAlign = channels * bits / 8;
    const quint32 dataSize = samples * blockAlign;

    QByteArray wav;
    wav.reserve(44 + static_cast<int>(dataSize));
    wav.append("RIFF", 4);
    PutU32(wav, 36 + dataSize);
    wav.append("WAVEfmt ", 8);
    PutU32(wav, 16);                                 // size of the fmt chunk
    PutU16(wav, 1);                                  // PCM
    PutU16(wav, channels);
    PutU32(wav, static_cast<quint32>(sampleRate));
    PutU32(wav, static_cast<quint32>(sampleRate) * blockAlign); // bytes per second
    PutU16(wav, blockAlign);
    PutU16(wav, bits);
    wav.append("data", 4);
    PutU32(wav, dataSize);

    const double fade = sampleRate * 0.005;
    for (quint32 i = 0; i < samples; ++i) {
        const double edge = std::min<double>(i, samples - 1 - i);
        const double gain = edge < fade ? edge / fade : 1.0;
        const double s = std::sin(2.0 * std::numbers::pi * frequency * i / sampleRate);
        PutU16(wav, static_cast<quint16>(static_cast<qint16>(std::lround(s * gain * 0.6 * 32767))));
    }
    return wav;
}

void PlayAttention(const QString &setting, SoundPlayer &player)
{
    if (setting.trimmed().isEmpty()) {
        player.beep();
        return;
    }
    const qsizetype semi = setting.indexOf(QLatin1Char(';'));
    const QString first = (semi < 0 ? setting : setting.left(semi)).trimmed();
    const QString second = semi < 0 ? QString() : setting.mid(semi + 1).trimmed();
    bool isNumber = false;
    const double frequency = TextToNum(first, &isNumber);
    if (isNumber) {
        bool okMs = false;
        const int ms = TextToInt(second, &okMs);
        if (frequency < 1 || frequency > 32767 || !okMs || ms < 1)
            return; // no audible tone to make
        const QByteArray wav = ToneWav(static_cast<int>(std::lround(frequency)), ms);
        if (wav.size() > 44)
            player.playWav(wav);
        return;
    }
    const QString &file = first;
    if (QFileInfo(file).isFile())
        player.playFile(file);
}

} // namespace kem
