// The playback engine over a sound output that dies (the sound server restarted) and comes back: a text that
// meets a dead output tries one new output at once; while there is none the text ends, the failure is said once
// however often the user asks, and every Speak tries one new output; the first Speak after the server is back is
// heard.
#include "platform/EspeakSpeech.h"
#include "speech/Speaker.h"

#include <QTemporaryFile>
#include <QTest>

#include <atomic>
#include <cstdio>

#include <unistd.h>

namespace {

struct SoundServer
{
    std::atomic<bool> up{true};
    std::atomic<int> opened{0};
    std::atomic<int> written{0};
    std::atomic<int> dieAfter{-1}; // writes until the server goes away; -1: never
    std::atomic<int> generation{0}; // a restart cuts every output opened before it
};

class FakeOutput final : public SoundOutput
{
public:
    explicit FakeOutput(SoundServer *server) : m_server(server) { }
    QString open(int) override
    {
        ++m_server->opened;
        m_generation = m_server->generation;
        return m_server->up ? QString() : QStringLiteral("Connection refused");
    }
    QString write(const short *, int) override
    {
        if (m_server->dieAfter >= 0 && m_server->written >= m_server->dieAfter) {
            m_server->up = false;
            ++m_server->generation;
        }
        if (!m_server->up || m_generation != m_server->generation)
            return QStringLiteral("Connection terminated");
        ++m_server->written;
        QTest::qSleep(2); // a device takes its time
        return {};
    }
    void drop() override { }

private:
    SoundServer *m_server;
    int m_generation = 0;
};

} // namespace

class TestEspeakRecovery : public QObject
{
    Q_OBJECT
private slots:
    void speaksAgainAfterTheOutputDied();
};

void TestEspeakRecovery::speaksAgainAfterTheOutputDied()
{
    // Standard error goes to a file for the length of the test.
    QTemporaryFile errors;
    QVERIFY(errors.open());
    std::fflush(stderr);
    const int savedStderr = ::dup(2);
    ::dup2(errors.handle(), 2);

    SoundServer server;
    std::atomic<int> textEnds{0};
    EspeakOptions options;
    options.soundOutput = [&server] { return std::make_unique<FakeOutput>(&server); };
    options.eventTap = [&textEnds](const EspeakEvent &event) { textEnds += event.kind == EspeakEvent::Kind::TextEnd; };
    Speaker speaker(std::make_unique<EspeakRuntime>(options));
    QCOMPARE(speaker.start(), QString());

    // The server goes away in the middle of a sentence.
    server.dieAfter = 5;
    speaker.speakWords(QStringLiteral("one two three four five six seven eight nine ten eleven twelve"));
    speaker.speakWord(QStringLiteral("queued behind it"));
    QVERIFY(QTest::qWaitFor([&] { return textEnds >= 1; }, 10000));
    QTest::qSleep(200);
    QCOMPARE(server.opened.load(), 1); // an output just opened is not opened again for the same text
    QCOMPARE(server.written.load(), 5);

    // Still away: each Speak tries one new output, and says nothing more.
    for (int i = 2; i <= 4; ++i) {
        speaker.stop();
        speaker.speakWord(QStringLiteral("break"));
        QVERIFY(QTest::qWaitFor([&] { return server.opened >= i; }, 5000));
    }
    QTest::qSleep(200);
    QCOMPARE(server.opened.load(), 4);

    // Back: the next Speak is heard.
    server.dieAfter = -1;
    server.up = true;
    speaker.speakWord(QStringLiteral("break"));
    QVERIFY(QTest::qWaitFor([&] { return server.written > 10; }, 5000));
    QCOMPARE(server.opened.load(), 5);

    // Restarted while nobody spoke: the output in hand is dead, and the same Speak opens a new one and is heard,
    // without a word.
    speaker.stop();
    QTest::qSleep(100);
    const int before = server.written;
    ++server.generation;
    speaker.speakWord(QStringLiteral("break"));
    QVERIFY(QTest::qWaitFor([&] { return server.written > before + 3; }, 5000));
    QCOMPARE(server.opened.load(), 6);
    speaker.release();

    std::fflush(stderr);
    ::dup2(savedStderr, 2);
    ::close(savedStderr);
    errors.seek(0);
    const QList<QByteArray> lines = errors.readAll().trimmed().split('\n');
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.first().contains("Connection terminated"), lines.first().constData());
}

QTEST_GUILESS_MAIN(TestEspeakRecovery)
#include "test_espeakrecovery.moc"
