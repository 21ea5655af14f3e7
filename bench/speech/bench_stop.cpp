// "Stop" while a long text is spoken with the real espeak-ng: the time from Speaker::stop() until the sound output
// has been told to drop what it holds (synthesis has stopped), as median and 99th percentile over 30 rounds, in
// milliseconds; and how long the stop() call itself keeps the caller. The sound goes to a private PulseAudio
// server with a null sink, so the real audio path is used and nobody hears it.
//
// Usage: bench_stop [rounds]
#include "../../tests/mocks/PrivatePulse.h"
#include "platform/EspeakSpeech.h"
#include "speech/Speaker.h"

#include <QElapsedTimer>
#include <QString>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>


namespace {
// The real default output, watched: whether a piece is being played and whether it was told to drop.
struct OutputWatch
{
    std::atomic<int> writes{0}; // pieces the output has taken
    std::atomic<bool> dropped{false};
};
class WatchedOutput final : public SoundOutput
{
public:
    explicit WatchedOutput(OutputWatch *watch) : m_real(defaultSoundOutput()), m_watch(watch) { }
    QString open(int rate) override { return m_real->open(rate); }
    QString write(const short *samples, int count) override
    {
        // Counted once played into the output: the first piece waits for the sink to wake up.
        const QString failure = m_real->write(samples, count);
        ++m_watch->writes;
        return failure;
    }
    void drop() override
    {
        m_real->drop();
        m_watch->dropped = true;
    }

private:
    std::unique_ptr<SoundOutput> m_real;
    OutputWatch *m_watch;
};

// Sentences enough to keep the engine busy for half a minute, well past every stop.
QString longText()
{
    QString text;
    for (int i = 0; i < 40; ++i)
        text += QStringLiteral("The quick brown fox jumps over the lazy dog near the bank of the river. ");
    return text;
}

template <typename Condition>
bool waitFor(Condition condition, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms)
            return false;
        QThread::usleep(100);
    }
    return true;
}

double percentile(std::vector<double> samples, double p)
{
    std::sort(samples.begin(), samples.end());
    const auto at = static_cast<size_t>(p * static_cast<double>(samples.size() - 1) + 0.5);
    return samples[at];
}

} // namespace

int main(int argc, char **argv)
{
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 30;
    QTemporaryDir home;
    PrivatePulse pulse;
    if (const QString why = pulse.start(home.path()); !why.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 1;
    }

    std::atomic<int> words{0};
    OutputWatch watch;
    EspeakOptions options;
    options.soundOutput = [&watch] { return std::make_unique<WatchedOutput>(&watch); };
    options.eventTap = [&words](const EspeakEvent &event) {
        if (event.kind == EspeakEvent::Kind::Word)
            ++words;
    };
    Speaker speaker(std::make_unique<EspeakRuntime>(options));
    if (const QString failure = speaker.start(); !failure.isEmpty()) {
        std::fprintf(stderr, "no speech engine: %s\n", qPrintable(failure));
        return 1;
    }
    const QString text = longText();
    std::vector<double> samples;
    std::vector<double> calls;
    for (int round = 0; round < rounds; ++round) {
        words = 0;
        watch.writes = 0;
        watch.dropped = false;
        speaker.speakWords(text);
        // Stopped at a different word each round, and only once sound is really playing.
        const int stopAt = 1 + round % 3;
        if (!waitFor([&] { return words >= stopAt && watch.writes > 0; }, 10000)) {
            std::fprintf(stderr, "round %d: the text was not being spoken\n", round + 1);
            return 1;
        }
        QElapsedTimer timer;
        timer.start();
        speaker.stop();
        calls.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (!waitFor([&] { return watch.dropped.load(); }, 5000)) {
            std::fprintf(stderr, "round %d: still speaking 5 s after the stop\n", round + 1);
            return 1;
        }
        samples.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (qEnvironmentVariableIsSet("BENCH_STOP_VERBOSE"))
            std::printf("round %d: %.2f ms\n", round + 1, samples.back());
    }
    speaker.release();

    std::printf("stop to idle while speaking: median %.2f ms, p99 %.2f ms over %zu rounds (budget 50 ms)\n",
                percentile(samples, 0.5), percentile(samples, 0.99), samples.size());
    std::printf("the stop() call itself: median %.3f ms, p99 %.3f ms\n", percentile(calls, 0.5),
                percentile(calls, 0.99));
    return 0;
}
