// bench_find_memory: resident memory of the real window around "Find in Entries" on the full dictionary:
// after start (spelling dictionary loaded), after 1,000 queries typed into the panel, and a minute after the
// panel was closed. Prints the figures and the median time from a query to its last results.
//   bench_find_memory <folder holding data.dat> [--release-ms N]   (N: the panel's release delay; default its own)
#include "../BenchWindow.h"

#include "search/FindPanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <vector>

namespace {

double residentMb(const char *field = "VmRSS:")
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

void settle(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QTest::qWait(std::min<qint64>(100, ms - clock.elapsed() + 1));
}

const char *const kMeanings[] = {
    "fear of open spaces", "the study of insects", "a person who collects stamps", "sleep during winter",
    "a young frog", "place where bees are kept", "doctor for children", "animal that eats plants", "a group of crows",
    "the science of the mind", "a musical instrument with keys", "\"open spaces\"", "the", "of", "a lot of money",
};

} // namespace

int main(int argc, char **argv)
{
    QApplication qtApp(argc, argv);
    BenchWindow bench;
    if (const int status = bench.open(argc, argv))
        return status;
    if (!bench.startSpelling())
        return 1;
    const QStringList args = QCoreApplication::arguments();
    std::chrono::milliseconds release = FindPanel::kReleaseAfter;
    if (const qsizetype at = args.indexOf(QStringLiteral("--release-ms")); at >= 0 && at + 1 < args.size())
        release = std::chrono::milliseconds(args.at(at + 1).toInt());
    settle(1000);
    const double atStart = residentMb();
    const double anonAtStart = residentMb("RssAnon:");

    // Words spread over the dictionary, and what people ask a reverse dictionary.
    TLexivoAppForm *form = bench.form.get();
    QStringList queries;
    const int count = form->table()->recordCount();
    for (int i = 0; queries.size() < 1000; ++i) {
        if (i % 10 == 0) {
            queries.append(QString::fromUtf8(kMeanings[(i / 10) % std::size(kMeanings)]));
            continue;
        }
        const QString word = form->table()->headwordAt(int((qint64(i) * 7919) % count)).section(QLatin1Char(' '), 0, 0);
        queries.append(word.isEmpty() ? QStringLiteral("word") : word);
    }

    form->FindEntries1Execute();
    FindPanel *panel = form->findPanel();
    panel->setReleaseDelay(release);
    std::vector<double> times;
    for (const QString &query : std::as_const(queries)) {
        QElapsedTimer clock;
        clock.start();
        panel->queryBox()->setText(query);
        // Done when the status line no longer says that work goes on ("Searching…", "… entries found…").
        while (panel->status()->text().endsWith(QChar(0x2026)) && clock.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    const double afterQueries = residentMb();
    const double anonAfterQueries = residentMb("RssAnon:");
    panel->close();
    settle(60000);
    const double afterClose = residentMb();
    if (qEnvironmentVariableIsSet("BENCH_FIND_VERBOSE"))
        std::printf("anonymous: %.1f MB at start, %.1f MB after the queries, %.1f MB after the close\n", anonAtStart,
                    anonAfterQueries, residentMb("RssAnon:"));
    std::sort(times.begin(), times.end());
    std::printf("resident memory: %.1f MB after start; %.1f MB after %zu queries (budget 60 MB); %.1f MB a minute "
                "after the panel closed (budget 52 MB; released after %lld ms closed)\n",
                atStart, afterQueries, times.size(), afterClose, static_cast<long long>(release.count()));
    std::printf("query to its last results: %.2f ms median, %.2f ms p95\n", times[times.size() / 2],
                times[times.size() * 95 / 100]);
    return 0;
}
