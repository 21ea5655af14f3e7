// Start to main window shown with the first entry painted, beside an empty Qt main window
// started in the same run; and resident memory after start. Medians of 10 runs each.
//
// Usage: xvfb-run -a bench_startup <verbarium> <empty-window> <folder holding data.dat>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Run
{
    double ms = -1;
    double rssMb = -1;
};

double residentMb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

Run runOnce(const QString &program, const QStringList &args, const QString &workDir, const QTemporaryDir &home)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VERBARIUM_BENCH_READY"), QStringLiteral("1"));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(workDir);
    QElapsedTimer timer;
    timer.start();
    process.start(program, args);
    Run run;
    while (process.waitForReadyRead(10000)) {
        if (process.readAllStandardOutput().contains("ready")) {
            run.ms = double(timer.nsecsElapsed()) / 1e6;
            break;
        }
    }
    QThread::msleep(300);
    run.rssMb = residentMb(process.processId());
    process.kill();
    process.waitForFinished();
    return run;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <verbarium> <empty-window> <folder holding data.dat>\n", argv[0]);
        return 2;
    }
    const QString verbarium = QString::fromLocal8Bit(argv[1]);
    const QString empty = QString::fromLocal8Bit(argv[2]);
    const QString dataDir = QString::fromLocal8Bit(argv[3]);
    QTemporaryDir home;

    std::vector<double> appMs, appRss, emptyMs, emptyRss;
    runOnce(empty, {}, dataDir, home);  // warm the file cache for both
    runOnce(verbarium, {}, dataDir, home);
    for (int i = 0; i < 10; ++i) {
        const Run e = runOnce(empty, {}, dataDir, home);
        const Run a = runOnce(verbarium, {}, dataDir, home);
        if (e.ms < 0 || a.ms < 0) {
            std::fprintf(stderr, "a start did not report its first paint (empty %.1f, verbarium %.1f)\n", e.ms, a.ms);
            return 1;
        }
        emptyMs.push_back(e.ms);
        emptyRss.push_back(e.rssMb);
        appMs.push_back(a.ms);
        appRss.push_back(a.rssMb);
    }
    const double floorMs = median(emptyMs);
    const double startMs = median(appMs);
    std::printf("start, empty Qt window (floor)   median %7.1f ms   rss %5.1f MB\n", floorMs, median(emptyRss));
    std::printf("start, Verbarium first entry     median %7.1f ms   rss %5.1f MB\n", startMs, median(appRss));
    std::printf("start ratio                      %.2fx (budget <= 1.30x)  %s\n", startMs / floorMs,
                startMs <= 1.3 * floorMs ? "ok" : "OVER");
    std::printf("resident memory after start      %.1f MB (budget <= 45 MB)  %s\n", median(appRss),
                median(appRss) <= 45 ? "ok" : "OVER");
    return 0;
}
