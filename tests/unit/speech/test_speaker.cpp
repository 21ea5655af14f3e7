// The speaking commands through a fake engine: what is handed over, how long texts are cut, and the
// start-up and release order of the runtime and the engine.
#include "../../mocks/FakeSpeech.h"
#include "speech/Speaker.h"

#include <QTest>

namespace {

const QString smile = QString::fromUtf16(u"\U0001F600"); // one character, two UTF-16 units

struct Started
{
    std::shared_ptr<FakeSpeechLog> log = std::make_shared<FakeSpeechLog>();
    Speaker speaker{std::make_unique<FakeSpeechRuntime>(log)};
    Started() { QVERIFY(speaker.start().isEmpty()); }
};

} // namespace

class TestSpeaker : public QObject
{
    Q_OBJECT
private slots:
    void handsOverTextWithTerminator_data();
    void handsOverTextWithTerminator();
    void queuesEveryTextInOrder();
    void stopResetsEngine();
    void startFailures_data();
    void startFailures();
    void releasesEngineBeforeRuntime();
};

void TestSpeaker::handsOverTextWithTerminator_data()
{
    QTest::addColumn<bool>("words");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const QString a1023(1023, QLatin1Char('a'));
    const QString w11023(11023, QLatin1Char('w'));
    QTest::newRow("empty word") << false << QString() << QString();
    QTest::newRow("word") << false << QStringLiteral("hello") << QStringLiteral("hello");
    QTest::newRow("1023 whole") << false << a1023 << a1023;
    QTest::newRow("1024 cut") << false << a1023 + QLatin1Char('b') << a1023;
    QTest::newRow("pair at word cut") << false << QString(1022, QLatin1Char('a')) + smile
                                      << QString(1022, QLatin1Char('a'));
    QTest::newRow("pair before word cut") << false << QString(1021, QLatin1Char('a')) + smile + QLatin1Char('z')
                                          << QString(1021, QLatin1Char('a')) + smile;
    QTest::newRow("zero ends text") << false << QStringLiteral("ab") + QChar(u'\0') + QStringLiteral("cd")
                                    << QStringLiteral("ab");
    QTest::newRow("empty words") << true << QString() << QString();
    QTest::newRow("11023 whole") << true << w11023 << w11023;
    QTest::newRow("11024 cut") << true << w11023 + QLatin1Char('x') << w11023;
    QTest::newRow("pair at words cut") << true << QString(11022, QLatin1Char('w')) + smile
                                       << QString(11022, QLatin1Char('w'));
    QTest::newRow("lines kept") << true << QStringLiteral(" two\nlines ") << QStringLiteral(" two\nlines ");
}

void TestSpeaker::handsOverTextWithTerminator()
{
    QFETCH(bool, words);
    QFETCH(QString, text);
    QFETCH(QString, expected);

    Started s;
    if (words)
        s.speaker.speakWords(text);
    else
        s.speaker.speakWord(text);

    QCOMPARE(s.log->texts.size(), size_t(1));
    const FakeSpeechLog::Text &given = s.log->texts.front();
    QCOMPARE(given.bytes, 2 * (expected.size() + 1));
    QCOMPARE(given.units, expected + QChar(u'\0'));
}

void TestSpeaker::queuesEveryTextInOrder()
{
    Started s;
    s.speaker.speakWord(QStringLiteral("first"));
    s.speaker.speakWords(QStringLiteral("second entry"));
    s.speaker.speakWord(QStringLiteral("third"));
    // A shorter text after a longer one must not carry the tail of the buffer's earlier content.
    s.speaker.speakWord(QStringLiteral("x"));

    QCOMPARE(s.log->texts.size(), size_t(4));
    QCOMPARE(s.log->texts[0].units, QStringLiteral("first") + QChar(u'\0'));
    QCOMPARE(s.log->texts[1].units, QStringLiteral("second entry") + QChar(u'\0'));
    QCOMPARE(s.log->texts[2].units, QStringLiteral("third") + QChar(u'\0'));
    QCOMPARE(s.log->texts[3].units, QStringLiteral("x") + QChar(u'\0'));
    QCOMPARE(s.log->resets, 0);
}

void TestSpeaker::stopResetsEngine()
{
    Started s;
    s.speaker.stop(); // nothing spoken yet: harmless
    s.speaker.speakWord(QStringLiteral("word"));
    s.speaker.stop();
    QCOMPARE(s.log->resets, 2);
    QCOMPARE(s.log->texts.size(), size_t(1));
}

void TestSpeaker::startFailures_data()
{
    QTest::addColumn<bool>("runtimeOk");
    QTest::addColumn<bool>("engineOk");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("calls");

    QTest::newRow("no runtime") << false << true << QStringLiteral("Can't create OLE.")
                                << QStringList{QStringLiteral("initialize")};
    QTest::newRow("no engine") << true << false << QStringLiteral("Can't create a TTS engine.")
                               << QStringList{QStringLiteral("initialize"), QStringLiteral("createEngine")};
    QTest::newRow("ready") << true << true << QString()
                           << QStringList{QStringLiteral("initialize"), QStringLiteral("createEngine")};
}

void TestSpeaker::startFailures()
{
    QFETCH(bool, runtimeOk);
    QFETCH(bool, engineOk);
    QFETCH(QString, message);
    QFETCH(QStringList, calls);

    auto runtime = std::make_unique<FakeSpeechRuntime>();
    runtime->initializeSucceeds = runtimeOk;
    runtime->engineAvailable = engineOk;
    const auto log = runtime->log();
    Speaker speaker(std::move(runtime));

    QCOMPARE(speaker.start(), message);
    QCOMPARE(log->calls, calls);
    QCOMPARE(speaker.isReady(), message.isEmpty());
    // Without an engine the commands do nothing rather than fail.
    speaker.speakWord(QStringLiteral("word"));
    speaker.stop();
    QCOMPARE(log->texts.size(), size_t(message.isEmpty() ? 1 : 0));
}

void TestSpeaker::releasesEngineBeforeRuntime()
{
    const auto log = std::make_shared<FakeSpeechLog>();
    {
        Speaker speaker(std::make_unique<FakeSpeechRuntime>(log));
        QVERIFY(speaker.start().isEmpty());
        speaker.release();
        speaker.release();
        speaker.speakWord(QStringLiteral("after release"));
    }
    QCOMPARE(log->calls, (QStringList{QStringLiteral("initialize"), QStringLiteral("createEngine"),
                                      QStringLiteral("releaseEngine"), QStringLiteral("uninitialize")}));
    QVERIFY(log->texts.empty());
}

QTEST_MAIN(TestSpeaker)
#include "test_speaker.moc"
