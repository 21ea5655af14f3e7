#include "shelf/ShelfSettings.h"

#include "platform/RegularFile.h"

#include <QHash>
#include <QSet>

ShelfSettings ShelfSettings::read(const std::function<QString(const QString &)> &value)
{
    ShelfSettings settings;
    const int folders = std::clamp(value(QStringLiteral("Folders")).toInt(), 0, 1000);
    for (int i = 1; i <= folders; ++i) {
        const QString folder = value(QStringLiteral("Folder%1").arg(i));
        if (!folder.isEmpty())
            settings.folders.append(folder);
    }
    const int count = std::clamp(value(QStringLiteral("Dictionaries")).toInt(), 0, 10000);
    for (int i = 1; i <= count; ++i) {
        // "Yes|/path/name.index": on or off, and which dictionary.
        const QString entry = value(QStringLiteral("Dictionary%1").arg(i));
        const qsizetype bar = entry.indexOf(u'|');
        if (bar < 0 || bar + 1 >= entry.size())
            continue;
        settings.choices.append({entry.sliced(bar + 1), entry.first(bar) != u"No"});
    }
    return settings;
}

void ShelfSettings::write(const std::function<void(const QString &, const QString &)> &set) const
{
    set(QStringLiteral("Folders"), QString::number(folders.size()));
    for (qsizetype i = 0; i < folders.size(); ++i)
        set(QStringLiteral("Folder%1").arg(i + 1), folders[i]);
    set(QStringLiteral("Dictionaries"), QString::number(choices.size()));
    for (qsizetype i = 0; i < choices.size(); ++i)
        set(QStringLiteral("Dictionary%1").arg(i + 1),
            (choices[i].enabled ? QStringLiteral("Yes|") : QStringLiteral("No|")) + choices[i].id);
}

ShelfSettings ShelfSettings::readFile(const QString &configFolder)
{
    QHash<QString, QString> values;
    // The window's settings reader takes no larger file, nor a pipe or a device in its place.
    constexpr qint64 kMaxSettingsBytes = 4 * 1024 * 1024;
    if (const auto bytes = readRegularFile(configFolder + QStringLiteral("/Ostrand/Verbarium.conf"), kMaxSettingsBytes)) {
        bool inGroup = false;
        const QStringList lines = QString::fromUtf8(*bytes).split(u'\n');
        for (QString line : lines) {
            line = line.trimmed();
            if (line.startsWith(u'[')) {
                inGroup = line.compare(u"[Dictionaries]", Qt::CaseInsensitive) == 0;
                continue;
            }
            const qsizetype eq = line.indexOf(u'=');
            if (!inGroup || eq <= 0)
                continue;
            QString value = line.sliced(eq + 1).trimmed();
            if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
                value = value.sliced(1, value.size() - 2).replace(u"\\\""_qs, u"\""_qs).replace(u"\\\\"_qs, u"\\"_qs);
            values.insert(line.first(eq).trimmed().toLower(), value);
        }
    }
    return read([&values](const QString &name) { return values.value(name.toLower()); });
}

QStringList ShelfSettings::searchFolders() const
{
    // VERBARIUM_DICTIONARY_FOLDERS (colon-separated, may be empty) stands in for the standard folders, so tests
    // and benchmarks decide what is found.
    QStringList all = qEnvironmentVariableIsSet("VERBARIUM_DICTIONARY_FOLDERS")
                          ? qEnvironmentVariable("VERBARIUM_DICTIONARY_FOLDERS").split(u':', Qt::SkipEmptyParts)
                          : standardDictionaryFolders();
    for (const QString &folder : folders) {
        if (!all.contains(folder))
            all.append(folder);
    }
    return all;
}

QList<ShelfSettings::Choice> ShelfSettings::arrange(const QList<DictionarySource> &found) const
{
    QHash<QString, const DictionarySource *> byId;
    for (const DictionarySource &source : found)
        byId.insert(source.id, &source);
    QList<Choice> arranged;
    QSet<QString> placed;
    for (const Choice &choice : choices) {
        if (byId.contains(choice.id) && !placed.contains(choice.id)) {
            arranged.append(choice);
            placed.insert(choice.id);
        }
    }
    // New ones as found, but the English dictionary before the language pairs.
    QList<const DictionarySource *> fresh;
    for (const DictionarySource &source : found) {
        if (!placed.contains(source.id)) {
            fresh.append(&source);
            placed.insert(source.id);
        }
    }
    std::stable_partition(fresh.begin(), fresh.end(), [](const DictionarySource *s) { return s->baseName() == u"gcide"; });
    for (const DictionarySource *source : fresh)
        arranged.append({source->id, isOnByDefault(*source)});
    return arranged;
}
