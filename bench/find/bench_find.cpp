// bench_find: full-text query to its first results, and a headword pattern over every headword, on the
// full WordNet dictionary, for a fixed list of 200 queries of each kind. Prints medians and p95.
//   bench_find [--data FILE]
#include "dictionary/DictionarySession.h"
#include "dictionary/DictionaryTable.h"
#include "search/FullTextSearch.h"
#include "search/HeadwordPattern.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// What people ask a reverse dictionary, and a few words and phrases.
const char *const kMeanings[] = {
    "fear of open spaces", "the study of insects", "fear of heights", "a person who collects stamps",
    "study of birds", "sleep during winter", "a young frog", "love of books", "fear of spiders", "tree that loses leaves",
    "a word that means the opposite", "place where bees are kept", "doctor for children", "animal that eats plants",
    "animal that eats meat", "a group of crows", "fear of small spaces", "the science of the mind",
    "a musical instrument with keys", "\"open spaces\"", "discovery", "the art of beautiful handwriting",
    "someone who cannot sleep", "a building for storing grain", "study of earthquakes", "a baby cat",
    "the fear of death", "a word spelled the same backwards", "person who hates mankind", "mixture of two metals",
    "government by the wealthy", "a female horse", "a story with animals and a moral", "white of an egg",
    "talking in your sleep", "too much pride", "inability to read", "fear of water", "love of one's country",
    "a lot of money",
};

const char *const kPatterns[] = {
    "*phobia", "c?t", "un*able", "*ology", "*ness", "b??k", "*ism", "re*tion", "?a?e", "*ly", "s*s", "*a*e*i*o*u*",
    "pre*", "*ward", "??????????", "*ship", "th*", "*graph*", "qu*", "*z*",
};

struct Stats
{
    double median;
    double p95;
};

Stats stats(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples[std::min(samples.size() - 1, samples.size() * 95 / 100)]};
}

// The first word of every n-th headword: a fixed list spread over the whole dictionary.
QStringList spreadWords(const DictionaryTable &table, int count)
{
    QStringList words;
    const int step = table.recordCount() / count;
    for (int i = 0; words.size() < count; ++i) {
        const QString word = table.headwordAt(i * step).section(QLatin1Char(' '), 0, 0);
        words.append(word.isEmpty() ? QStringLiteral("word") : word);
    }
    return words;
}

// Milliseconds from a query to its first batch in the receiving thread's event loop, and to its last.
std::pair<double, double> timeQuery(FullTextSearch &search, const QString &text, int *found = nullptr)
{
    QEventLoop loop;
    QElapsedTimer clock;
    double first = -1;
    double last = -1;
    quint64 number = 0;
    const auto connection = QObject::connect(
        &search, &FullTextSearch::found, &loop,
        [&](quint64 query, const QList<FoundEntry> &, bool, bool isLast, int total, bool) {
            if (query != number)
                return;
            if (first < 0)
                first = double(clock.nsecsElapsed()) / 1e6;
            if (isLast) {
                last = double(clock.nsecsElapsed()) / 1e6;
                if (found)
                    *found = total;
                loop.quit();
            }
        });
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    clock.start();
    number = search.search(buildFullTextQuery(text));
    loop.exec();
    QObject::disconnect(connection);
    return {first, last};
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QString path = QStringLiteral(VB_BENCH_DATA);
    const QStringList args = app.arguments();
    if (const qsizetype at = args.indexOf(QStringLiteral("--data")); at >= 0 && at + 1 < args.size())
        path = args.at(at + 1);
    if (!QFileInfo::exists(path)) {
        std::fprintf(stderr, "no dictionary at %s\n", qPrintable(path));
        return 1;
    }
    DictionarySession session;
    session.addPassword(QStringLiteral("marbol47quen"));
    DictionaryTable table(&session);
    table.setTableName(path);
    table.open();
    table.loadAllHeadwords();

    QStringList queries;
    for (const char *meaning : kMeanings)
        queries.append(QString::fromUtf8(meaning));
    queries += spreadWords(table, 200 - int(queries.size()));

    FullTextSearch search(path, session.passwords());
    timeQuery(search, QStringLiteral("warm up")); // opens the connection, as the panel's first query does

    std::vector<double> firsts;
    std::vector<double> lasts;
    int agoraphobiaRank = -1;
    for (const QString &query : std::as_const(queries)) {
        const auto [first, last] = timeQuery(search, query);
        firsts.push_back(first);
        if (qEnvironmentVariableIsSet("BENCH_FIND_VERBOSE"))
            std::printf("%8.2f %8.2f  %s\n", first, last, qPrintable(query));
        lasts.push_back(last);
    }
    // The query that matches nearly every entry: first results shown while the ranking goes on.
    int theCount = 0;
    const auto [theFirst, theLast] = timeQuery(search, QStringLiteral("the"), &theCount);
    {
        // Where the word the example looks for lands.
        QEventLoop loop;
        quint64 number = 0;
        QObject::connect(&search, &FullTextSearch::found, &loop,
                         [&](quint64 query, const QList<FoundEntry> &batch, bool first, bool, int, bool provisional) {
                             if (query != number || !first || provisional)
                                 return;
                             for (int i = 0; i < batch.size(); ++i) {
                                 if (batch[i].headword == QLatin1String("agoraphobia"))
                                     agoraphobiaRank = i + 1;
                             }
                             loop.quit();
                         });
        number = search.search(buildFullTextQuery(u"fear of open spaces"));
        loop.exec();
    }

    const Stats first = stats(firsts);
    const Stats last = stats(lasts);
    std::printf("full-text, %lld queries: first results %.2f ms median, %.2f ms p95 (budget 30 ms p95); "
                "all results %.2f ms median, %.2f ms p95\n",
                static_cast<long long>(queries.size()), first.median, first.p95, last.median, last.p95);
    std::printf("full-text \"the\" (%d entries): first results %.1f ms, ranking done %.1f ms\n", theCount, theFirst, theLast);
    std::printf("\"fear of open spaces\": agoraphobia is result %d\n", agoraphobiaRank);

    QStringList patterns;
    for (const char *pattern : kPatterns)
        patterns.append(QString::fromUtf8(pattern));
    // Endings and shapes of headwords spread over the dictionary.
    for (const QString &word : spreadWords(table, 200 - int(patterns.size()))) {
        patterns.append(patterns.size() % 2 ? QStringLiteral("*") + word.right(3) : word.left(2) + QStringLiteral("?*"));
    }
    std::vector<double> patternTimes;
    qsizetype matched = 0;
    for (const QString &text : std::as_const(patterns)) {
        QElapsedTimer clock;
        clock.start();
        qsizetype total = 0;
        HeadwordPattern(text).matchingRows(table, 2000, &total);
        patternTimes.push_back(double(clock.nsecsElapsed()) / 1e6);
        matched += total;
    }
    const Stats pattern = stats(patternTimes);
    std::printf("patterns, %lld over %d headwords: %.2f ms median, %.2f ms p95 (budget 15 ms p95); %lld matches in all\n",
                static_cast<long long>(patterns.size()), table.recordCount(), pattern.median, pattern.p95,
                static_cast<long long>(matched));
    return 0;
}
