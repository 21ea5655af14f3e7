// The espeak-ng engine in playback mode, speaking into a private PulseAudio server with a null sink:
// texts queue behind each other and are spoken in order; a reset stops at once and drops the queue.
#include "platform/EspeakSpeech.h"
#include "speech/Speaker.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
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

bool waitFor(const std::function<bool()> &condition, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms)
            return false;
        QTest::qSleep(10);
    }
    return true;
}

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
    QProcess m_pulse;
    EventLog *m_log = nullptr;
    std::unique_ptr<Speaker> m_speaker;
};

void TestEspeakPlayback::initTestCase()
{
    const QString pulse = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (pulse.isEmpty())
        QSKIP("pulseaudio is not installed");
    const QString socket = m_home.filePath(QStringLiteral("pulse.sock"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_home.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path());
    m_pulse.setProcessEnvironment(env);
    m_pulse.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_pulse.start(pulse, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                          QStringLiteral("--log-level=error"), QStringLiteral("-L"), QStringLiteral("module-null-sink"),
                          QStringLiteral("-L"),
                          QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket});
    if (!waitFor([&] { return QFile::exists(socket) || m_pulse.state() == QProcess::NotRunning; }, 5000)
        || m_pulse.state() == QProcess::NotRunning)
        QSKIP("no private PulseAudio server could be started");
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(socket));
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_home.path()));
}

void TestEspeakPlayback::cleanupTestCase()
{
    if (m_pulse.state() != QProcess::NotRunning) {
        m_pulse.terminate();
        if (!m_pulse.waitForFinished(3000))
            m_pulse.kill();
    }
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

    QVERIFY(waitFor([&] { return m_log->count(EspeakEvent::Kind::TextEnd) >= 2; }, 10000));
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
    QVERIFY(waitFor([&] { return m_log->count(EspeakEvent::Kind::Word) >= 1; }, 5000));
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
    QVERIFY(waitFor([&] {
        for (const EspeakEvent &e : m_log->snapshot()) {
            if (e.kind == EspeakEvent::Kind::Word && e.textId != first)
                return true;
        }
        return false;
    }, 5000));
}

QTEST_GUILESS_MAIN(TestEspeakPlayback)
#include "test_espeakplayback.moc"
