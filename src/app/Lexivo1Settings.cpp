// The ten settings: read at start-up, written at "E&xit".
#include "app/Lexivo1.h"

#include "app/SettingsTable.h"
#include "dictionary/DictionaryTable.h"
#include "platform/Application.h"
#include "platform/MessageBox.h"
#include "platform/ProfileFile.h"
#include "platform/SettingsKey.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

namespace {

// The file is named after the message, so the user knows which one to look at.
void showKeyFailure()
{
    MessageBoxes::stop(QStringLiteral("Error..."),
                       QStringLiteral("You must have administrator rights to do this operation or may be an "
                                      "operating system problem.")
                           + QStringLiteral("\n\n")
                           + QDir::toNativeSeparators(SettingsKey::filePathFor(QLatin1String(settingsKeyPath))));
}

QList<QRect> screenRects()
{
    QList<QRect> rects;
    for (const QScreen *screen : QGuiApplication::screens())
        rects << screen->geometry();
    return rects;
}

} // namespace

void TLexivoAppForm::applySettings()
{
    const ProfileFile file(QDir(m_env.programDir).filePath(QLatin1String(settingsFileName)));
    const auto key = SettingsKey::openOrCreate(QLatin1String(settingsKeyPath));
    if (!key) {
        showKeyFailure();
        return;
    }
    auto check = [this](const char *name) {
        return [a = action(name)](bool on) { a->setChecked(on); };
    };
    SettingsTargets targets;
    targets.toolBar = [this](bool on) {
        ControlBar1->setVisible(on);
        action("ToolbarAction")->setChecked(on);
    };
    targets.statusBar = [this](bool on) {
        StatusBar->setVisible(on);
        action("StatusBarAction")->setChecked(on);
    };
    targets.wordsExplorer = [this](bool shown) {
        if (shown)
            setExplorerCommand(false);
        else
            hideWordsExplorer(false);
    };
    targets.alwaysOnTop = [this](bool on) {
        setStayOnTop(on);
        action("AoTAction1")->setChecked(on);
    };
    targets.autoRestore = check("AutoRestoreAction");
    targets.checkClip = check("CheckClipAction1");
    targets.checkClipSound = check("CheckClipSoundAction1");
    targets.clipboardTimer = [this](bool on) {
        if (on)
            Timer1->start();
        else
            Timer1->stop();
    };
    targets.windowState = [this](Qt::WindowState state) { setWindowState(state); };
    targets.startHidden = [this] {
        // Minimised here means "in the tray": the window is never handed to the window system iconified,
        // or its late report of that state would hide it again when a second start shows it.
        m_app->minimize();
        m_app->processMessages();
        m_app->hideAppWindow();
        Table1->next();
        m_app->processMessages();
    };
    targets.windowTop = [this](int top) { move(x(), top); };
    targets.windowLeft = [this](int left) {
        move(left, y());
        // A window placed on a monitor since removed would be out of everyone's reach.
        const QScreen *primary = QGuiApplication::primaryScreen();
        if (primary)
            move(reachablePosition(QRect(pos(), size()), screenRects(), primary->availableGeometry()));
    };
    ::applySettings(key.get(), file, m_env.startHidden, targets);
    m_app->processMessages();
}

void TLexivoAppForm::saveSettings()
{
    const auto key = SettingsKey::openOrCreate(QLatin1String(settingsKeyPath));
    if (!key) {
        showKeyFailure();
        return;
    }
    SavedValues values;
    values.windowState = windowState();
    values.toolBar = !ControlBar1->isHidden();
    values.statusBar = !StatusBar->isHidden();
    values.wordsExplorer = !action("ShowHideLeftAction")->isChecked();
    values.windowTop = y();
    values.windowLeft = x();
    values.alwaysOnTop = action("AoTAction1")->isChecked();
    values.autoRestore = action("AutoRestoreAction")->isChecked();
    values.checkClip = action("CheckClipAction1")->isChecked();
    values.checkClipSound = action("CheckClipSoundAction1")->isChecked();
    // A settings file that cannot be written is said, not lost in silence; the program ends all the same.
    if (!::saveSettings(*key, values))
        showKeyFailure();
}
