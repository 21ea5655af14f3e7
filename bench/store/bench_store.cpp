// bench_store: open time, the deferred headword load, nearest-key positioning, row steps, entry
// reads and the builder's run time, on the full WordNet dictionary. Prints medians.
//   bench_store [--data FILE] [--builds N]
#include "dictionary/DictionarySession.h"
#include "dictionary/DictionaryTable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double nanoseconds(Clock::time_point begin, Clock::time_point end)
{
    return double(std::chrono::duration_cast<std::chrono::nanoseconds>(end - begin).count());
}

struct Stats
{
    double median;
    double p99;
};

Stats stats(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples[std::min(samples.size() - 1, samples.size() * 99 / 100)]};
}

// CPU time of this thread: steadier than wall time on a machine shared with other builds.
double threadCpuNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e9 + double(now.tv_nsec);
}

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QString data = qEnvironmentVariable("VERBARIUM_TEST_DATA");
    data = data.isEmpty() ? QStringLiteral(VB_BENCH_DATA) : data + QStringLiteral("/data.dat");
    int builds = 3;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--data"))
            data = args[++i];
        else if (args[i] == QLatin1String("--builds"))
            builds = args[++i].toInt();
    }
    if (!QFileInfo::exists(data)) {
        std::fprintf(stderr, "bench_store: %s is missing; build the target \"dictionary\" first\n", qPrintable(data));
        return 1;
    }
    data = QFileInfo(data).absoluteFilePath();

    DictionarySession session;
    session.setPrivateDir(QDir::tempPath());
    session.addPassword(QStringLiteral("marbol47quen"));
    DictionaryTable table(&session);
    table.setTableName(data);

    // Open: key derivation, schema and the first screenful of headwords; then the rest of them
    // through the covering index, as the program reads them after its first paint.
    const long rssBefore = residentKb();
    std::vector<double> opens;
    std::vector<double> openCpu;
    std::vector<double> loads;
    std::vector<double> loadCpu;
    for (int i = 0; i < 15; ++i) {
        table.close();
        double cpu = threadCpuNanoseconds();
        auto begin = Clock::now();
        table.open();
        opens.push_back(nanoseconds(begin, Clock::now()));
        openCpu.push_back(threadCpuNanoseconds() - cpu);
        cpu = threadCpuNanoseconds();
        begin = Clock::now();
        table.loadAllHeadwords();
        loads.push_back(nanoseconds(begin, Clock::now()));
        loadCpu.push_back(threadCpuNanoseconds() - cpu);
    }
    const long rssAfter = residentKb();
    const int rows = table.recordCount();

    QRandomGenerator random(2024);
    std::vector<QString> prefixes;
    prefixes.reserve(100000);
    for (int i = 0; i < 100000; ++i) {
        const QString word = table.headwordAt(int(random.bounded(rows)));
        prefixes.push_back(word.left(1 + int(random.bounded(word.size()))));
    }
    std::vector<double> finds;
    finds.reserve(prefixes.size());
    for (const QString &prefix : prefixes) {
        const auto begin = Clock::now();
        table.findNearest(prefix);
        finds.push_back(nanoseconds(begin, Clock::now()));
    }

    std::vector<double> steps;
    steps.reserve(100000);
    table.moveTo(rows / 2);
    for (int i = 0; i < 100000; ++i) {
        const auto begin = Clock::now();
        if ((i / 50) % 2 == 0)
            table.next();
        else
            table.prior();
        steps.push_back(nanoseconds(begin, Clock::now()));
    }

    std::vector<double> entries;
    for (int i = 0; i < 10000; ++i) {
        table.moveTo(int(random.bounded(rows)));
        const auto begin = Clock::now();
        const QString entry = table.currentEntry();
        entries.push_back(nanoseconds(begin, Clock::now()));
    }

    const Stats open = stats(opens);
    const Stats find = stats(finds);
    const Stats step = stats(steps);
    const Stats entry = stats(entries);
    std::printf("dictionary: %s, %d rows\n", qPrintable(data), rows);
    std::printf("open (key derivation, first screen): median %.1f ms wall, %.1f ms CPU\n", open.median / 1e6,
                stats(openCpu).median / 1e6);
    std::printf("rest of the headwords (after paint): median %.1f ms wall, %.1f ms CPU  (resident +%ld KB after opens)\n",
                stats(loads).median / 1e6, stats(loadCpu).median / 1e6, rssAfter - rssBefore);
    std::printf("findNearest, 100000 random prefixes: median %.2f us  p99 %.2f us\n", find.median / 1e3, find.p99 / 1e3);
    std::printf("next/prior, 100000 steps:            median %.2f us  p99 %.2f us\n", step.median / 1e3, step.p99 / 1e3);
    std::printf("currentEntry, 10000 random rows:     median %.1f us  p99 %.1f us\n", entry.median / 1e3, entry.p99 / 1e3);
    std::fflush(stdout);

    if (builds > 0) {
        QTemporaryDir dir;
        std::vector<double> runs;
        for (int i = 0; i < builds; ++i) {
            QProcess builder;
            QElapsedTimer timer;
            timer.start();
            builder.start(QStringLiteral(VB_BENCH_MKDICT),
                          {QStringLiteral("--quiet"), QStringLiteral("--wordnet"), QStringLiteral(VB_BENCH_WORDNET),
                           dir.filePath(QStringLiteral("data.dat"))});
            if (!builder.waitForFinished(120000) || builder.exitCode() != 0) {
                std::fprintf(stderr, "bench_store: the builder failed: %s\n", builder.readAllStandardError().constData());
                return 1;
            }
            runs.push_back(double(timer.nsecsElapsed()));
        }
        std::printf("verbarium-mkdict, full WordNet, %d runs: median %.2f s\n", builds, stats(runs).median / 1e9);
    }
    return 0;
}
