// Start to main window shown with the first entry painted, beside Artha (a GTK WordNet browser) and an empty Qt
// main window started in the same run; the phases of Verbarium's start; and resident memory after start.
// Medians of 7 runs each.
//
// Every program is timed from its spawn to the moment its first top-level window is mapped, seen by polling the X
// server every 2 ms, the same way for all of them. Verbarium also reports when its first entry is painted and
// when it reaches each phase of its start (VERBARIUM_BENCH_READY). Artha, killed before it saves its settings,
// starts each time as on a first start, where the window it maps first is its hotkey notice.
//
// Each start is measured alone. After a program is killed, Xvfb spends some 40 ms of CPU cleaning up
// after it, and being one thread it answers a new program only after that: a start within the next
// 50 ms or so is slowed by up to 40 ms. Starting at once after each kill, as a user never does, makes
// every start slower and the ratio smaller than it is; --settle-ms 0 shows that. The same empty window
// with one label and one menu is measured too: what showing any text costs, as it loads the fonts.
// Memory is read 2 s after the first paint, once the spelling dictionary has loaded behind it, and in
// as many starts whose $DICPATH offers an empty dictionary: the program as it is before that load. Both
// are read without the dictd and StarDict dictionaries this machine has; the timed starts, as a user
// starts it, find them, and their memory is the third figure.
//
// Usage: xvfb-run -a bench_startup [--settle-ms N] [--artha PATH] <verbarium> <empty-window> <folder holding data.dat>
// Exits 1 when a start fails or Artha is missing, 3 when Verbarium starts slower than Artha.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

namespace {

constexpr int kRuns = 7;

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Asks the X server whether a process has a top-level window on the screen, by the _NET_WM_PID that Qt and GTK
// both set. Without a window manager (xvfb-run) top-level windows are the root's children.
class MappedWindows
{
public:
    MappedWindows()
    {
        int screenNumber = 0;
        m_connection = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(m_connection))
            return;
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
        for (int i = 0; i < screenNumber; ++i)
            xcb_screen_next(&it);
        m_root = it.data->root;
        const char name[] = "_NET_WM_PID";
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> atom(
            xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, sizeof name - 1, name), nullptr), &free);
        m_pidAtom = atom ? atom->atom : XCB_NONE;
    }
    ~MappedWindows() { xcb_disconnect(m_connection); }
    MappedWindows(const MappedWindows &) = delete;
    MappedWindows &operator=(const MappedWindows &) = delete;

    bool isOpen() const { return !xcb_connection_has_error(m_connection) && m_pidAtom != XCB_NONE; }

    bool hasMappedWindow(qint64 pid)
    {
        std::unique_ptr<xcb_query_tree_reply_t, decltype(&free)> tree(
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr), &free);
        if (!tree)
            return false;
        const xcb_window_t *children = xcb_query_tree_children(tree.get());
        const int count = xcb_query_tree_children_length(tree.get());
        // All questions first, then the answers: one round trip, not one per window.
        std::vector<xcb_get_window_attributes_cookie_t> attributes;
        std::vector<xcb_get_property_cookie_t> pids;
        for (int i = 0; i < count; ++i) {
            attributes.push_back(xcb_get_window_attributes(m_connection, children[i]));
            pids.push_back(xcb_get_property(m_connection, 0, children[i], m_pidAtom, XCB_ATOM_CARDINAL, 0, 1));
        }
        bool found = false;
        for (int i = 0; i < count; ++i) {
            std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&free)> attr(
                xcb_get_window_attributes_reply(m_connection, attributes[i], nullptr), &free);
            std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> prop(
                xcb_get_property_reply(m_connection, pids[i], nullptr), &free);
            if (found || !attr || !prop || attr->map_state != XCB_MAP_STATE_VIEWABLE
                || xcb_get_property_value_length(prop.get()) != 4)
                continue;
            found = *static_cast<const quint32 *>(xcb_get_property_value(prop.get())) == quint32(pid);
        }
        return found;
    }

private:
    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
    xcb_atom_t m_pidAtom = XCB_NONE;
};

struct Run
{
    double mappedMs = -1;
    double readyMs = -1; // the first entry painted, for programs that say so
    QMap<QString, double> phases;
    double rssMb = -1;
    double rssLateMb = -1; // once the spelling dictionary has loaded behind the first paint
    QString error;
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

struct Launch
{
    QStringList args;
    bool waitForReady = false; // also wait for "ready" on standard output
    bool lateRss = false;
    QString dicPath;
    bool noAddedDictionaries = false; // none of the dictd and StarDict dictionaries this machine has
};

Run runOnce(MappedWindows &x, const QString &program, const Launch &launch, const QString &workDir,
            const QTemporaryDir &home, int settleMs)
{
    const QString homePath = home.path();
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VERBARIUM_BENCH_READY"), QStringLiteral("1"));
    env.insert(QStringLiteral("HOME"), homePath);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), homePath + QStringLiteral("/config"));
    if (!launch.dicPath.isEmpty())
        env.insert(QStringLiteral("DICPATH"), launch.dicPath);
    if (launch.noAddedDictionaries)
        env.insert(QStringLiteral("VERBARIUM_DICTIONARY_FOLDERS"), QString());
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(workDir);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    Run run;
    const qint64 spawned = monotonicNs();
    process.start(program, launch.args);
    if (!process.waitForStarted(10000)) {
        run.error = QStringLiteral("%1 did not start: %2").arg(program, process.errorString());
        return run;
    }
    QByteArray output;
    const auto since = [spawned](qint64 ns) { return double(ns - spawned) / 1e6; };
    while (since(monotonicNs()) < 10000 && process.state() == QProcess::Running) {
        if (run.mappedMs < 0 && x.hasMappedWindow(process.processId()))
            run.mappedMs = since(monotonicNs());
        process.waitForReadyRead(2);
        output += process.readAllStandardOutput();
        if (run.readyMs < 0 && output.contains("ready\n"))
            run.readyMs = since(monotonicNs());
        if (run.mappedMs >= 0 && (!launch.waitForReady || run.readyMs >= 0))
            break;
    }
    for (const QByteArray &line : output.split('\n')) {
        const QList<QByteArray> words = line.split(' ');
        if (words.size() >= 3 && words.first() == "phase")
            run.phases.insert(QString::fromUtf8(words.mid(1, words.size() - 2).join(' ')), since(words.last().toLongLong()));
    }
    if (run.mappedMs < 0 || (launch.waitForReady && run.readyMs < 0)) {
        run.error = QStringLiteral("%1 mapped no window%2 within 10 s (exit status %3): %4")
                        .arg(program, launch.waitForReady ? QStringLiteral(" or did not report its first paint") : QString())
                        .arg(process.state() == QProcess::Running ? QStringLiteral("still running") : QString::number(process.exitCode()))
                        .arg(QString::fromLocal8Bit(process.readAllStandardError()).trimmed().left(400));
    }
    QThread::msleep(300);
    run.rssMb = residentMb(process.processId());
    if (launch.lateRss) {
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

// A program named by any path, relative ones included: the runs start in the dictionary's folder.
QString executable(const QString &path)
{
    const QFileInfo info(path);
    if (info.isFile() && info.isExecutable())
        return info.absoluteFilePath();
    return path.contains(QLatin1Char('/')) ? QString() : QStandardPaths::findExecutable(path);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int settleMs = 400;
    QString arthaPath = QStringLiteral("artha");
    while (args.size() >= 2 && args.first().startsWith(QLatin1String("--"))) {
        if (args.first() == QLatin1String("--settle-ms"))
            settleMs = std::max(0, args.at(1).toInt());
        else if (args.first() == QLatin1String("--artha"))
            arthaPath = args.at(1);
        else
            break;
        args = args.mid(2);
    }
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: %s [--settle-ms N] [--artha PATH] <verbarium> <empty-window> <folder holding data.dat>\n",
                     argv[0]);
        return 2;
    }
    const QString verbarium = executable(args.at(0));
    const QString empty = executable(args.at(1));
    const QString dataDir = QFileInfo(args.at(2)).absoluteFilePath();
    const QString artha = executable(arthaPath);
    for (const auto &[given, found] : {std::pair{args.at(0), verbarium}, std::pair{args.at(1), empty}}) {
        if (found.isEmpty()) {
            std::fprintf(stderr, "%s is not an executable program: build it first (scripts/build.sh)\n", qPrintable(given));
            return 1;
        }
    }
    if (!QFileInfo::exists(dataDir + QStringLiteral("/data.dat"))) {
        std::fprintf(stderr, "no data.dat in %s: build the dictionary first (scripts/build.sh)\n", qPrintable(dataDir));
        return 1;
    }
    if (artha.isEmpty()) {
        std::fprintf(stderr, "Artha is not installed, and the start-up budget is measured against it: "
                             "install it with 'sudo apt-get install artha', or name it with --artha PATH\n");
        return 1;
    }
    MappedWindows x;
    if (!x.isOpen()) {
        std::fprintf(stderr, "cannot reach the X server: run under xvfb-run -a\n");
        return 1;
    }
    QTemporaryDir home;
    // A dictionary pair that is found first and loads as none.
    const QString noSpelling = home.filePath(QStringLiteral("no-spelling"));
    QDir().mkpath(noSpelling);
    for (const char *name : {"/en_US.aff", "/en_US.dic"}) {
        QFile file(noSpelling + QLatin1String(name));
        if (!file.open(QIODevice::WriteOnly))
            return 2;
    }

    Launch emptyLaunch;
    Launch textLaunch;
    textLaunch.args = QStringList{QStringLiteral("--text")};
    Launch appLaunch;
    appLaunch.waitForReady = true;
    appLaunch.lateRss = true;
    Launch noSpellingLaunch = appLaunch;
    noSpellingLaunch.dicPath = noSpelling;
    // The memory budgets are the program's own, on the bundled dictionary; the added dictionaries have theirs.
    noSpellingLaunch.noAddedDictionaries = true;
    Launch plainLaunch = appLaunch;
    plainLaunch.noAddedDictionaries = true;
    Launch arthaLaunch;

    std::vector<double> appMapped, appReady, appRss, appLateRss, addedRss, emptyMs, emptyRss, textMs, arthaMs;
    QMap<QString, std::vector<double>> phases;
    // Warm the file cache for all of them.
    runOnce(x, empty, textLaunch, dataDir, home, settleMs);
    runOnce(x, artha, arthaLaunch, dataDir, home, settleMs);
    runOnce(x, verbarium, appLaunch, dataDir, home, settleMs);
    for (int i = 0; i < kRuns; ++i) {
        const Run e = runOnce(x, empty, emptyLaunch, dataDir, home, settleMs);
        const Run t = runOnce(x, empty, textLaunch, dataDir, home, settleMs);
        const Run r = runOnce(x, artha, arthaLaunch, dataDir, home, settleMs);
        const Run a = runOnce(x, verbarium, appLaunch, dataDir, home, settleMs);
        const Run n = runOnce(x, verbarium, noSpellingLaunch, dataDir, home, settleMs);
        const Run p = runOnce(x, verbarium, plainLaunch, dataDir, home, settleMs);
        for (const Run *run : {&e, &t, &r, &a, &n, &p}) {
            if (!run->error.isEmpty()) {
                std::fprintf(stderr, "%s\n", qPrintable(run->error));
                return 1;
            }
        }
        emptyMs.push_back(e.mappedMs);
        emptyRss.push_back(e.rssMb);
        textMs.push_back(t.mappedMs);
        arthaMs.push_back(r.mappedMs);
        appMapped.push_back(a.mappedMs);
        appReady.push_back(a.readyMs);
        appRss.push_back(n.rssLateMb);
        appLateRss.push_back(p.rssLateMb);
        addedRss.push_back(a.rssLateMb);
        for (auto it = a.phases.cbegin(); it != a.phases.cend(); ++it)
            phases[it.key()].push_back(it.value());
    }

    // The phases in the order a start passes them.
    std::vector<std::pair<double, QString>> timeline;
    for (auto it = phases.cbegin(); it != phases.cend(); ++it)
        timeline.emplace_back(median(it.value()), it.key());
    timeline.emplace_back(0, QStringLiteral("process started"));
    timeline.emplace_back(median(appMapped), QStringLiteral("window mapped (seen by X)"));
    timeline.emplace_back(median(appReady), QStringLiteral("first entry painted"));
    std::sort(timeline.begin(), timeline.end());
    std::printf("Verbarium's start, medians of %d (ms from the spawn, and since the phase before)\n", kRuns);
    double previous = 0;
    for (const auto &[ms, name] : timeline) {
        std::printf("  %-28s %7.1f  %+7.1f\n", qPrintable(name), ms, ms - previous);
        previous = ms;
    }

    const double floorMs = median(emptyMs);
    const double textFloorMs = median(textMs);
    const double arthaMapped = median(arthaMs);
    const double mapped = median(appMapped);
    const double ready = median(appReady);
    std::printf("start, empty Qt window            median %7.1f ms   rss %5.1f MB\n", floorMs, median(emptyRss));
    std::printf("start, same with label and menu   median %7.1f ms   (%.2fx the empty window)\n", textFloorMs,
                textFloorMs / floorMs);
    std::printf("start, Artha                      median %7.1f ms\n", arthaMapped);
    std::printf("start, Verbarium window mapped    median %7.1f ms   (%.2fx the empty window)\n", mapped, mapped / floorMs);
    std::printf("start, Verbarium entry painted    median %7.1f ms\n", ready);
    const bool startOk = mapped <= arthaMapped;
    std::printf("start ratio to Artha, mapped      %.2fx (budget <= 1.00x)  %s   (painted: %.2fx; settle %d ms)\n",
                mapped / arthaMapped, startOk ? "ok" : "OVER", ready / arthaMapped, settleMs);
    std::printf("resident memory, no spelling      %.1f MB (budget <= 45 MB)  %s\n", median(appRss),
                median(appRss) <= 45 ? "ok" : "OVER");
    std::printf("resident memory, Hunspell loaded  %.1f MB (budget <= 50 MB)  %s\n", median(appLateRss),
                median(appLateRss) <= 50 ? "ok" : "OVER");
    std::printf("resident memory, this machine's added dictionaries loaded too  %.1f MB (budget <= 60 MB)  %s\n",
                median(addedRss), median(addedRss) <= 60 ? "ok" : "OVER");
    return startOk ? 0 : 3;
}
