// The espeak-ng engine in its synchronous mode: the samples it makes are captured and measured, and its
// start is failed with data folders that lack the phoneme tables or the English voice.
#include "platform/EspeakSpeech.h"
#include "speech/Speaker.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <vector>

namespace {

const QString installedData = QStringLiteral(ESPEAK_DATA_DIR);

struct Capture
{
    std::vector<short> samples;

    EspeakOptions options()
    {
        EspeakOptions o;
        o.output = EspeakOptions::Output::Synchronous;
        o.samplesTap = [this](const short *data, int count) { samples.insert(samples.end(), data, data + count); };
        return o;
    }

    double rms() const
    {
        if (samples.empty())
            return 0;
        double sum = 0;
        for (short s : samples)
            sum += double(s) * s;
        return std::sqrt(sum / double(samples.size())) / 32768.0;
    }
};

} // namespace

class TestEspeakCapture : public QObject
{
    Q_OBJECT
private slots:
    void emptyDataFolderFailsEngine();
    void missingVoiceFailsEngine();
    void wordIsAudible();
    void emptyTextIsSilent();
    void secondRuntimeRefused();
};

void TestEspeakCapture::emptyDataFolderFailsEngine()
{
    QTemporaryDir empty;
    EspeakOptions options;
    options.output = EspeakOptions::Output::Synchronous;
    options.dataPath = QFile::encodeName(empty.path());
    {
        Speaker speaker(std::make_unique<EspeakRuntime>(options));
        // No data is no engine installed, not a broken runtime.
        QCOMPARE(speaker.start(), Speaker::engineFailureMessage());
    }

    // The variable the library itself reads leads to the same clean failure.
    qputenv("ESPEAK_DATA_PATH", QFile::encodeName(empty.path()));
    options.dataPath.clear();
    Speaker fromEnvironment(std::make_unique<EspeakRuntime>(options));
    QCOMPARE(fromEnvironment.start(), Speaker::engineFailureMessage());
    qunsetenv("ESPEAK_DATA_PATH");
}

void TestEspeakCapture::missingVoiceFailsEngine()
{
    // The phoneme tables alone: the library starts, but there is no English voice to select.
    QTemporaryDir folder;
    const QString data = folder.filePath(QStringLiteral("espeak-ng-data"));
    QVERIFY(QDir().mkpath(data));
    for (const char *name : {"phontab", "phonindex", "phondata", "intonations"}) {
        const QString file = QString::fromLatin1(name);
        QVERIFY(QFile::copy(installedData + QLatin1Char('/') + file, data + QLatin1Char('/') + file));
    }
    EspeakOptions options;
    options.output = EspeakOptions::Output::Synchronous;
    options.dataPath = QFile::encodeName(data);
    Speaker speaker(std::make_unique<EspeakRuntime>(options));
    QCOMPARE(speaker.start(), Speaker::engineFailureMessage());
}

void TestEspeakCapture::wordIsAudible()
{
    Capture capture;
    Speaker speaker(std::make_unique<EspeakRuntime>(capture.options()));
    QVERIFY(speaker.start().isEmpty());
    speaker.speakWord(QStringLiteral("dictionary"));
    // At 22050 Hz a spoken word lasts a good fraction of a second.
    QVERIFY2(capture.samples.size() > 5000, qPrintable(QString::number(capture.samples.size())));
    QVERIFY2(capture.rms() > 0.01, qPrintable(QString::number(capture.rms())));
}

void TestEspeakCapture::emptyTextIsSilent()
{
    Capture capture;
    Speaker speaker(std::make_unique<EspeakRuntime>(capture.options()));
    QVERIFY(speaker.start().isEmpty());
    speaker.speakWord(QString());
    speaker.speakWords(QString());
    QVERIFY2(capture.rms() < 0.001, qPrintable(QString::number(capture.rms())));
}

void TestEspeakCapture::secondRuntimeRefused()
{
    // The library is one per process: a second runtime must fail, not share or break the first.
    Capture capture;
    Speaker first(std::make_unique<EspeakRuntime>(capture.options()));
    QVERIFY(first.start().isEmpty());
    Speaker second(std::make_unique<EspeakRuntime>(capture.options()));
    QCOMPARE(second.start(), Speaker::runtimeFailureMessage());
    first.speakWord(QStringLiteral("still"));
    QVERIFY(capture.rms() > 0.01);
}

QTEST_GUILESS_MAIN(TestEspeakCapture)
#include "test_espeakcapture.moc"
