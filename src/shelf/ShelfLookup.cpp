#include "shelf/ShelfLookup.h"

#include "dictionary/HeadwordOrder.h"
#include "shelf/AddedDictionary.h"
#include "shelf/MergedWordList.h"
#include "shelf/SafeMarkup.h"
#include "shelf/ShelfSettings.h"

namespace {

ShelfSection sectionOf(const AddedDictionary &dictionary, const QList<int> &records)
{
    ShelfSection section;
    section.dictionaryName = dictionary.name();
    for (const int record : records) {
        const RenderedEntry entry = dictionary.entry(record);
        if (!section.plainText.isEmpty())
            section.plainText += QStringLiteral("\n\n");
        section.plainText += entry.plainText;
        section.html += QStringLiteral("<div>") + entry.html + QStringLiteral("</div>");
    }
    return section;
}

} // namespace

QList<ShelfSection> sectionsForRow(const MergedWordList &list, int row, const QList<const AddedDictionary *> &dictionaries)
{
    QList<ShelfSection> sections;
    for (qsizetype d = 0; d < dictionaries.size(); ++d) {
        if (!dictionaries[d])
            continue;
        const QList<int> records = list.recordsFor(row, int(d) + 1);
        if (!records.isEmpty())
            sections.append(sectionOf(*dictionaries[d], records));
    }
    return sections;
}

QList<ShelfSection> lookUpInAddedDictionaries(const QString &word, const QString &configFolder, const QString &cacheFolder)
{
    const ShelfSettings settings = ShelfSettings::readFile(configFolder);
    const QList<DictionarySource> found = findDictionaries(settings.searchFolders());
    QList<ShelfSection> sections;
    for (const ShelfSettings::Choice &choice : settings.arrange(found)) {
        if (!choice.enabled)
            continue;
        const auto source = std::find_if(found.cbegin(), found.cend(), [&](const auto &s) { return s.id == choice.id; });
        AddedDictionary dictionary(*source);
        dictionary.prepare(cacheFolder);
        if (!dictionary.isReady())
            continue;
        const KeyFile &keys = dictionary.keys();
        QList<int> exact;
        QList<int> byCase;
        const QStringView key = searchKey(word);
        for (int i = keys.lowerBound(key); i < keys.count(); ++i) {
            if (compareHeadwordsIgnoringCase(keys.keyAt(i), key) != 0)
                break;
            (keys.keyAt(i) == key ? exact : byCase).append(i);
        }
        const QList<int> &records = exact.isEmpty() ? byCase : exact;
        if (!records.isEmpty())
            sections.append(sectionOf(dictionary, records));
    }
    return sections;
}

QString entryWithSections(const QString &builtInHtml, const QList<ShelfSection> &sections)
{
    QString html = builtInHtml;
    for (const ShelfSection &section : sections) {
        html += QStringLiteral("<p style=\"margin-top:12px; margin-bottom:2px; font-size:small; color:#555555\"><b>")
                + plainToHtml(section.dictionaryName) + QStringLiteral("</b></p>") + section.html;
    }
    return html;
}

QString plainTextWithSections(const QString &builtInText, const QList<ShelfSection> &sections)
{
    QString text = builtInText;
    for (const ShelfSection &section : sections) {
        if (!text.isEmpty())
            text += QStringLiteral("\n\n");
        text += section.dictionaryName + u'\n' + section.plainText;
    }
    return text;
}
