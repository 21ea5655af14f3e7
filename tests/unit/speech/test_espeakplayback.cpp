// The espeak-ng engine in playback mode, speaking into a private PulseAudio server with a null sink:
// texts queue behind each other and are spoken in order; a reset stops at once and drops the queue.
#include "../../mocks/PrivatePulse.h"
#include "platform/EspeakSpeech.h"
#include "speech/Speaker.h"

#include <QTemporaryDir>
#include <QTest>

#include <mutex>
#include <vector>

namespace {

// Events arrive on espeak-ng's own thread.
struct EventLog
{
    std::mutex mutex;
    std::vector<EspeakEvent> events;

    void add(const EspeakEvent &event)
    {
        std::lock_guard lock(mutex);
        events.push_back(event);
    }
    std::vector<EspeakEvent> snapshot()
    {
        std::lock_guard lock(mutex);
        return events;
    }
    int count(EspeakEvent::Kind kind, quint32 textId = 0)
    {
        int n = 0;
        for (const EspeakEvent &e : snapshot())
            n += e.kind == kind && (textId == 0 || e.textId == textId);
        return n;
    }
};

} // namespace

class TestEspeakPlayback : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void queuedTextsSpokenInOrder();
    void stopDropsQueue();

private:
    QTemporaryDir m_home;
    PrivatePulse m_pulse;
    EventLog *m_log = nullptr;
    std::unique_ptr<Speaker> m_speaker;
};

void TestEspeakPlayback::initTestCase()
{
    if (const QString why = m_pulse.start(m_home.path()); !why.isEmpty())
        QSKIP(qPrintable(why));
}

void TestEspeakPlayback::cleanupTestCase()
{
    m_pulse.stop();
}

void TestEspeakPlayback::init()
{
    auto *log = new EventLog;
    m_log = log;
    EspeakOptions options;
    options.eventTap = [log](const EspeakEvent &event) { log->add(event); };
    m_speaker = std::make_unique<Speaker>(std::make_unique<EspeakRuntime>(options));
    QVERIFY(m_speaker->start().isEmpty());
}

void TestEspeakPlayback::cleanup()
{
    // The runtime is gone before the log, so no late event can reach a freed log.
    m_speaker.reset();
    delete m_log;
    m_log = nullptr;
}

void TestEspeakPlayback::queuedTextsSpokenInOrder()
{
    m_speaker->speakWord(QStringLiteral("apple tree"));
    m_speaker->speakWords(QStringLiteral("orange juice"));
    QVERIFY2(m_log->count(EspeakEvent::Kind::TextEnd) < 2, "handing texts over must not wait for the speech");

    QVERIFY(QTest::qWaitFor([&] { return m_log->count(EspeakEvent::Kind::TextEnd) >= 2; }, 10000));
    // Both texts were spoken word by word, the first entirely before the second.
    std::vector<quint32> words;
    for (const EspeakEvent &e : m_log->snapshot()) {
        if (e.kind == EspeakEvent::Kind::Word)
            words.push_back(e.textId);
    }
    QCOMPARE(words.size(), size_t(4));
    QVERIFY(words[0] == words[1] && words[2] == words[3]);
    QVERIFY(words[0] < words[2]);
}

void TestEspeakPlayback::stopDropsQueue()
{
    m_speaker->speakWords(QStringLiteral("one two three four five six seven eight nine ten eleven twelve"));
    m_speaker->speakWord(QStringLiteral("queued"));
    QVERIFY(QTest::qWaitFor([&] { return m_log->count(EspeakEvent::Kind::Word) >= 1; }, 5000));
    const quint32 first = m_log->snapshot().back().textId;

    m_speaker->stop();

    QTest::qSleep(300);
    const int spokenAtStop = m_log->count(EspeakEvent::Kind::Word);
    QTest::qSleep(1500);
    // Speech ended within moments of the stop, and the queued text never started.
    QVERIFY2(m_log->count(EspeakEvent::Kind::Word) == spokenAtStop, "speech went on after the stop");
    QVERIFY(spokenAtStop < 12);
    for (const EspeakEvent &e : m_log->snapshot())
        QVERIFY(e.kind != EspeakEvent::Kind::Word || e.textId == first);

    // The engine speaks again after a stop.
    m_speaker->speakWord(QStringLiteral("again"));
    QVERIFY(QTest::qWaitFor([&] {
        for (const EspeakEvent &e : m_log->snapshot()) {
            if (e.kind == EspeakEvent::Kind::Word && e.textId != first)
                return true;
        }
        return false;
    }, 5000));
}

QTEST_GUILESS_MAIN(TestEspeakPlayback)
#include "test_espeakplayback.moc"
