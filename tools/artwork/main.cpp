// verbarium-artwork: writes the program's pictures as PNG files.
//   --theme DIR    DIR/hicolor/<n>x<n>/apps/verbarium.png at every program icon size
//   --preview DIR  every command image, tray frame, the title artwork and the link icon
//   --sheet FILE   one contact sheet, enlarged four times, on a light and a dark ground
//   --time         how much processor time painting the start-up set takes
#include "artwork/Artwork.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QTextStream>

#include <algorithm>
#include <ctime>
#include <utility>

namespace {

bool save(const QImage &image, const QString &path)
{
    if (image.save(path, "PNG"))
        return true;
    QTextStream(stderr) << "cannot write " << path << '\n';
    return false;
}

bool writeTheme(const QString &root)
{
    for (int px : Artwork::programIconSizes()) {
        const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(root).arg(px);
        if (!QDir().mkpath(dir) || !save(Artwork::paintProgramIcon(px), dir + QStringLiteral("/verbarium.png")))
            return false;
    }
    return true;
}

bool writePreview(const QString &root)
{
    if (!QDir().mkpath(root))
        return false;
    bool ok = true;
    for (int i = 0; i < Artwork::commandImageCount; ++i)
        for (int px : Artwork::commandImageSizes())
            ok &= save(Artwork::paintCommandImage(i, px),
                       QStringLiteral("%1/command-%2-%3.png").arg(root).arg(i, 2, 10, QLatin1Char('0')).arg(px));
    for (int f = 0; f < Artwork::trayFrameCount; ++f)
        for (int px : Artwork::trayImageSizes())
            ok &= save(Artwork::paintTrayFrame(f, px), QStringLiteral("%1/tray-%2-%3.png").arg(root).arg(f).arg(px));
    ok &= save(Artwork::paintTitleArtwork(), root + QStringLiteral("/title.png"));
    ok &= save(Artwork::paintLinkIcon(16), root + QStringLiteral("/link.png"));
    return ok;
}

// Enlarges without smoothing, so every pixel of the small sizes shows.
void blowUp(QPainter &p, const QImage &image, int x, int y, int factor)
{
    p.drawImage(QRect(x, y, image.width() * factor, image.height() * factor), image);
}

QImage contactSheet()
{
    constexpr int zoom = 4;
    constexpr int cell = 16 * zoom + 8 + 32;
    constexpr int perRow = 8;
    const int rows = (Artwork::commandImageCount + perRow - 1) / perRow;
    const int bandHeight = rows * (16 * zoom + 28) + 400;
    const int width = perRow * (cell + 16) + 16;
    QImage sheet(width * 2, bandHeight, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&sheet);
    QFont label(QStringLiteral("DejaVu Sans"));
    label.setPixelSize(11);
    p.setFont(label);
    const QColor grounds[2] = {QColor(239, 239, 239), QColor(40, 44, 52)};
    for (int band = 0; band < 2; ++band) {
        const int left = band * width;
        p.fillRect(left, 0, width, bandHeight, grounds[band]);
        p.setPen(band ? Qt::white : Qt::black);
        for (int i = 0; i < Artwork::commandImageCount; ++i) {
            const int x = left + 16 + (i % perRow) * (cell + 16);
            const int y = 16 + (i / perRow) * (16 * zoom + 28);
            p.drawText(x, y + 8, QString::number(i));
            blowUp(p, Artwork::paintCommandImage(i, 16), x, y + 12, zoom);
            p.drawImage(x + 16 * zoom + 8, y + 12, Artwork::paintCommandImage(i, 32));
            p.drawImage(x + 16 * zoom + 8, y + 12 + 40, Artwork::paintCommandImage(i, 16));
        }
        int y = 16 + rows * (16 * zoom + 28);
        for (int f = 0; f < Artwork::trayFrameCount; ++f) {
            const int x = left + 16 + f * (24 * zoom + 16);
            p.drawText(x, y + 8, QStringLiteral("tray %1").arg(f));
            blowUp(p, Artwork::paintTrayFrame(f, 16), x, y + 12, zoom);
            p.drawImage(x, y + 12 + 16 * zoom + 8, Artwork::paintTrayFrame(f, 24));
        }
        y += 130;
        int x = left + 16;
        for (int px : {16, 22, 32, 48, 64, 128}) {
            p.drawImage(x, y, Artwork::paintProgramIcon(px));
            x += px + 12;
        }
        blowUp(p, Artwork::paintLinkIcon(16), x, y, zoom);
        y += 140;
        blowUp(p, Artwork::paintTitleArtwork(), left + 16, y, 2);
        p.drawImage(left + 16 + 214 * 2 + 16, y, Artwork::paintTitleArtwork());
    }
    return sheet;
}

struct StartCost
{
    double commands = 0;
    double tray = 0;
    double program = 0;
    double total() const { return commands + tray + program; }
};

// Processor time of this thread, which a busy machine does not inflate the way it does wall time.
double cpuMilliseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// Paints what a start shows: the command images and tray frames at 16 pixels and every program icon size.
StartCost timeStartSet()
{
    StartCost cost;
    double mark = cpuMilliseconds();
    const auto lap = [&mark] {
        const double now = cpuMilliseconds();
        return now - std::exchange(mark, now);
    };
    for (const QIcon &icon : Artwork::commandImages())
        icon.pixmap(16);
    cost.commands = lap();
    for (const QIcon &icon : Artwork::trayImages())
        icon.pixmap(16);
    cost.tray = lap();
    const QIcon program = Artwork::programIcon();
    for (const QSize &size : program.availableSizes())
        program.pixmap(size);
    cost.program = lap();
    return cost;
}

} // namespace

int main(int argc, char **argv)
{
    // Needs no display: the pictures are painted off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes Verbarium's pictures as PNG files."));
    parser.addHelpOption();
    const QCommandLineOption theme(QStringLiteral("theme"), QStringLiteral("Icon theme folder to fill."), QStringLiteral("dir"));
    const QCommandLineOption preview(QStringLiteral("preview"), QStringLiteral("Folder for every picture."), QStringLiteral("dir"));
    const QCommandLineOption sheet(QStringLiteral("sheet"), QStringLiteral("Contact sheet to write."), QStringLiteral("file"));
    const QCommandLineOption time(QStringLiteral("time"), QStringLiteral("Time painting the start-up set."));
    parser.addOptions({theme, preview, sheet, time});
    parser.process(app);

    bool ok = true;
    if (parser.isSet(theme))
        ok &= writeTheme(parser.value(theme));
    if (parser.isSet(preview))
        ok &= writePreview(parser.value(preview));
    if (parser.isSet(sheet))
        ok &= save(contactSheet(), parser.value(sheet));
    if (parser.isSet(time)) {
        QList<StartCost> runs;
        for (int i = 0; i < 9; ++i)
            runs.append(timeStartSet());
        const StartCost first = runs.takeFirst();
        std::sort(runs.begin(), runs.end(), [](const StartCost &a, const StartCost &b) { return a.total() < b.total(); });
        const StartCost median = runs.at(runs.size() / 2);
        QTextStream out(stdout);
        out << "start-up set, processor ms: first run " << first.total() << " (commands " << first.commands << ", tray "
            << first.tray << ", program icon " << first.program << ")\n";
        out << "median of the next " << runs.size() << ": " << median.total() << " (commands " << median.commands
            << ", tray " << median.tray << ", program icon " << median.program << ")\n";
    }
    return ok ? 0 : 1;
}
