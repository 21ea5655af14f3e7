// One keystroke on the full dictionary: from the key event to the lookup done, the list centred and
// the entry painted. Median and 99th percentile over 2,000 keystrokes of real words typed letter by letter.
//
// Usage: bench_keystroke <folder holding data.dat> [clipboard owner program]
// (runs on the platform Qt picks: xcb under xvfb-run). With the owner program (tests/e2e/helpers), the keys
// are typed while it holds the clipboard and never answers: the figures must match a run without it.
#include "app/DataControls.h"
#include "app/Lexivo1.h"
#include "artwork/Artwork.h"
#include "dictionary/DictionaryTable.h"
#include "platform/Application.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication qtApp(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder holding data.dat> [clipboard owner program]\n", argv[0]);
        return 2;
    }
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    QProcess owner;
    if (argc > 2) {
        owner.start(QString::fromLocal8Bit(argv[2]), {QStringLiteral("silent")});
        if (!owner.waitForReadyRead(5000) || !owner.readAll().startsWith("ready")) {
            std::fprintf(stderr, "the clipboard owner did not take the clipboard\n");
            return 1;
        }
    }
    MessageBoxes::setPresenter([](MessageBoxes::Kind, const QString &, const QString &text) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    });

    // As the program does, so that the tray gets an icon.
    QGuiApplication::setWindowIcon(Artwork::startIcon());
    Application app;
    FormEnvironment env;
    env.programDir = home.path();
    TLexivoAppForm form(&app, env);
    if (!form.table()->isOpen())
        return 1;
    app.showForm();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    form.SEdit1->setFocus();

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
    std::printf("keystroke%s (%zu keys)   median %.2f ms (budget <= 5)  p99 %.2f ms (budget <= 16)  %s\n",
                argc > 2 ? ", silent clipboard owner" : "", samples.size(), median, p99, median <= 5 && p99 <= 16 ? "ok" : "OVER");
    return 0;
}
