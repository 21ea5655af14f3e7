// The espeak-ng engine in playback mode on a machine without any sound output: it still starts,
// and speaking and stopping return at once, silently.
#include "platform/EspeakSpeech.h"
#include "speech/Speaker.h"

#include <QTemporaryDir>
#include <QTest>

class TestEspeakNoDevice : public QObject
{
    Q_OBJECT
private slots:
    void startsAndStaysSilent();
};

void TestEspeakNoDevice::startsAndStaysSilent()
{
    QTemporaryDir home;
    // A PulseAudio server that does not exist and an ALSA set-up without cards.
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(home.filePath(QStringLiteral("none"))));
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("ALSA_CONFIG_PATH", QFile::encodeName(home.filePath(QStringLiteral("none.conf"))));

    Speaker speaker(std::make_unique<EspeakRuntime>());
    QCOMPARE(speaker.start(), QString());
    for (int i = 0; i < 5; ++i)
        speaker.speakWords(QStringLiteral("nobody hears this sentence"));
    speaker.stop();
    speaker.speakWord(QStringLiteral("word"));
    QTest::qSleep(200);
    speaker.release();
}

QTEST_GUILESS_MAIN(TestEspeakNoDevice)
#include "test_espeaknodevice.moc"
