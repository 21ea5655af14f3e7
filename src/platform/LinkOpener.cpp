#include "platform/LinkOpener.h"

#include <QDesktopServices>

bool openWithDesktop(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}
