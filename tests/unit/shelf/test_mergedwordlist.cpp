// The word list of the built-in and added dictionaries together, and the user's choices about them.
#include "dictionary/HeadwordOrder.h"
#include "shelf/KeyFile.h"
#include "shelf/MergedWordList.h"
#include "shelf/ShelfSettings.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

namespace {

QStringList randomWords(QRandomGenerator &random, int count)
{
    // Short words over a small alphabet, so that exact twins and case twins are common.
    QStringList words;
    for (int i = 0; i < count; ++i) {
        QString word;
        const int length = 1 + random.bounded(3);
        for (int j = 0; j < length; ++j) {
            const char16_t c = u"abAB"[random.bounded(4)];
            word += QChar(c);
        }
        words.append(word);
    }
    return words;
}

} // namespace

class TestMergedWordList final : public QObject
{
    Q_OBJECT

private slots:
    void joinsRowsByTheRules();
    void noAddedDictionaryLeavesTheListAsItWas();
    void settingsKeepOrderAndDefaults();
};

void TestMergedWordList::joinsRowsByTheRules()
{
    QRandomGenerator random(25);
    for (int round = 0; round < 40; ++round) {
        QStringList base = randomWords(random, random.bounded(12));
        std::sort(base.begin(), base.end(), [](const QString &a, const QString &b) { return compareHeadwords(a, b) < 0; });
        base.erase(std::unique(base.begin(), base.end()), base.end());
        QList<KeyFile *> owned;
        QList<const KeyFile *> files;
        QList<QStringList> added;
        for (int d = 0; d < 3; ++d) {
            KeyListing listing;
            const QStringList words = randomWords(random, random.bounded(10));
            for (const QString &word : words)
                listing.records.append({word, quint64(listing.records.size()), 1});
            auto *file = new KeyFile;
            QVERIFY(listing.records.isEmpty() || file->adopt(KeyFile::build(listing, QString()), QString()));
            owned.append(file);
            files.append(file);
            added.append(words);
        }
        const MergedWordList list = MergedWordList::build(
            int(base.size()), [&base](int i) { return QAnyStringView(base[i]); }, files);
        const QString sep = QStringLiteral(" | ");
        const QByteArray contextText =
            (base.join(u',') + sep + added[0].join(u',') + sep + added[1].join(u',') + sep + added[2].join(u',')).toUtf8();
        const char *context = contextText.constData();

        // Sorted; every built-in word is a row of its own, shown from the built-in dictionary.
        QStringList rows;
        for (int r = 0; r < list.count(); ++r)
            rows.append(list.headword(r));
        for (int r = 1; r < rows.size(); ++r)
            QVERIFY2(compareHeadwords(rows[r - 1], rows[r]) < 0, context);
        for (int b = 0; b < base.size(); ++b) {
            QCOMPARE(list.baseRow(list.rowOfBase(b)), b);
            QCOMPARE(rows[list.rowOfBase(b)], base[b]);
        }
        // Added words never make two rows that differ only by case.
        for (int r = 1; r < rows.size(); ++r) {
            if (compareHeadwordsIgnoringCase(rows[r - 1], rows[r]) == 0)
                QVERIFY2(list.baseRow(r - 1) >= 0 && list.baseRow(r) >= 0, context);
        }
        // Every added record joins exactly one row: the one spelt alike, else its first case twin.
        for (int d = 0; d < files.size(); ++d) {
            QList<int> seen;
            for (int r = 0; r < list.count(); ++r) {
                for (const int record : list.recordsFor(r, d + 1)) {
                    seen.append(record);
                    const QString key = files[d]->keyAt(record).toString();
                    QVERIFY2(compareHeadwordsIgnoringCase(key, rows[r]) == 0, context);
                    if (key != rows[r]) {
                        QVERIFY2(!rows.contains(key), context);
                        QVERIFY2(r == 0 || compareHeadwordsIgnoringCase(rows[r - 1], key) != 0, context);
                    }
                }
            }
            std::sort(seen.begin(), seen.end());
            QList<int> all(files[d]->count());
            std::iota(all.begin(), all.end(), 0);
            QCOMPARE(seen, all);
        }
        // The nearest row agrees with a scan.
        for (const QString &probe : randomWords(random, 10)) {
            int expected = int(rows.size()) - 1;
            for (int r = 0; r < rows.size(); ++r) {
                if (compareHeadwordsIgnoringCase(rows[r], probe) >= 0) {
                    expected = r;
                    break;
                }
            }
            QCOMPARE(list.nearest(probe), std::max(expected, 0));
        }
        qDeleteAll(owned);
    }
}

void TestMergedWordList::noAddedDictionaryLeavesTheListAsItWas()
{
    const QStringList base{QStringLiteral("Paris"), QStringLiteral("paris"), QStringLiteral("zebra")};
    const MergedWordList list = MergedWordList::build(
        int(base.size()), [&base](int i) { return QAnyStringView(base[i]); }, {});
    QCOMPARE(list.count(), 3);
    for (int r = 0; r < 3; ++r)
        QCOMPARE(list.baseRow(r), r);
}

void TestMergedWordList::settingsKeepOrderAndDefaults()
{
    ShelfSettings settings;
    settings.folders = {QStringLiteral("/home/u/dicts")};
    settings.choices = {{QStringLiteral("/b.index"), false}, {QStringLiteral("/gone.index"), true},
                        {QStringLiteral("/a.index"), true}};
    QHash<QString, QString> stored;
    settings.write([&stored](const QString &name, const QString &value) { stored.insert(name, value); });
    const ShelfSettings read = ShelfSettings::read([&stored](const QString &name) { return stored.value(name); });
    QCOMPARE(read.folders, settings.folders);
    QCOMPARE(read.choices.size(), 3);

    QList<DictionarySource> found;
    for (const char *id : {"/a.index", "/new.index", "/b.index", "/usr/share/dictd/wn.index"}) {
        DictionarySource source;
        source.id = QString::fromLatin1(id);
        found.append(source);
    }
    // Known ones keep their place and state, missing ones drop out, new ones follow, WordNet starts off.
    QStringList order;
    for (const auto &choice : read.arrange(found))
        order.append(choice.id + QLatin1Char(choice.enabled ? '+' : '-'));
    QCOMPARE(order, (QStringList{"/b.index-", "/a.index+", "/new.index+", "/usr/share/dictd/wn.index-"}));
}

QTEST_GUILESS_MAIN(TestMergedWordList)
#include "test_mergedwordlist.moc"
