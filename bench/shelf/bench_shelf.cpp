// Added dictionaries: the first read of a dictionary's keys (index parsed, sorted, key file written), the
// later start's mapping, the merged word list with the built-in headwords, nearest-key positioning in it, and
// the largest GCIDE entry made ready to show. Then the same list over 20 generated dictionaries of 3 million
// merged headwords. Medians.
//
// Usage: bench_shelf [folder with dictd files, default /usr/share/dictd]
#include "dictionary/DictionarySession.h"
#include "dictionary/DictionaryTable.h"
#include "dictionary/HeadwordOrder.h"
#include "shelf/AddedDictionary.h"
#include "shelf/MergedWordList.h"
#include "shelf/ShelfLookup.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[std::min(v.size() - 1, size_t(double(v.size()) * p))];
}

std::unique_ptr<AddedDictionary> openDictionary(const DictionarySource &source, const QString &cache, double *ms)
{
    auto dictionary = std::make_unique<AddedDictionary>(source);
    QElapsedTimer timer;
    timer.start();
    dictionary->prepare(cache);
    *ms = double(timer.nsecsElapsed()) / 1e6;
    return dictionary;
}

void report(const char *what, double value, const char *unit, const char *budget)
{
    std::printf("  %-58s %9.2f %-3s (budget %s)\n", what, value, unit, budget);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/usr/share/dictd");
    const QStringList wanted{QStringLiteral("gcide"), QStringLiteral("freedict-eng-deu"), QStringLiteral("freedict-eng-fra")};
    QList<DictionarySource> sources;
    for (const DictionarySource &source : findDictionaries({folder})) {
        if (wanted.contains(source.baseName()))
            sources.append(source);
    }
    std::sort(sources.begin(), sources.end(), [&](const auto &a, const auto &b) {
        return wanted.indexOf(a.baseName()) < wanted.indexOf(b.baseName());
    });
    if (sources.size() != wanted.size()) {
        std::fprintf(stderr, "Install dict-gcide, dict-freedict-eng-deu and dict-freedict-eng-fra first.\n");
        return 1;
    }

    std::printf("First read of the keys (index parsed and sorted, key file written), median of 5:\n");
    for (const DictionarySource &source : sources) {
        std::vector<double> times;
        int count = 0;
        for (int i = 0; i < 5; ++i) {
            QTemporaryDir cache;
            double ms = 0;
            count = openDictionary(source, cache.path(), &ms)->headwordCount();
            times.push_back(ms);
        }
        const QByteArray what = QStringLiteral("%1 (%2 headwords)").arg(source.baseName()).arg(count).toUtf8();
        report(what.constData(), median(times), "ms", source.baseName() == u"gcide" ? "1000 ms" : "2000 ms");
    }

    QTemporaryDir cache;
    std::vector<std::unique_ptr<AddedDictionary>> dictionaries;
    std::vector<double> mapTimes;
    for (const DictionarySource &source : sources) {
        double ms = 0;
        openDictionary(source, cache.path(), &ms);
        for (int i = 0; i < 5; ++i) {
            auto d = openDictionary(source, cache.path(), &ms);
            mapTimes.push_back(ms);
            if (i == 4)
                dictionaries.push_back(std::move(d));
        }
    }
    report("Later start: key file checked and mapped, per dictionary", median(mapTimes), "ms", "-");

    DictionarySession session;
    session.setPrivateDir(QDir::tempPath());
    session.addPassword(QStringLiteral("marbol47quen"));
    DictionaryTable table(&session);
    table.setTableName(QStringLiteral(VB_BENCH_DATA));
    table.open();
    table.loadAllHeadwords();
    const HeadwordSet base = table.headwordSet();
    QList<const KeyFile *> keys;
    for (const auto &d : dictionaries)
        keys.append(&d->keys());
    std::vector<double> mergeTimes;
    MergedWordList list;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        list = MergedWordList::build(base.count(), [&base](int row) { return base.at(row); }, keys);
        mergeTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("Merged word list of the built-in %d and the three dictionaries: %d rows\n", base.count(), list.count());
    report("Merged list built (off the window's thread)", median(mergeTimes), "ms", "-");

    QRandomGenerator random(6);
    // 20,000 lookups of probes that start with prefix and go on with up to `letters` random letters, in µs.
    const auto timeNearest = [&random](const MergedWordList &words, const auto &prefix, int minLetters, int letters) {
        std::vector<double> times;
        for (int i = 0; i < 20000; ++i) {
            QString probe = prefix();
            for (int j = 0, n = minLetters + random.bounded(letters); j < n; ++j)
                probe += QChar(u'a' + random.bounded(26));
            QElapsedTimer timer;
            timer.start();
            volatile int row = words.nearest(probe);
            (void)row;
            times.push_back(double(timer.nsecsElapsed()) / 1e3);
        }
        return times;
    };
    std::vector<double> nearest = timeNearest(list, [] { return QString(); }, 1, 8);
    report("Nearest-key positioning in the merged list, median", median(nearest), "us", "-");
    report("Nearest-key positioning in the merged list, p99", percentile(nearest, 0.99), "us", "-");

    // The largest GCIDE entry, and the sections of the row that shows it.
    const AddedDictionary &gcide = *dictionaries[0];
    int largest = 0;
    for (int i = 1; i < gcide.headwordCount(); ++i) {
        if (gcide.keys().lengthAt(i) > gcide.keys().lengthAt(largest))
            largest = i;
    }
    const QString word = gcide.keys().keyAt(largest).toString();
    const int row = list.nearest(word);
    QList<const AddedDictionary *> all;
    for (const auto &d : dictionaries)
        all.append(d.get());
    std::vector<double> entryTimes;
    qsizetype htmlSize = 0;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer timer;
        timer.start();
        htmlSize = entryWithSections(QString(), sectionsForRow(list, row, all)).size();
        entryTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const QByteArray what = QStringLiteral("Largest GCIDE entry \"%1\" (%2 KB of text), sections made")
                                .arg(word)
                                .arg(gcide.keys().lengthAt(largest) / 1024)
                                .toUtf8();
    report(what.constData(), median(entryTimes), "ms", "16 ms with painting; see the keystroke bench");
    (void)htmlSize;

    // Scale: 20 dictionaries of 150,000 generated headwords each, 3 million merged rows.
    std::vector<std::unique_ptr<KeyFile>> generated;
    QList<const KeyFile *> generatedKeys;
    for (int d = 0; d < 20; ++d) {
        KeyListing listing;
        listing.records.reserve(150000);
        for (int i = 0; i < 150000; ++i) {
            QString w = QStringLiteral("g%1").arg(d);
            for (int j = 0, n = 4 + random.bounded(8); j < n; ++j)
                w += QChar(u'a' + random.bounded(26));
            listing.records.append({w, quint64(i), 1});
        }
        auto file = std::make_unique<KeyFile>();
        file->adopt(KeyFile::build(listing, QString()), QString());
        generatedKeys.append(file.get());
        generated.push_back(std::move(file));
    }
    QElapsedTimer timer;
    timer.start();
    const MergedWordList big = MergedWordList::build(base.count(), [&base](int r) { return base.at(r); }, generatedKeys);
    const double bigMs = double(timer.nsecsElapsed()) / 1e6;
    std::printf("Scale: 20 generated dictionaries, %d merged rows\n", big.count());
    report("Merged list built (off the window's thread)", bigMs, "ms", "-");
    nearest = timeNearest(big, [&random] { return QStringLiteral("g%1").arg(random.bounded(20)); }, 0, 6);
    report("Nearest-key positioning, median", median(nearest), "us", "-");
    report("Nearest-key positioning, p99", percentile(nearest, 0.99), "us", "-");
    return 0;
}
