// The command line's two ways in, as medians:
//   define  "verbarium --define WORD" printing an entry, beside WordNet's own "wn WORD -over" in the same run
//           (the budget: at most 5 times wn), each run alone, alternating, on the full dictionary;
//   lookup  "verbarium --lookup WORD" handed to the running program, to the entry painted (budget 100 ms; Xvfb).
//
// Usage: bench_commandline define <verbarium> <folder holding data.dat> [rounds]
//        xvfb-run -a bench_commandline lookup <verbarium> <folder holding data.dat> [rounds]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

const QStringList kWords = {QStringLiteral("dictionary"), QStringLiteral("run"), QStringLiteral("serendipity"),
                            QStringLiteral("light"), QStringLiteral("ocean"), QStringLiteral("quiet")};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

// Runs a program to its end with its output thrown away; the milliseconds it took, or -1 when it could not run.
double timeRun(const QStringList &command, int *status = nullptr)
{
    std::vector<QByteArray> bytes;
    for (const QString &arg : command)
        bytes.push_back(arg.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return -1;
    int waited = 0;
    ::waitpid(pid, &waited, 0);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (status)
        *status = WIFEXITED(waited) ? WEXITSTATUS(waited) : -1;
    return ms;
}

int benchDefine(const QString &verbarium, int rounds)
{
    const QString wn = QStandardPaths::findExecutable(QStringLiteral("wn"));
    if (wn.isEmpty()) {
        std::fprintf(stderr, "WordNet's wn is needed for the comparison: install the package wordnet "
                             "(apt-get install wordnet), then run again.\n");
        return 1;
    }
    std::vector<double> ours, theirs;
    for (int round = -1; round < rounds; ++round) {
        for (const QString &word : kWords) {
            int status = 0;
            const double a = timeRun({verbarium, QStringLiteral("--define"), word}, &status);
            const double b = timeRun({wn, word, QStringLiteral("-over")});
            if (a < 0 || b < 0 || status != 0) {
                std::fprintf(stderr, "verbarium --define %s failed (status %d)\n", qPrintable(word), status);
                return 1;
            }
            if (round >= 0) { // the first round only warms the file cache
                ours.push_back(a);
                theirs.push_back(b);
            }
        }
    }
    const double m = median(ours), w = median(theirs);
    std::printf("--define WORD             median %6.1f ms  (%zu runs)\n", m, ours.size());
    std::printf("wn WORD -over             median %6.1f ms\n", w);
    std::printf("ratio %.2fx, budget 5x: %s\n", m / w, m <= 5 * w ? "within" : "OVER");
    return 0;
}

int benchLookup(const QString &verbarium, const QString &dataDir, int rounds)
{
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VERBARIUM_BENCH_READY"), QStringLiteral("1"));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", home.path().toLocal8Bit());
    QProcess program;
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(dataDir);
    program.start(verbarium, {});
    QByteArray out;
    const auto waitFor = [&](const QByteArray &line) {
        QElapsedTimer limit;
        limit.start();
        while (limit.elapsed() < 10000) {
            const qsizetype at = out.indexOf(line + '\n');
            if (at >= 0) {
                out.remove(0, at + line.size() + 1);
                return true;
            }
            program.waitForReadyRead(50);
            out += program.readAllStandardOutput();
        }
        return false;
    };
    if (!waitFor("ready")) {
        std::fprintf(stderr, "the program did not report its first paint\n");
        return 1;
    }
    std::vector<double> times;
    if (::chdir(qPrintable(dataDir)) != 0)
        return 2;
    for (int round = -1; round < rounds; ++round) {
        for (const QString &word : kWords) {
            QElapsedTimer timer;
            timer.start();
            if (timeRun({verbarium, QStringLiteral("--lookup"), word}) < 0 || !waitFor("painted " + word.toUtf8())) {
                std::fprintf(stderr, "the lookup of %s was not painted\n", qPrintable(word));
                return 1;
            }
            if (round >= 0)
                times.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
    }
    program.kill();
    program.waitForFinished();
    std::printf("--lookup WORD to the entry painted   median %6.1f ms  (%zu lookups; budget 100 ms: %s)\n",
                median(times), times.size(), median(times) <= 100 ? "within" : "OVER");
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 3 || (args.at(0) != u"define" && args.at(0) != u"lookup")) {
        std::fprintf(stderr, "usage: %s define|lookup <verbarium> <folder holding data.dat> [rounds]\n", argv[0]);
        return 2;
    }
    const int rounds = args.size() > 3 ? std::max(1, args.at(3).toInt()) : 10;
    if (args.at(0) == u"define") {
        if (::chdir(qPrintable(args.at(2))) != 0)
            return 2;
        return benchDefine(args.at(1), rounds);
    }
    return benchLookup(args.at(1), args.at(2), rounds);
}
