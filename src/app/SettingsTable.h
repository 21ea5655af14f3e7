#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringView>

#include <array>
#include <functional>
#include <optional>
#include <utility>

class ProfileFile;
class SettingsKey;

// The ten stored settings: names, file sections and file defaults stated once, with the read, the interpretation
// and the save built on them. No widget here: the window hands in its state and receives values by callbacks.

inline constexpr char settingsKeyPath[] = "\\SOFTWARE\\Ostrand\\Verbarium\\1.0.0.0";
inline constexpr char settingsFileName[] = "vrb.ini";

enum class SettingKind { Switch, WindowState, Position };

// The window's state at "E&xit".
struct SavedValues
{
    Qt::WindowStates windowState = Qt::WindowNoState;
    bool toolBar = true;
    bool statusBar = true;
    bool wordsExplorer = true; // shown
    int windowTop = 0;
    int windowLeft = 0;
    bool alwaysOnTop = false;
    bool autoRestore = true;
    bool checkClip = false;
    bool checkClipSound = false;
};

// What start-up does with the values; callbacks left empty are skipped.
struct SettingsTargets
{
    std::function<void(bool)> toolBar;
    std::function<void(bool)> statusBar;
    std::function<void(bool)> wordsExplorer;  // true: shown
    std::function<void(bool)> alwaysOnTop;
    std::function<void(bool)> autoRestore;
    std::function<void(bool)> checkClip;
    std::function<void(bool)> checkClipSound;
    std::function<void(bool)> clipboardTimer; // after the two watch switches: on when either is on
    std::function<void(Qt::WindowState)> windowState;
    std::function<void()> startHidden;        // with "/m", in place of the window state
    std::function<void(int)> windowTop;
    std::function<void(int)> windowLeft;
};

// One stored setting, stated once: how it is read (name, file section, file default), what start-up does with it
// (the target), and what "E&xit" writes (the window's value, at its rank in the save order). A switch names a bool
// value and a bool target, a position an int value and an int target; the window state is the special row that
// start-up applies through windowState or startHidden and "E&xit" writes from SavedValues::windowState.
struct SettingDef
{
    const char *name;        // value name in the settings key and key in the settings file
    const char *section;     // section of the settings file
    const char *fileDefault; // when the file has no such key
    SettingKind kind;
    int saveRank; // place in the order in which "E&xit" writes them
    bool SavedValues::*switchValue = nullptr;
    std::function<void(bool)> SettingsTargets::*switchTarget = nullptr;
    int SavedValues::*positionValue = nullptr;
    std::function<void(int)> SettingsTargets::*positionTarget = nullptr;
};

// In the order in which start-up applies them.
const std::array<SettingDef, 10> &settingDefs();
// The order in which "E&xit" writes them, from the table's ranks.
const std::array<const char *, 10> &settingsSaveOrder();
// Null for a name not in the table.
const SettingDef *findSetting(QStringView name);

// Two-tier read: a non-empty value of the key wins; otherwise the file's text (even empty) or the file default.
// A null key reads the file alone. Throws AppError when the key holds another type than a string.
QString readSetting(const SettingsKey *key, const ProfileFile &file, const SettingDef &def);

// Switches are on exactly for "Yes".
bool switchOn(const QString &value);
QString switchText(bool on);
// "0" normal, "1" minimised, "2" maximised; nothing for any other text (the state is left as it is).
std::optional<Qt::WindowState> windowStateFrom(const QString &value);
QString windowStateText(Qt::WindowStates state);
// Decimal whole number with an optional sign; throws AppError("'<text>' is not a valid integer value").
int positionFrom(const QString &value);

// Reads and applies the ten settings in start-up order. An AppError from a read or a conversion propagates and
// leaves the later settings unapplied.
void applySettings(const SettingsKey *key, const ProfileFile &file, bool startHidden, const SettingsTargets &targets);


// Name and text of each value, in save order.
QList<std::pair<QString, QString>> savedEntries(const SavedValues &values);
// Writes all ten, each on its own (a failed write does not stop the next), then closes the key.
// Returns whether the key was committed.
bool saveSettings(SettingsKey &key, const SavedValues &values);
