// Start to main window shown with the first entry painted, beside an empty Qt main window
// started in the same run; and resident memory after start. Medians of 10 runs each.
//
// Each start is measured alone. After a program is killed, Xvfb spends some 40 ms of CPU cleaning up
// after it, and being one thread it answers a new program only after that: a start within the next
// 50 ms or so is slowed by up to 40 ms. Starting at once after each kill, as a user never does, makes
// every start slower and the ratio smaller than it is; --settle-ms 0 shows that. The same empty window
// with one label and one menu is measured too: what showing any text costs, as it loads the fonts.
// Memory is read 2 s after the first paint, once the spelling dictionary has loaded behind it, and in
// as many starts whose $DICPATH offers an empty dictionary: the program as it is before that load.
//
// Usage: xvfb-run -a bench_startup [--settle-ms N] <verbarium> <empty-window> <folder holding data.dat>
#include <QCoreApplication>
#include <QDir>
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
    double rssLateMb = -1; // once the spelling dictionary has loaded behind the first paint
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

Run runOnce(const QString &program, const QStringList &args, const QString &workDir, const QTemporaryDir &home,
            int settleMs, bool lateRss = false, const QString &dicPath = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VERBARIUM_BENCH_READY"), QStringLiteral("1"));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
    if (!dicPath.isEmpty())
        env.insert(QStringLiteral("DICPATH"), dicPath);
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
    if (lateRss) {
        QThread::msleep(1700);
        run.rssLateMb = residentMb(process.processId());
    }
    process.kill();
    process.waitForFinished();
    QThread::msleep(settleMs);
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
    QStringList args = app.arguments().mid(1);
    int settleMs = 300;
    if (args.size() >= 2 && args.first() == QLatin1String("--settle-ms")) {
        settleMs = std::max(0, args.at(1).toInt());
        args = args.mid(2);
    }
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: %s [--settle-ms N] <verbarium> <empty-window> <folder holding data.dat>\n", argv[0]);
        return 2;
    }
    const QString verbarium = args.at(0);
    const QString empty = args.at(1);
    const QString dataDir = args.at(2);
    const QStringList text{QStringLiteral("--text")};
    QTemporaryDir home;
    // A dictionary pair that is found first and loads as none.
    const QString noSpelling = home.filePath(QStringLiteral("no-spelling"));
    QDir().mkpath(noSpelling);
    for (const char *name : {"/en_US.aff", "/en_US.dic"}) {
        QFile file(noSpelling + QLatin1String(name));
        if (!file.open(QIODevice::WriteOnly))
            return 2;
    }

    std::vector<double> appMs, appRss, appLateRss, emptyMs, emptyRss, textMs;
    // Warm the file cache for all three.
    runOnce(empty, text, dataDir, home, settleMs);
    runOnce(verbarium, {}, dataDir, home, settleMs);
    for (int i = 0; i < 10; ++i) {
        const Run e = runOnce(empty, {}, dataDir, home, settleMs);
        const Run t = runOnce(empty, text, dataDir, home, settleMs);
        const Run a = runOnce(verbarium, {}, dataDir, home, settleMs, true);
        const Run n = runOnce(verbarium, {}, dataDir, home, settleMs, true, noSpelling);
        if (e.ms < 0 || t.ms < 0 || a.ms < 0 || n.ms < 0) {
            std::fprintf(stderr, "a start did not report its first paint (empty %.1f, text %.1f, verbarium %.1f)\n",
                         e.ms, t.ms, a.ms);
            return 1;
        }
        emptyMs.push_back(e.ms);
        emptyRss.push_back(e.rssMb);
        textMs.push_back(t.ms);
        appMs.push_back(a.ms);
        appRss.push_back(n.rssLateMb);
        appLateRss.push_back(a.rssLateMb);
    }
    const double floorMs = median(emptyMs);
    const double textFloorMs = median(textMs);
    const double startMs = median(appMs);
    std::printf("start, empty Qt window (floor)   median %7.1f ms   rss %5.1f MB\n", floorMs, median(emptyRss));
    std::printf("start, same with label and menu  median %7.1f ms   (%.2fx the floor)\n", textFloorMs,
                textFloorMs / floorMs);
    std::printf("start, Verbarium first entry     median %7.1f ms\n", startMs);
    std::printf("start ratio                      %.2fx (budget <= 1.30x)  %s   (settle %d ms)\n", startMs / floorMs,
                startMs <= 1.3 * floorMs ? "ok" : "OVER", settleMs);
    std::printf("resident memory, no spelling     %.1f MB (budget <= 45 MB)  %s\n", median(appRss),
                median(appRss) <= 45 ? "ok" : "OVER");
    std::printf("resident memory, Hunspell loaded %.1f MB (budget <= 50 MB)  %s\n", median(appLateRss),
                median(appLateRss) <= 50 ? "ok" : "OVER");
    return 0;
}
