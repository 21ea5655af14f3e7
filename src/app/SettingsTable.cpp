#include "app/SettingsTable.h"

#include "platform/AppError.h"
#include "platform/ProfileFile.h"
#include "platform/SettingsKey.h"

#include <algorithm>

namespace {

constexpr SettingDef switchSetting(const char *name, const char *section, const char *fileDefault, int saveRank,
                                   bool SavedValues::*value, std::function<void(bool)> SettingsTargets::*target)
{
    return {name, section, fileDefault, SettingKind::Switch, saveRank, value, target, nullptr, nullptr};
}

constexpr SettingDef positionSetting(const char *name, int saveRank, int SavedValues::*value,
                                     std::function<void(int)> SettingsTargets::*target)
{
    return {name, "Display", "0", SettingKind::Position, saveRank, nullptr, nullptr, value, target};
}

// Each setting once, in the order start-up applies them: name, file section and default, place in the save order,
// the window's value and what start-up does with it.
constexpr std::array<SettingDef, 10> defs{{
    switchSetting("ToolBar", "View", "Yes", 1, &SavedValues::toolBar, &SettingsTargets::toolBar),
    switchSetting("StatusBar", "View", "Yes", 2, &SavedValues::statusBar, &SettingsTargets::statusBar),
    switchSetting("WordsExplorer", "View", "Yes", 3, &SavedValues::wordsExplorer, &SettingsTargets::wordsExplorer),
    switchSetting("AoT", "Options", "Yes", 6, &SavedValues::alwaysOnTop, &SettingsTargets::alwaysOnTop),
    switchSetting("ARA", "Options", "Yes", 7, &SavedValues::autoRestore, &SettingsTargets::autoRestore),
    switchSetting("CheckClip", "Options", "No", 8, &SavedValues::checkClip, &SettingsTargets::checkClip),
    switchSetting("CheckClipSound", "Options", "Yes", 9, &SavedValues::checkClipSound,
                  &SettingsTargets::checkClipSound),
    {"WinState", "Display", "0", SettingKind::WindowState, 0},
    positionSetting("WindowTop", 4, &SavedValues::windowTop, &SettingsTargets::windowTop),
    positionSetting("WindowLeft", 5, &SavedValues::windowLeft, &SettingsTargets::windowLeft),
}};

constexpr std::array<const char *, 10> saveOrder = [] {
    std::array<const char *, 10> order{};
    for (const SettingDef &d : defs)
        order[d.saveRank] = d.name;
    return order;
}();
static_assert(std::all_of(saveOrder.begin(), saveOrder.end(), [](const char *name) { return name != nullptr; }),
              "every setting has a rank of its own");

template <typename F, typename... Args>
void call(const F &f, Args &&...args)
{
    if (f)
        f(std::forward<Args>(args)...);
}

} // namespace

const std::array<SettingDef, 10> &settingDefs()
{
    return defs;
}

const std::array<const char *, 10> &settingsSaveOrder()
{
    return saveOrder;
}

const SettingDef *findSetting(QStringView name)
{
    for (const SettingDef &d : defs) {
        if (name == QLatin1StringView(d.name))
            return &d;
    }
    return nullptr;
}

QString readSetting(const SettingsKey *key, const ProfileFile &file, const SettingDef &def)
{
    const QString name = QLatin1StringView(def.name);
    if (key) {
        const QString stored = key->readString(name);
        if (!stored.isEmpty())
            return stored;
    }
    return file.readString(QLatin1StringView(def.section), name, QLatin1StringView(def.fileDefault));
}

bool switchOn(const QString &value)
{
    return value == u"Yes";
}

QString switchText(bool on)
{
    return on ? QStringLiteral("Yes") : QStringLiteral("No");
}

std::optional<Qt::WindowState> windowStateFrom(const QString &value)
{
    if (value == u"0")
        return Qt::WindowNoState;
    if (value == u"1")
        return Qt::WindowMinimized;
    if (value == u"2")
        return Qt::WindowMaximized;
    return std::nullopt;
}

QString windowStateText(Qt::WindowStates state)
{
    if (state & Qt::WindowMinimized)
        return QStringLiteral("1");
    if (state & Qt::WindowMaximized)
        return QStringLiteral("2");
    return QStringLiteral("0");
}

// An optional sign and at least one ASCII digit, nothing else: toInt() alone would also take
// surrounding blanks, and a regular expression costs its compilation at every start.
bool plainDecimal(QStringView value)
{
    if (value.startsWith(u'+') || value.startsWith(u'-'))
        value = value.mid(1);
    return !value.isEmpty() && std::all_of(value.begin(), value.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

int positionFrom(const QString &value)
{
    bool ok = false;
    const int n = plainDecimal(value) ? value.toInt(&ok, 10) : 0;
    if (!ok)
        throw AppError(QStringLiteral("'%1' is not a valid integer value").arg(value));
    return n;
}

void applySettings(const SettingsKey *key, const ProfileFile &file, bool startHidden, const SettingsTargets &targets)
{
    SavedValues applied;
    for (const SettingDef &d : defs) {
        switch (d.kind) {
        case SettingKind::Switch:
            applied.*d.switchValue = switchOn(readSetting(key, file, d));
            call(targets.*d.switchTarget, applied.*d.switchValue);
            break;
        case SettingKind::WindowState:
            // "/m" takes the place of the stored state, which is then not read at all.
            if (startHidden)
                call(targets.startHidden);
            else if (const auto state = windowStateFrom(readSetting(key, file, d)))
                call(targets.windowState, *state);
            break;
        case SettingKind::Position:
            call(targets.*d.positionTarget, positionFrom(readSetting(key, file, d)));
            break;
        }
        // The clipboard timer follows the two watch switches once both are applied.
        if (d.switchValue == &SavedValues::checkClipSound)
            call(targets.clipboardTimer, applied.checkClip || applied.checkClipSound);
    }
}

namespace {

QString savedText(const SettingDef &d, const SavedValues &v)
{
    switch (d.kind) {
    case SettingKind::Switch:
        return switchText(v.*d.switchValue);
    case SettingKind::WindowState:
        return windowStateText(v.windowState);
    case SettingKind::Position:
        return QString::number(v.*d.positionValue);
    }
    return {};
}

} // namespace

QList<std::pair<QString, QString>> savedEntries(const SavedValues &v)
{
    QList<std::pair<QString, QString>> out;
    for (const char *name : saveOrder) {
        const SettingDef &d = *findSetting(QString::fromLatin1(name));
        out.append({QLatin1StringView(d.name), savedText(d, v)});
    }
    return out;
}

bool saveSettings(SettingsKey &key, const SavedValues &values)
{
    // A write that fails is passed over without a word; the rest are still written.
    for (const auto &[name, text] : savedEntries(values))
        key.writeString(name, text);
    return key.close();
}
