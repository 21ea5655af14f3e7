#include "app/AddedDictionaries.h"

#include "dictionary/DictionaryTable.h"
#include "platform/SettingsKey.h"
#include "shelf/AddedDictionary.h"
#include "shelf/MergedWordList.h"

#include <QDir>

// The merged list as the table's rows.
class ShelfOverlay final : public RowOverlay
{
public:
    ShelfOverlay(MergedWordList list, QList<std::shared_ptr<AddedDictionary>> owned)
        : m_list(std::move(list)), m_owned(std::move(owned))
    {
        for (const auto &dictionary : m_owned)
            m_dictionaries.append(dictionary.get());
    }
    int count() const override { return m_list.count(); }
    QString headword(int row) const override { return m_list.headword(row); }
    QAnyStringView headwordView(int row) const override { return m_list.headwordView(row); }
    int tableRow(int row) const override { return m_list.baseRow(row); }
    int rowOfTableRow(int tableRow) const override { return m_list.rowOfBase(tableRow); }
    int nearest(QStringView text) const override { return m_list.nearest(text); }

    const MergedWordList &list() const { return m_list; }
    const QList<const AddedDictionary *> &dictionaries() const { return m_dictionaries; }

private:
    MergedWordList m_list;
    // The key files the list points into live as long as it does.
    QList<std::shared_ptr<AddedDictionary>> m_owned;
    QList<const AddedDictionary *> m_dictionaries;
};


AddedDictionaries::AddedDictionaries(DictionaryTable *table, QString configFolder, QObject *parent)
    : QObject(parent), m_table(table), m_configFolder(std::move(configFolder))
{
}

AddedDictionaries::~AddedDictionaries()
{
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

void AddedDictionaries::start()
{
    if (m_thread) {
        m_again = true;
        return;
    }
    if (!m_table || !m_table->isOpen())
        return;
    if (!m_settingsRead) {
        m_settings = ShelfSettings::readFile(m_configFolder);
        m_settingsRead = true;
    }
    const ShelfSettings settings = m_settings;
    const QStringList folders = settings.searchFolders();
    const QString cache = keyCacheFolder();
    // The table's own headwords, shared with the thread: they stay as they are whatever the table does.
    const HeadwordSet base = m_table->headwordSet();
    QPointer<AddedDictionaries> self(this);
    m_thread = QThread::create([self, settings, folders, cache, base] {
        const QList<DictionarySource> sources = findDictionaries(folders);
        QList<Found> found;
        for (const ShelfSettings::Choice &choice : settings.arrange(sources)) {
            const auto source = std::find_if(sources.cbegin(), sources.cend(), [&](const auto &s) { return s.id == choice.id; });
            found.append({std::make_shared<AddedDictionary>(*source), choice.enabled});
        }
        QList<std::shared_ptr<AddedDictionary>> enabled;
        int done = 0;
        const int toRead = int(std::count_if(found.cbegin(), found.cend(), [](const Found &f) { return f.enabled; }));
        for (const Found &f : found) {
            if (!f.enabled)
                continue;
            const QString text = QObject::tr("Reading %1 (%2 of %3)...").arg(f.dictionary->source().baseName()).arg(++done).arg(toRead);
            QMetaObject::invokeMethod(self, [self, text] { if (self) emit self->progress(text); }, Qt::QueuedConnection);
            f.dictionary->prepare(cache);
            if (f.dictionary->isReady())
                enabled.append(f.dictionary);
        }
        std::shared_ptr<const ShelfOverlay> overlay;
        if (!enabled.isEmpty() && base.count() > 0) {
            QList<const KeyFile *> keys;
            for (const auto &d : enabled)
                keys.append(&d->keys());
            overlay = std::make_shared<ShelfOverlay>(
                MergedWordList::build(base.count(), [base](int row) { return base.at(row); }, keys), enabled);
            // The merge read every key once; what a lookup needs later is a few pages of each file.
            for (const KeyFile *k : keys)
                k->releasePages();
        }
        // Those that are off are read too, so the Dictionaries window can say what they are and how many words
        // they hold; after their first read that is a mapping of their key files.
        for (const Found &f : found) {
            if (!f.enabled)
                f.dictionary->prepare(cache);
        }
        QMetaObject::invokeMethod(self, [self, found, overlay] { if (self) self->finish(found, overlay); },
                                  Qt::QueuedConnection);
    });
    m_thread->start(QThread::LowPriority);
}

void AddedDictionaries::finish(QList<Found> found, std::shared_ptr<const ShelfOverlay> overlay)
{
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_found = std::move(found);
    // The entry shown as the table moves over must already see the new overlay; the old one lives on until the
    // table has let go of it.
    const auto previous = std::exchange(m_overlay, std::move(overlay));
    if (m_table && (m_overlay || m_table->overlay()))
        m_table->setOverlay(m_overlay);
    // Taking the new rows in reads through the key files once more; a lookup needs only a few of their pages.
    if (m_overlay) {
        for (const AddedDictionary *d : m_overlay->dictionaries())
            d->keys().releasePages();
    }
    emit progress(QString());
    emit changed();
    if (m_again) {
        m_again = false;
        start();
    }
}

QString AddedDictionaries::entryWithSections(int row, const QString &entry) const
{
    if (!m_overlay || !m_table || m_table->overlay() != m_overlay.get() || row < 0)
        return entry;
    return ::entryWithSections(entry, sectionsForRow(m_overlay->list(), row, m_overlay->dictionaries()));
}

QString AddedDictionaries::pronunciation(int row) const
{
    if (!m_overlay || !m_table || m_table->overlay() != m_overlay.get() || row < 0)
        return {};
    const auto &dictionaries = m_overlay->dictionaries();
    for (qsizetype d = 0; d < dictionaries.size(); ++d) {
        for (const int record : m_overlay->list().recordsFor(row, int(d) + 1)) {
            const QString ipa = dictionaries[d]->pronunciation(record);
            // Between slashes, as the built-in dictionary's own are shown.
            if (!ipa.isEmpty())
                return u'/' + ipa + u'/';
        }
    }
    return {};
}

bool AddedDictionaries::apply(const ShelfSettings &settings)
{
    bool saved = false;
    if (const auto key = SettingsKey::openOrCreate(m_configFolder, ShelfSettings::keyPath())) {
        bool written = true;
        settings.write([&](const QString &name, const QString &value) { written = key->writeString(name, value) && written; });
        saved = key->close() && written;
    }
    m_settings = settings;
    start();
    return saved;
}
