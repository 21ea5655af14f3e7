#pragma once

#include "platform/ClipboardSource.h"
#include "platform/EspeakSpeech.h"
#include "platform/LinkOpener.h"
#include "platform/MailHandoff.h"
#include "platform/MessageBox.h"
#include "platform/SettingsKey.h"

#include <functional>
#include <memory>

class TrayShell; // tray/TrayShell.h

// The desktop services the main window reaches out to, in one place. A default Platform is the real desktop;
// tests build one with fakes and hand it to the window, which passes each service on to the part that needs it.
// Nothing outside this folder and main() reaches a service any other way.
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
    // What the clipboard watch reads and what decides Paste; asked as the window is built. The application must
    // exist by then.
    std::function<ClipboardSource *()> clipboard = [] { return SystemClipboard::instance(); };
    // The speech runtime, taken once as the window starts.
    std::function<std::unique_ptr<SpeechRuntime>()> speechRuntime = [] { return std::make_unique<EspeakRuntime>(); };
    // The notification area, not owned; none: the desktop's own.
    TrayShell *trayShell = nullptr;
};
