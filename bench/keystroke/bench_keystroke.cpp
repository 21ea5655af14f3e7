// One keystroke on the full dictionary: from the key event to the lookup done, the list centred and
// the entry painted, with the spelling dictionary loaded. Median and 99th percentile over 2,000 keystrokes of real words typed letter by letter.
//
// Usage: bench_keystroke <folder holding data.dat> [clipboard owner program]
// (runs on the platform Qt picks: xcb under xvfb-run). With the owner program (tests/e2e/helpers), the keys
// are typed while it holds the clipboard and never answers: the figures must match a run without it.
// With VERBARIUM_DICTIONARY_FOLDERS set, the dictionaries found there join the list first, as in the program;
// the words are then drawn from the merged list. VERBARIUM_BENCH_SHOW names a word whose entry is then timed.
#include "../BenchWindow.h"
#include "app/AddedDictionaries.h"
#include "app/EntryView.h"
#include "app/SearchEdit.h"
#include "app/WordGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication qtApp(argc, argv);
    BenchWindow window;
    if (const int failed = window.open(argc, argv))
        return failed;
    TLexivoAppForm &form = *window.form;
    // Misses hand their text to the spelling thread, as in the running program.
    if (!window.startSpelling())
        return 1;
    if (qEnvironmentVariableIsSet("VERBARIUM_DICTIONARY_FOLDERS")) {
        form.startAddedDictionaries();
        QElapsedTimer waited;
        waited.start();
        while (form.addedDictionaries()->isReading() && waited.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        std::printf("added dictionaries read in %lld ms; %d rows\n", waited.elapsed(), form.table()->recordCount());
    }
    QProcess owner;
    if (argc > 2) {
        owner.start(QString::fromLocal8Bit(argv[2]), {QStringLiteral("silent")});
        if (!owner.waitForReadyRead(5000) || !owner.readAll().startsWith("ready")) {
            std::fprintf(stderr, "the clipboard owner did not take the clipboard\n");
            return 1;
        }
    }

    // Real words, chosen at random but the same on every run.
    QRandomGenerator random(20261208);
    const int rows = form.table()->recordCount();
    std::vector<double> samples;
    while (samples.size() < 2000) {
        const QString word = form.table()->headwordAt(int(random.bounded(rows))).toLower();
        form.SEdit1->clear();
        QCoreApplication::processEvents();
        for (const QChar c : word) {
            if (samples.size() >= 2000)
                break;
            QElapsedTimer timer;
            timer.start();
            QTest::keyClick(form.SEdit1, c.toLatin1());
            form.RichEdit1->viewport()->repaint();
            form.DBGrid1->viewport()->repaint();
            samples.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
    }
    std::sort(samples.begin(), samples.end());
    const double median = samples[samples.size() / 2];
    const double p99 = samples[samples.size() * 99 / 100];
    std::printf("keystroke (%zu keys)   median %.2f ms (budget <= 5)  p99 %.2f ms (budget <= 16)  %s\n",
                samples.size(), median, p99, median <= 5 && p99 <= 16 ? "ok" : "OVER");

    // VERBARIUM_BENCH_SHOW=WORD: that word's entry (the largest one) from the lookup to the entry painted.
    if (const QString show = qEnvironmentVariable("VERBARIUM_BENCH_SHOW"); !show.isEmpty()) {
        std::vector<double> shown;
        for (int i = 0; i < 21; ++i) {
            form.SEdit1->setText(QStringLiteral("a"));
            QCoreApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            form.SEdit1->setText(show);
            form.RichEdit1->viewport()->repaint();
            form.DBGrid1->viewport()->repaint();
            shown.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        std::sort(shown.begin(), shown.end());
        std::printf("entry of \"%s\" shown and painted   median %.2f ms (budget <= 16)  %s\n", qPrintable(show),
                    shown[shown.size() / 2], shown[shown.size() / 2] <= 16 ? "ok" : "OVER");
    }
    return 0;
}
