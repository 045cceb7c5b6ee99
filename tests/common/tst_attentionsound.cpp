// The attention sound: the WAV image of a tone and the choice between beep, tone and file.
#include "common/attentionsound.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace kem;

namespace {

class RecordingPlayer : public SoundPlayer {
public:
    void beep() override { calls << QStringLiteral("beep"); }
    void playWav(const QByteArray &wav) override
    {
        calls << QStringLiteral("wav");
        lastWav = wav;
    }
    void playFile(const QString &path) override { calls << QStringLiteral("file:") + path; }
    QStringList calls;
    QByteArray lastWav;
};

quint32 U32(const QByteArray &b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }
quint16 U16(const QByteArray &b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }
qint16 S16(const QByteArray &b, int at) { return qFromLittleEndian<qint16>(b.constData() + at); }

} // namespace

class TestAttentionSound : public QObject {
    Q_OBJECT
private slots:
    void headerBytes();
    void samples();
    void emptyTone_data();
    void emptyTone();
    void play_data();
    void play();
};

void TestAttentionSound::headerBytes()
{
    // 440 Hz for 100 ms at 8000 samples per second: 800 samples of 2 bytes.
    const QByteArray wav = ToneWav(440, 100, 8000);
    const QByteArray expected = QByteArray::fromHex(
        "52494646"  // "RIFF"
        "64060000"  // 36 + 1600
        "57415645"  // "WAVE"
        "666d7420"  // "fmt "
        "10000000"  // 16
        "0100"      // PCM
        "0100"      // one channel
        "401f0000"  // 8000
        "803e0000"  // 16000 bytes per second
        "0200"      // block align
        "1000"      // 16 bits
        "64617461"  // "data"
        "40060000"); // 1600
    QCOMPARE(wav.left(44), expected);
    QCOMPARE(wav.size(), 44 + 1600);
    QCOMPARE(U32(wav, 4), quint32(wav.size() - 8));
    QCOMPARE(U32(wav, 40), quint32(wav.size() - 44));
}

void TestAttentionSound::samples()
{
    const int rate = 8000, freq = 1000;
    const QByteArray wav = ToneWav(freq, 50, rate);
    const int n = (wav.size() - 44) / 2;
    QCOMPARE(n, 400);
    // Starts and ends silent (fades), reaches a loud peak, never clips.
    QCOMPARE(S16(wav, 44), qint16(0));
    QVERIFY(qAbs(S16(wav, 44 + 2 * (n - 1))) < 2000);
    int peak = 0;
    int crossings = 0;
    for (int i = 0; i < n; ++i) {
        const int s = S16(wav, 44 + 2 * i);
        peak = std::max(peak, qAbs(s));
        if (i > 0 && (S16(wav, 44 + 2 * (i - 1)) < 0) != (s < 0))
            ++crossings;
    }
    QVERIFY(peak > 15000);
    QVERIFY(peak < 32767);
    // 1000 Hz for 50 ms: 50 periods, two sign changes each.
    QVERIFY2(crossings >= 95 && crossings <= 101, qPrintable(QString::number(crossings)));
}

void TestAttentionSound::emptyTone_data()
{
    QTest::addColumn<int>("frequency");
    QTest::addColumn<int>("ms");
    QTest::newRow("zero duration") << 440 << 0;
    QTest::newRow("negative duration") << 440 << -5;
    QTest::newRow("zero frequency") << 0 << 100;
}

void TestAttentionSound::emptyTone()
{
    QFETCH(int, frequency);
    QFETCH(int, ms);
    const QByteArray wav = ToneWav(frequency, ms, 8000);
    QCOMPARE(wav.size(), 44);
    QCOMPARE(U32(wav, 40), 0u);
    QCOMPARE(U32(wav, 4), 36u);
    QCOMPARE(U16(wav, 22), quint16(1));
}

void TestAttentionSound::play_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<int>("wavBytes");
    QTest::newRow("blank") << "" << QStringList{"beep"} << 0;
    QTest::newRow("spaces") << "   " << QStringList{"beep"} << 0;
    QTest::newRow("tone") << "880;200" << QStringList{"wav"} << 44 + 22050 / 5 * 2;
    QTest::newRow("tone with blanks") << " 440 ; 100 " << QStringList{"wav"} << 44 + 2205 * 2;
    QTest::newRow("tone, duration capped") << "440;600000" << QStringList{"wav"} << 44 + 22050 * 10 * 2;
    QTest::newRow("no duration") << "440" << QStringList{} << 0;
    QTest::newRow("duration not a number") << "440;lungo" << QStringList{} << 0;
    QTest::newRow("frequency zero") << "0;100" << QStringList{} << 0;
    QTest::newRow("missing file") << "/nonexistent/suono.wav" << QStringList{} << 0;
    QTest::newRow("existing file") << "@FILE@" << QStringList{"file:@FILE@"} << 0;
    QTest::newRow("existing file, text after ;") << "@FILE@;x" << QStringList{"file:@FILE@"} << 0;
}

void TestAttentionSound::play()
{
    QFETCH(QString, setting);
    QFETCH(QStringList, calls);
    QFETCH(int, wavBytes);
    QTemporaryDir dir;
    const QString file = dir.filePath("avviso.wav");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(ToneWav(440, 10));
    f.close();
    setting.replace("@FILE@", file);
    calls.replaceInStrings("@FILE@", file);

    RecordingPlayer player;
    PlayAttention(setting, player);
    QCOMPARE(player.calls, calls);
    QCOMPARE(int(player.lastWav.size()), wavBytes);
}

QTEST_GUILESS_MAIN(TestAttentionSound)
#include "tst_attentionsound.moc"
