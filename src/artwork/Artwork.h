#pragma once

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QPixmap>

class ImageList;

// Every picture the program shows, drawn in code. Icons are painted lazily, per size, the first
// time a size is asked for, so building them costs next to nothing at start-up.
// Everything here needs a QGuiApplication and runs on its thread.
namespace Artwork {

// Images of the menus, toolbar and commands, indexes 0 to 37.
constexpr int commandImageCount = 38;
// Frames of the tray icon's animation.
constexpr int trayFrameCount = 6;
// The tray frame shown while the icon is at rest.
constexpr int trayRestingFrame = 1;

// Pixel sizes each kind of icon offers; other sizes are drawn on request too.
QList<int> commandImageSizes();
QList<int> trayImageSizes();
QList<int> programIconSizes();
// The sizes handed to the window manager with the window: each one is painted as the window maps.
QList<int> windowIconSizes();

QList<QIcon> commandImages();
QList<QIcon> trayImages();
QIcon programIcon();
// The program icon in the window icon sizes only.
QIcon windowIcon();
// The program icon offering 16 px only, painted in a fraction of the time of all the window icon sizes:
// the program's icon while it starts, until windowIcon() replaces it once the first window is painted.
QIcon startIcon();

// The product name as title artwork, 214 × 32.
QPixmap titleArtwork();
// A 16 × 16 globe beside the web link.
QPixmap linkIcon();
// The button at the end of a toolbar too short for its buttons: chevrons pointing where they went.
QIcon toolBarExtensionIcon(Qt::Orientation orientation);
// The pointing hand over the word list, the entry view and the links.
QCursor handCursor();

// Replaces the contents of `list` with `icons`, in order.
void fillImageList(ImageList &list, const QList<QIcon> &icons);

// The drawings themselves, at one pixel size, for tools and tests.
QImage paintCommandImage(int index, int pixels);
QImage paintTrayFrame(int frame, int pixels);
QImage paintProgramIcon(int pixels);
QImage paintLinkIcon(int pixels);
QImage paintTitleArtwork();
QImage paintToolBarExtension(Qt::Orientation orientation, int pixels);

} // namespace Artwork
