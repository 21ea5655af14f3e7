// A speech runtime started ahead on another thread: the same calls reach the runtime, once each and in
// the same order, and its failures come through unchanged.
#include "platform/PrestartedRuntime.h"
#include "speech/Speaker.h"

#include "../../mocks/FakeSpeech.h"

#include <QTest>

class TestPrestartedRuntime : public QObject
{
    Q_OBJECT
private slots:
    void handsOver_data();
    void handsOver();
    void unusedStartIsUndone();
    void restartsAfterRelease();
    void speaksThroughSpeaker();
};

void TestPrestartedRuntime::handsOver_data()
{
    QTest::addColumn<bool>("initializes");
    QTest::addColumn<bool>("hasEngine");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("both start") << true << true
                                << QStringList{"initialize", "createEngine", "releaseEngine", "uninitialize"};
    QTest::newRow("no runtime") << false << true << QStringList{"initialize"};
    QTest::newRow("no engine") << true << false << QStringList{"initialize", "createEngine", "uninitialize"};
}

void TestPrestartedRuntime::handsOver()
{
    QFETCH(bool, initializes);
    QFETCH(bool, hasEngine);
    QFETCH(QStringList, calls);
    auto fake = std::make_unique<FakeSpeechRuntime>();
    fake->initializeSucceeds = initializes;
    fake->engineAvailable = hasEngine;
    const auto log = fake->log();
    {
        PrestartedRuntime runtime(std::move(fake));
        QCOMPARE(runtime.initialize(), initializes);
        std::unique_ptr<SpeechEngine> engine;
        if (initializes) {
            engine = runtime.createEngine();
            QCOMPARE(engine != nullptr, hasEngine);
        }
        // What happened so far happened once, on the other thread.
        QCOMPARE(log->calls, calls.mid(0, initializes ? 2 : 1));
        engine.reset();
        if (initializes)
            runtime.uninitialize();
    }
    QCOMPARE(log->calls, calls);
}

void TestPrestartedRuntime::unusedStartIsUndone()
{
    auto fake = std::make_unique<FakeSpeechRuntime>();
    const auto log = fake->log();
    { PrestartedRuntime runtime(std::move(fake)); }
    // A start that failed before speech was set up leaves nothing running.
    QCOMPARE(log->calls, (QStringList{"initialize", "createEngine", "releaseEngine", "uninitialize"}));
}

void TestPrestartedRuntime::restartsAfterRelease()
{
    auto fake = std::make_unique<FakeSpeechRuntime>();
    const auto log = fake->log();
    PrestartedRuntime runtime(std::move(fake));
    QVERIFY(runtime.initialize());
    QVERIFY(runtime.createEngine());
    runtime.uninitialize();
    QVERIFY(runtime.initialize());
    QVERIFY(runtime.createEngine());
    QCOMPARE(log->calls, (QStringList{"initialize", "createEngine", "releaseEngine", "uninitialize", "initialize",
                                      "createEngine", "releaseEngine"}));
}

void TestPrestartedRuntime::speaksThroughSpeaker()
{
    auto fake = std::make_unique<FakeSpeechRuntime>();
    const auto log = fake->log();
    Speaker speaker(std::make_unique<PrestartedRuntime>(std::move(fake)));
    QCOMPARE(speaker.start(), QString());
    speaker.speakWord(QStringLiteral("apple"));
    QCOMPARE(log->texts.size(), size_t(1));
    speaker.release();
    QCOMPARE(log->calls.last(), QStringLiteral("uninitialize"));
    QCOMPARE(log->calls.count(QStringLiteral("uninitialize")), 1);
}

QTEST_GUILESS_MAIN(TestPrestartedRuntime)
#include "test_prestartedruntime.moc"
