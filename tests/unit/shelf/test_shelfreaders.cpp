// Reading dictd and StarDict dictionaries from their files, whole and damaged.
#include "ShelfFixtures.h"
#include "shelf/AddedDictionary.h"
#include "shelf/DictData.h"
#include "shelf/DictdIndex.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

#include <sys/stat.h>

using namespace shelf_fixtures;

namespace {

Entries sampleEntries()
{
    Entries entries;
    for (int i = 0; i < 12; ++i) {
        const QString word = QStringLiteral("word%1").arg(i, 2, 10, QLatin1Char('0'));
        entries.append({word, QStringLiteral("%1\n   marker-%1 ").arg(word) + QString(i * 7, u'x') + u'\n'});
    }
    entries.append({QStringLiteral("Zürich"), QStringLiteral("Zürich\n   marker-Zürich, a city\n")});
    return entries;
}

// Every record's text, by its key.
QHash<QString, QString> readAll(const AddedDictionary &dictionary)
{
    QHash<QString, QString> texts;
    for (int i = 0; i < dictionary.headwordCount(); ++i)
        texts.insert(dictionary.keys().keyAt(i).toString(), dictionary.entry(i).plainText);
    return texts;
}

} // namespace

class TestShelfReaders final : public QObject
{
    Q_OBJECT

private slots:
    void dictdNumbers();
    void dictzipReadsAnyRange();
    void dictdAndStarDictGiveTheirEntries();
    void keyFileIsMadeOnceAndRemadeWhenTheSourceChanges();
    void replacedDictionaryNeverShowsAnotherEntry();
    void damagedFilesHarmNothing();
};

void TestShelfReaders::dictdNumbers()
{
    QCOMPARE(decodeDictdNumber("A"), quint64(0));
    QCOMPARE(decodeDictdNumber("BA"), quint64(64));
    QCOMPARE(decodeDictdNumber("5I"), quint64(57 * 64 + 8));
    QCOMPARE(decodeDictdNumber("//"), quint64(4095));
    QVERIFY(!decodeDictdNumber(""));
    QVERIFY(!decodeDictdNumber("A-B"));
    QVERIFY(!decodeDictdNumber("AAAAAAAAA")); // past 48 bits
}

void TestShelfReaders::dictzipReadsAnyRange()
{
    QTemporaryDir dir;
    QByteArray text;
    QRandomGenerator random(7);
    for (int i = 0; i < 3000; ++i)
        text += char('a' + random.bounded(26));
    writeFile(dir.filePath(QStringLiteral("t.dict.dz")), dictzip(text, 100));
    DictData data;
    QVERIFY2(data.open(dir.filePath(QStringLiteral("t.dict.dz"))), qPrintable(data.error()));
    QVERIFY(data.isCompressed());
    QString error;
    for (int i = 0; i < 200; ++i) {
        const quint64 offset = random.bounded(text.size());
        const quint32 length = quint32(random.bounded(int(text.size() - offset) + 1));
        QCOMPARE(data.read(offset, length, &error).value_or("(failed)"), text.mid(qsizetype(offset), length));
    }
    QVERIFY(!data.read(2990, 11, &error));
    QVERIFY(error.contains(u"past the end"));
    QVERIFY(!data.read(0, kMaxEntryBytes + 1, &error));
    // A pipe in a data file's place is refused at once; opening it would wait for a writer for ever.
    const QString pipe = dir.filePath(QStringLiteral("p.dict"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QVERIFY(!data.open(pipe));
    QVERIFY(data.error().contains(u"not a regular file"));
}

void TestShelfReaders::dictdAndStarDictGiveTheirEntries()
{
    QTemporaryDir dir;
    Entries entries = sampleEntries();
    writeDictd(dir.path(), QStringLiteral("plain"), entries, false, QStringLiteral("Plain Test Dictionary"));
    writeDictd(dir.path(), QStringLiteral("packed"), entries, true);
    writeStarDict(dir.path(), QStringLiteral("star"), entries, {{QStringLiteral("alias"), 3}});
    writeStarDict(dir.path(), QStringLiteral("wide"), entries, {{QStringLiteral("alias"), 3}}, true);
    const QList<DictionarySource> found = findDictionaries({dir.path()});
    QCOMPARE(found.size(), 4);
    for (const DictionarySource &source : found) {
        AddedDictionary dictionary(source);
        dictionary.prepare(dir.filePath(QStringLiteral("cache")));
        QVERIFY2(dictionary.isReady(), qPrintable(source.id + u' ' + dictionary.error()));
        QVERIFY2(dictionary.warnings().isEmpty(), qPrintable(dictionary.warnings().join(u' ')));
        const auto texts = readAll(dictionary);
        for (const auto &[word, entry] : entries)
            QVERIFY2(texts.value(word).contains(QStringLiteral("marker-") + word), qPrintable(source.id + u' ' + word));
        // The info key names the dictionary and is no headword.
        if (source.baseName() == u"plain") {
            QCOMPARE(dictionary.name(), QStringLiteral("Plain Test Dictionary"));
            QCOMPARE(dictionary.headwordCount(), entries.size());
        }
        if (source.format == DictionaryFormat::StarDict)
            QVERIFY(texts.value(QStringLiteral("alias")).contains(u"marker-word03"));
    }
}

void TestShelfReaders::keyFileIsMadeOnceAndRemadeWhenTheSourceChanges()
{
    QTemporaryDir dir;
    writeDictd(dir.path(), QStringLiteral("d"), sampleEntries(), true);
    const DictionarySource source = findDictionaries({dir.path()}).value(0);
    const QString cache = dir.filePath(QStringLiteral("cache"));
    {
        AddedDictionary first(source);
        first.prepare(cache);
        QVERIFY(first.isReady());
    }
    const QStringList keyFiles = QDir(cache + QStringLiteral("/keys")).entryList(QDir::Files);
    QCOMPARE(keyFiles.size(), 1);
    // Overwritten with a key file of other sources: it is not used, and it is made again.
    const QString keyPath = cache + QStringLiteral("/keys/") + keyFiles.first();
    KeyListing other;
    other.records.append({QStringLiteral("stranger"), 0, 5});
    writeFile(keyPath, KeyFile::build(other, QStringLiteral("elsewhere")));
    AddedDictionary second(source);
    second.prepare(cache);
    QVERIFY(second.isReady());
    QCOMPARE(second.headwordCount(), sampleEntries().size());
    // An unwritable cache leaves the dictionary readable and says why it is read at every start.
    AddedDictionary third(source);
    third.prepare(QStringLiteral("/proc/verbarium-no-such-folder"));
    QVERIFY(third.isReady());
    QVERIFY(!third.warnings().isEmpty());
}

void TestShelfReaders::replacedDictionaryNeverShowsAnotherEntry()
{
    QTemporaryDir dir;
    const Entries entries = sampleEntries();
    writeDictd(dir.path(), QStringLiteral("d"), entries, true);
    const DictionarySource source = findDictionaries({dir.path()}).value(0);
    AddedDictionary dictionary(source);
    dictionary.prepare(dir.filePath(QStringLiteral("cache")));
    QVERIFY(dictionary.isReady());
    // A dictionary whose entries lie elsewhere: first put in place as a package upgrade does (a new file
    // renamed over the old), then written over the open file itself, then removed.
    Entries shifted = entries;
    shifted.prepend({QStringLiteral("aaa"), QStringLiteral("marker-aaa ") + QString(500, u'y')});
    QDir().mkpath(dir.filePath(QStringLiteral("new")));
    writeDictd(dir.filePath(QStringLiteral("new")), QStringLiteral("d"), shifted, true);
    QVERIFY(::rename(QFile::encodeName(dir.filePath(QStringLiteral("new/d.dict.dz"))).constData(),
                     QFile::encodeName(source.dataPath).constData()) == 0);
    auto texts = readAll(dictionary);
    for (const auto &[word, entry] : entries)
        QVERIFY2(texts.value(word).contains(QStringLiteral("marker-") + word), qPrintable(word));

    AddedDictionary reopened(source);
    reopened.prepare(dir.filePath(QStringLiteral("cache")));
    writeDictd(dir.path(), QStringLiteral("d"), entries, true);
    QFile::remove(source.dataPath);
    texts = readAll(reopened);
    for (const auto &[word, entry] : entries)
        QVERIFY2(texts.value(word).contains(u"changed while in use"), qPrintable(word + u' ' + texts.value(word)));
}

void TestShelfReaders::damagedFilesHarmNothing()
{
    // Every byte of each file of a small dictionary changed in turn, and every file cut at every length: the
    // reader answers for every headword, with the entry or with a message, and a whole index's headword never
    // shows another's entry. A changed byte inside compressed text is the exception: zlib may then copy other
    // text of the same chunk, and dictzip keeps no checksum per chunk to tell.
    QTemporaryDir dir;
    const Entries entries = sampleEntries().mid(0, 4);
    writeDictd(dir.path(), QStringLiteral("d"), entries, true);
    writeStarDict(dir.path(), QStringLiteral("s"), entries, {{QStringLiteral("alias"), 2}});
    const QList<DictionarySource> sources = findDictionaries({dir.path()});
    QCOMPARE(sources.size(), 2);
    // A cache that cannot be written keeps every key list in memory, so no case sees another's.
    const QString cache = QStringLiteral("/proc/verbarium-no-such-folder");
    QRandomGenerator random(2026);
    int cases = 0;
    for (const DictionarySource &source : sources) {
        for (const QString &path : source.files()) {
            QFile in(path);
            QVERIFY(in.open(QIODevice::ReadOnly));
            const QByteArray original = in.readAll();
            in.close();
            const auto check = [&](const QByteArray &damaged, bool mayMixText) {
                writeFile(path, damaged);
                AddedDictionary dictionary(source);
                dictionary.prepare(cache);
                const auto texts = readAll(dictionary);
                ++cases;
                if (mayMixText)
                    return;
                for (const auto &[key, entry] : entries) {
                    for (const auto &[other, otherEntry] : entries) {
                        if (other != key)
                            QVERIFY2(!texts.value(key).contains(QStringLiteral("marker-") + other + u' '),
                                     qPrintable(path + QStringLiteral(": ") + key + QStringLiteral(" shows ") + other));
                    }
                }
            };
            // A changed byte in an index may name another headword or point at another entry, and the index is
            // all there is to tell.
            const bool mayMix = path == source.indexPath || (path == source.dataPath && path.endsWith(u".dz"));
            for (qsizetype at = 0; at < original.size(); ++at) {
                QByteArray damaged = original;
                damaged[at] = char(damaged[at] ^ char(1 + random.bounded(255)));
                check(damaged, mayMix);
            }
            for (qsizetype length = 0; length < original.size(); ++length)
                check(original.first(length), false);
            writeFile(path, original);
        }
    }
    QVERIFY(cases > 500);
}

QTEST_GUILESS_MAIN(TestShelfReaders)
#include "test_shelfreaders.moc"
