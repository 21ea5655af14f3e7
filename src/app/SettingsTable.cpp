#include "app/SettingsTable.h"

#include "platform/AppError.h"
#include "platform/ProfileFile.h"
#include "platform/SettingsKey.h"

#include <algorithm>

namespace {

// Each setting once: its name, where the file keeps it, its default there, and what "E&xit" writes for it.
constexpr std::array<SettingDef, 10> defs{{
    {"ToolBar", "View", "Yes", SettingKind::Switch, 1, [](const SavedValues &v) { return switchText(v.toolBar); }},
    {"StatusBar", "View", "Yes", SettingKind::Switch, 2, [](const SavedValues &v) { return switchText(v.statusBar); }},
    {"WordsExplorer", "View", "Yes", SettingKind::Switch, 3,
     [](const SavedValues &v) { return switchText(v.wordsExplorer); }},
    {"AoT", "Options", "Yes", SettingKind::Switch, 6, [](const SavedValues &v) { return switchText(v.alwaysOnTop); }},
    {"ARA", "Options", "Yes", SettingKind::Switch, 7, [](const SavedValues &v) { return switchText(v.autoRestore); }},
    {"CheckClip", "Options", "No", SettingKind::Switch, 8, [](const SavedValues &v) { return switchText(v.checkClip); }},
    {"CheckClipSound", "Options", "Yes", SettingKind::Switch, 9,
     [](const SavedValues &v) { return switchText(v.checkClipSound); }},
    {"WinState", "Display", "0", SettingKind::WindowState, 0,
     [](const SavedValues &v) { return windowStateText(v.windowState); }},
    {"WindowTop", "Display", "0", SettingKind::Position, 4,
     [](const SavedValues &v) { return QString::number(v.windowTop); }},
    {"WindowLeft", "Display", "0", SettingKind::Position, 5,
     [](const SavedValues &v) { return QString::number(v.windowLeft); }},
}};

constexpr std::array<const char *, 10> saveOrder = [] {
    std::array<const char *, 10> order{};
    for (const SettingDef &d : defs)
        order[d.saveRank] = d.name;
    return order;
}();
static_assert(std::all_of(saveOrder.begin(), saveOrder.end(), [](const char *name) { return name != nullptr; }),
              "every setting has a rank of its own");

const SettingDef &def(const char *name)
{
    return *findSetting(QString::fromLatin1(name));
}

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
    const auto read = [&](const char *name) { return readSetting(key, file, def(name)); };
    call(targets.toolBar, switchOn(read("ToolBar")));
    call(targets.statusBar, switchOn(read("StatusBar")));
    call(targets.wordsExplorer, switchOn(read("WordsExplorer")));
    call(targets.alwaysOnTop, switchOn(read("AoT")));
    call(targets.autoRestore, switchOn(read("ARA")));
    const bool checkClip = switchOn(read("CheckClip"));
    call(targets.checkClip, checkClip);
    const bool checkClipSound = switchOn(read("CheckClipSound"));
    call(targets.checkClipSound, checkClipSound);
    call(targets.clipboardTimer, checkClip || checkClipSound);
    if (startHidden) {
        call(targets.startHidden);
    } else if (const auto state = windowStateFrom(read("WinState"))) {
        call(targets.windowState, *state);
    }
    call(targets.windowTop, positionFrom(read("WindowTop")));
    call(targets.windowLeft, positionFrom(read("WindowLeft")));
}

QList<std::pair<QString, QString>> savedEntries(const SavedValues &v)
{
    QList<std::pair<QString, QString>> out;
    for (const char *name : saveOrder) {
        const SettingDef &d = def(name);
        out.append({QLatin1StringView(d.name), d.savedText(v)});
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
