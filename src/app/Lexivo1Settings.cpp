// The ten settings: read at start-up, written at "E&xit".
#include "app/Lexivo1.h"

#include "app/CommandBinding.h"
#include "app/SettingsTable.h"
#include "app/WindowPlacement.h"
#include "clipboard/ClipboardWatcher.h"
#include "dictionary/DictionaryTable.h"
#include "platform/Application.h"
#include "platform/ProfileFile.h"
#include "platform/SettingsKey.h"
#include "tray/Trayicon.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include <optional>

namespace {

// The file is named after the message, so the user knows which one to look at.
void showKeyFailure(const Platform &platform)
{
    const QString file = SettingsKey::filePathFor(platform.configFolder, QLatin1String(settingsKeyPath));
    platform.messages.stop(QStringLiteral("Error..."),
                           QStringLiteral("You must have administrator rights to do this operation or may be an "
                                          "operating system problem.")
                               + QStringLiteral("\n\n") + QDir::toNativeSeparators(file));
}

QList<ScreenArea> screenAreas()
{
    QList<ScreenArea> areas;
    for (const QScreen *screen : QGuiApplication::screens())
        areas.append({screen->geometry(), screen->availableGeometry()});
    return areas;
}

// Before the window manager has framed the window its title bar's height is unknown; most are no taller.
constexpr int kTitleBarGuess = 30;

} // namespace

void TLexivoAppForm::applySettings()
{
    const ProfileFile file(QDir(m_env.programDir).filePath(QLatin1String(settingsFileName)));
    const auto key = SettingsKey::openOrCreate(m_platform.configFolder, QLatin1String(settingsKeyPath));
    if (!key) {
        showKeyFailure(m_platform);
        return;
    }
    // A file there but unreadable is said now and left alone; the other store and the defaults still apply.
    if (!key->isReadable()) {
        showKeyFailure(m_platform);
        m_settingsFailureSaid = true;
    }
    SettingsTargets targets;
    targets.toolBar = [this](bool on) {
        ControlBar1->setVisible(on);
        CommandBinding::setChecked(action(Command::ToolbarAction), on);
    };
    targets.statusBar = [this](bool on) {
        StatusBar->setVisible(on);
        CommandBinding::setChecked(action(Command::StatusBarAction), on);
    };
    targets.wordsExplorer = [this](bool shown) {
        if (shown)
            setExplorerCommand(false);
        else
            hideWordsExplorer(false);
    };
    targets.alwaysOnTop = [this](bool on) {
        setStayOnTop(on);
        CommandBinding::setChecked(action(Command::AoTAction1), on);
    };
    // The watch's modes are the watcher's; the check marks and the timer follow them.
    auto watchMode = [this](bool ClipboardModes::*mode) {
        return [this, mode](bool on) {
            ClipboardModes modes = m_clipboardWatcher->modes();
            modes.*mode = on;
            setClipboardModes(modes);
        };
    };
    targets.autoRestore = watchMode(&ClipboardModes::autoRestore);
    targets.checkClip = watchMode(&ClipboardModes::checkClip);
    targets.checkClipSound = watchMode(&ClipboardModes::checkClipSound);
    targets.clipboardTimer = watchMode(&ClipboardModes::timerEnabled);
    // The state goes to the window after its position, even when reading the position fails: setting a state
    // creates the window, and a window moved after that is placed by its inner corner, a frame's height off.
    std::optional<Qt::WindowState> storedState;
    targets.windowState = [&storedState](Qt::WindowState state) { storedState = state; };
    const auto applyState = qScopeGuard([this, &storedState] {
        if (storedState)
            setWindowState(*storedState);
    });
    targets.startHidden = [this] {
        // Minimised here means "in the tray": the window is never handed to the window system iconified,
        // or its late report of that state would hide it again when a second start shows it.
        m_app->minimize();
        m_app->processMessages();
        // Without a notification area the program starts minimised to the taskbar instead.
        if (TrayIcon1->InNotificationArea())
            m_app->hideAppWindow();
        Table1->next();
        m_app->processMessages();
    };
    targets.windowTop = [this](int top) { move(x(), top); };
    targets.windowLeft = [this](int left) {
        move(left, y());
        // A window whose title bar is off the screens (a monitor since removed, a smaller screen) cannot be
        // dragged back; one that can stays exactly where it was left.
        const int title = std::max(geometry().y() - frameGeometry().y(), kTitleBarGuess);
        const QPoint placed = titleBarOnScreen(frameGeometry(), title, screenAreas());
        if (placed != frameGeometry().topLeft())
            move(placed);
    };
    ::applySettings(key.get(), file, m_env.startHidden, targets);
    m_app->processMessages();
}

void TLexivoAppForm::saveSettings(bool quiet)
{
    const auto key = SettingsKey::openOrCreate(m_platform.configFolder, QLatin1String(settingsKeyPath));
    if (!key) {
        if (!quiet)
            showKeyFailure(m_platform);
        return;
    }
    SavedValues values;
    // Minimised into the tray is the application's state, not the window's: the window is stored as it was.
    values.windowState = windowState();
    if (!m_app->isAppWindowShown())
        values.windowState &= ~Qt::WindowMinimized;
    values.toolBar = !ControlBar1->isHidden();
    values.statusBar = !StatusBar->isHidden();
    values.wordsExplorer = !action(Command::ShowHideLeftAction)->isChecked();
    values.windowTop = y();
    values.windowLeft = x();
    values.alwaysOnTop = action(Command::AoTAction1)->isChecked();
    const ClipboardModes &watch = m_clipboardWatcher->modes();
    values.autoRestore = watch.autoRestore;
    values.checkClip = watch.checkClip;
    values.checkClipSound = watch.checkClipSound;
    // A settings file that cannot be written is said, not lost in silence; the program ends all the same.
    if (!::saveSettings(*key, values) && !quiet && !m_settingsFailureSaid)
        showKeyFailure(m_platform);
}
