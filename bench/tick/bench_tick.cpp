// The watcher's tick when nothing new was copied, on the real clipboard: the median over 2,000 ticks,
// in microseconds. The text is copied by xclip when it can be, so that under X it lives in another
// program and every uncached read is a round trip; the cost of such a read is printed for comparison.
//
// Usage: xvfb-run -a bench_tick   (without a display it falls back to the offscreen platform)
#include "clipboard/ClipboardWatcher.h"
#include "platform/ClipboardSource.h"
#include "tray/TrayFrame.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// Hands the text to xclip, which then owns the clipboard. False when that is not possible here.
bool copyWithXclip(const QByteArray &text, const QStringList &extra = {})
{
    if (qgetenv("DISPLAY").isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty())
        return false;
    QSignalSpy changed(QGuiApplication::clipboard(), &QClipboard::dataChanged);
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), QStringList{QStringLiteral("-selection"), QStringLiteral("clipboard")} + extra);
    if (!xclip.waitForStarted())
        return false;
    xclip.write(text);
    xclip.closeWriteChannel();
    xclip.waitForFinished(); // xclip forks and keeps serving the selection
    return changed.wait(2000) || QGuiApplication::clipboard()->text() == QString::fromUtf8(text);
}

} // namespace

int main(int argc, char **argv)
{
    if (qgetenv("DISPLAY").isEmpty() && qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QByteArray word = "serendipity";
    const bool external = copyWithXclip(word);
    if (!external)
        QGuiApplication::clipboard()->setText(QString::fromUtf8(word));

    QtClipboardSource source;
    int lookups = 0;
    ClipboardWatcher watcher(&source);
    // Every text found is one the window would look up.
    const auto step = [&] {
        if (watcher.clipboardStep())
            ++lookups;
    };
    int tag = 0;
    const auto setIconIndex = [](int) {};
    step();
    if (lookups != 1) {
        std::fprintf(stderr, "the copied text was not taken\n");
        return 1;
    }

    std::vector<double> ticks;
    for (int i = 0; i < 2000; ++i) {
        QElapsedTimer timer;
        timer.start();
        step();
        advanceTrayFrame(tag, setIconIndex);
        ticks.push_back(double(timer.nsecsElapsed()) / 1000.0);
    }

    std::vector<double> reads;
    for (int i = 0; i < 200; ++i) {
        QElapsedTimer timer;
        timer.start();
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        if (data && data->hasText())
            (void)data->text();
        reads.push_back(double(timer.nsecsElapsed()) / 1000.0);
    }

    // Under X: a large text from another program, and an owner that goes away after one read, each
    // taken within one tick's time.
    if (external) {
        const auto timedStep = [&] {
            QCoreApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            step();
            return double(timer.nsecsElapsed()) / 1e6;
        };
        copyWithXclip(QByteArray(10 * 1024 * 1024, 'z'));
        const double large = timedStep();
        copyWithXclip("vanishing", {QStringLiteral("-loops"), QStringLiteral("1")});
        const double vanishing = timedStep();
        QTest::qWait(200);
        const double afterOwnerGone = timedStep();
        std::printf("new 10 MB text: %.1f ms; owner serving one read: %.1f ms, after it left: %.1f ms (%d lookups)\n",
                    large, vanishing, afterOwnerGone, lookups);
        lookups = 1;
    }

    std::printf("platform: %s, text owned by %s\n", qPrintable(QGuiApplication::platformName()),
                external ? "xclip" : "this process");
    std::printf("uncached clipboard read: median %.1f us\n", median(reads));
    std::printf("tick with nothing new: median %.1f us (max %.1f us, %d lookups)\n", median(ticks),
                *std::max_element(ticks.begin(), ticks.end()), lookups);
    return lookups == 1 ? 0 : 1;
}
