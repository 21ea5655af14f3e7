#pragma once

#include "shelf/DictData.h"
#include "shelf/KeyFile.h"
#include "shelf/StarDict.h"

#include <QStringList>

#include <memory>

enum class DictionaryFormat { Dictd, StarDict };

// Where one added dictionary lies. Its id is the path of its index (dictd) or ".ifo" (StarDict).
struct DictionarySource
{
    QString id;
    DictionaryFormat format = DictionaryFormat::Dictd;
    QString indexPath;
    QString dataPath;
    QString synonymPath;

    // Every file it is read from; a change to any of them means reading it again.
    QStringList files() const;
    QString folder() const;
    // The file name without its extensions ("gcide", "freedict-eng-deu").
    QString baseName() const;
};

// The folders searched by default, in order: the system's dictd and StarDict folders, the user's StarDict
// folder and the program's own folder under $XDG_DATA_HOME.
QStringList standardDictionaryFolders();
// $XDG_CACHE_HOME/verbarium (or ~/.cache/verbarium), where the key files are kept.
QString keyCacheFolder();

// Every dictionary in folders and their subfolders, each once, in folder order and by path within one.
QList<DictionarySource> findDictionaries(const QStringList &folders);
// WordNet in dictd form repeats the built-in dictionary, so it starts off.
bool isOnByDefault(const DictionarySource &source);

// One added dictionary once its keys are in memory: its key file, its open text file and what it says of itself.
// prepare() does the slow part and may run on any thread; the object is then used on one thread.
class AddedDictionary final
{
public:
    explicit AddedDictionary(DictionarySource source);

    // Maps the key file kept in cacheFolder, or reads the index and writes one; opens the text file.
    // Afterwards isReady() or error() says how it went.
    void prepare(const QString &cacheFolder);

    const DictionarySource &source() const { return m_source; }
    bool isReady() const { return m_ready; }
    QString error() const { return m_error; }
    QStringList warnings() const;
    QString name() const;
    QString description() const { return m_keys.description(); }
    QString licence() const { return m_keys.licence(); }
    int headwordCount() const { return m_ready ? m_keys.count() : 0; }
    qint64 sizeOnDisk() const;
    const KeyFile &keys() const { return m_keys; }

    // The entry of record i as text and rich text; a record that cannot be read gives a message that says why
    // and what to do, never another record's text.
    RenderedEntry entry(int record) const;
    // FreeDict's pronunciation of record i, empty when there is none.
    QString pronunciation(int record) const;

private:
    bool readIndex(KeyListing *listing);

    DictionarySource m_source;
    KeyFile m_keys;
    DictData m_data;
    StarDictInfo m_info;
    QString m_identity;
    QString m_error;
    QStringList m_cacheWarnings;
    bool m_ready = false;
    bool m_gcide = false;
};
