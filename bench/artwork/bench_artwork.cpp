// Painting the pictures the window needs at start (command images, tray frames, every program icon size):
// the median over 50 rounds, in milliseconds. Each round asks for new icons, so nothing is served from a cache.
//
// Usage: bench_artwork   (runs on the offscreen platform when no display is set)
#include "artwork/Artwork.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QIcon>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::vector<double> samples;
    for (int round = 0; round < 50; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (const QIcon &icon : Artwork::commandImages())
            icon.pixmap(16);
        for (const QIcon &icon : Artwork::trayImages())
            icon.pixmap(16);
        const QIcon program = Artwork::programIcon();
        for (const QSize &size : program.availableSizes())
            program.pixmap(size);
        samples.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(samples.begin(), samples.end());
    std::printf("start-up pictures painted: median %.2f ms over %zu rounds\n", samples[samples.size() / 2],
                samples.size());
    return 0;
}
