#pragma once

#include "platform/ClipboardSource.h"
#include "platform/LinkOpener.h"
#include "platform/MailHandoff.h"
#include "platform/MessageBox.h"
#include "platform/SettingsKey.h"

#include <functional>

// The desktop services the main window reaches out to, in one place. A default Platform is the real desktop;
// tests build one with fakes and hand it to the window, which passes each service on to the part that needs it.
struct Platform
{
    // Errors and warnings the user must acknowledge.
    MessageBoxes messages;
    // The feedback links, the web site and the help file's outside links.
    LinkOpener openLink = openWithDesktop;
    // The program "Send" hands a new mail to (run with --utf8 --subject … --body …).
    QString mailProgram = MailHandoff::desktopProgram();
    // The folder the settings key is kept under.
    QString configFolder = SettingsKey::userConfigFolder();
    // What the clipboard watch reads; asked once, when the window is built. The application must exist by then.
    std::function<ClipboardSource *()> clipboard = [] { return SystemClipboard::instance(); };
};
