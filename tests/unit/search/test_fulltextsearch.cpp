// The search thread over a real dictionary file with its text index: ranking, excerpts, a newer query
// replacing an older one, and a file built without the index.
#include "dictionary/DictionaryWriter.h"
#include "search/EntryIndex.h"
#include "search/EntryRank.h"
#include "search/FullTextSearch.h"
#include "search/StemTokenizer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestFullTextSearch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void headwordMatchRanksFirst();
    void newerQueryReplacesOlder();
    void excerptShowsTheMatch();
    void fileWithoutIndexSaysSo();
    void emptiedFileCannotBeRead();
    void teardownIsBoundedWhileTheWorkerBlocks();
    void malformedMatchinfoRanksLast();

private:
    // The headwords of one query's results, once its last batch is in.
    QStringList search(FullTextSearch &search, const QString &text);

    QTemporaryDir m_dir;
    QString m_path;
};

void TestFullTextSearch::initTestCase()
{
    m_path = m_dir.filePath(QStringLiteral("data.dat"));
    QList<DictionaryRow> rows = {
        {"agoraphobia", "<p>a morbid fear of open spaces</p>"},
        {"phobia", "<p>an irrational fear; see <b>agoraphobia</b></p>"},
        // Says "fear" three times, in a long entry: still after the headword that is "fear".
        {"dread", "<p>fear, great fear, a fear of what may come; " + QString(40, QLatin1Char('x')).replace(QLatin1String("x"), QLatin1String("and more ")) + "</p>"},
        {"fear", "<p>an emotion</p>"},
        {"discoverer", "<p>someone who made discoveries</p>"},
    };
    // Many entries that say "the", as in a real dictionary.
    for (int i = 0; i < 3000; ++i)
        rows.append({QStringLiteral("filler%1").arg(i), QStringLiteral("<p>the thing number %1</p>").arg(i)});
    writeDictionary(m_path, rows, QStringLiteral("marbol47quen"), {}, writeEntryIndex);
}

QStringList TestFullTextSearch::search(FullTextSearch &engine, const QString &text)
{
    QStringList words;
    QSignalSpy spy(&engine, &FullTextSearch::found);
    const quint64 number = engine.search(buildFullTextQuery(text));
    for (;;) {
        if (spy.isEmpty() && !spy.wait(5000))
            return {QStringLiteral("timed out")};
        const QList<QVariant> batch = spy.takeFirst();
        if (batch.at(0).toULongLong() != number || batch.at(5).toBool())
            continue;
        if (batch.at(2).toBool())
            words.clear();
        for (const FoundEntry &entry : batch.at(1).value<QList<FoundEntry>>())
            words.append(entry.headword);
        if (batch.at(3).toBool())
            return words;
    }
}

void TestFullTextSearch::headwordMatchRanksFirst()
{
    FullTextSearch engine(m_path, {QStringLiteral("marbol47quen")});
    const QStringList found = search(engine, QStringLiteral("fear"));
    QCOMPARE(found.size(), 4);
    QCOMPARE(found.first(), QStringLiteral("fear"));
    // Short entries before the long one that repeats the word.
    QCOMPARE(found.last(), QStringLiteral("dread"));
    QCOMPARE(search(engine, QStringLiteral("discovery")), QStringList({"discoverer"}));
}

void TestFullTextSearch::newerQueryReplacesOlder()
{
    FullTextSearch engine(m_path, {QStringLiteral("marbol47quen")});
    QSignalSpy spy(&engine, &FullTextSearch::found);
    const quint64 older = engine.search(buildFullTextQuery(u"the"));
    const quint64 newer = engine.search(buildFullTextQuery(u"open spaces"));
    QTRY_VERIFY(!spy.isEmpty() && spy.last().at(0).toULongLong() == newer && spy.last().at(3).toBool());
    // The older query gave up before it finished: nothing of it came after it was replaced.
    for (const QList<QVariant> &batch : std::as_const(spy))
        QVERIFY(batch.at(0).toULongLong() == newer || (batch.at(0).toULongLong() == older && !batch.at(3).toBool()));
    QCOMPARE(spy.last().at(1).value<QList<FoundEntry>>().first().headword, QStringLiteral("agoraphobia"));
    // A query after the cancelled one still runs to its end.
    QCOMPARE(search(engine, QStringLiteral("the")).size(), FullTextSearch::kMaxResults);
}

void TestFullTextSearch::excerptShowsTheMatch()
{
    StemTokenizer tokenizer;
    QVERIFY(tokenizer.isValid());
    const QString text = QStringLiteral("It begins far away with many words before the place where the explorer made discoveries "
                                        "and then goes on for a long while after it as well");
    const QString line = entryExcerpt(text, tokenizer, tokenizer.stems({QStringLiteral("discovery")}), 40);
    QVERIFY2(line.contains(QLatin1String("discoveries")), qPrintable(line));
    QVERIFY(line.startsWith(QChar(0x2026)) && line.endsWith(QChar(0x2026)));
    // Cut at word boundaries.
    const QString inner = line.mid(1, line.size() - 2);
    const qsizetype at = text.indexOf(inner);
    QVERIFY2(at > 0 && text[at - 1] == QLatin1Char(' ') && text[at + inner.size()] == QLatin1Char(' '), qPrintable(line));
    // Tokens carry UTF-16 positions even after letters that take two bytes in UTF-8.
    const QList<StemTokenizer::Token> tokens = tokenizer.tokens(u"café discoveries");
    QCOMPARE(tokens.size(), 2);
    QCOMPARE(tokens[1].stem, QStringLiteral("discoveri"));
    QCOMPARE(tokens[1].start, 5);
    QCOMPARE(tokens[1].end, 16);
}

void TestFullTextSearch::fileWithoutIndexSaysSo()
{
    const QString plain = m_dir.filePath(QStringLiteral("plain.dat"));
    writeDictionary(plain, {{"word", "<p>text</p>"}});
    FullTextSearch engine(plain, {QStringLiteral("marbol47quen")});
    QSignalSpy spy(&engine, &FullTextSearch::unavailable);
    engine.search(buildFullTextQuery(u"text"));
    QVERIFY(spy.wait(5000));
    QVERIFY2(spy.first().first().toString().contains(QLatin1String("no text index")), qPrintable(spy.first().first().toString()));
}

void TestFullTextSearch::emptiedFileCannotBeRead()
{
    // The file truncated under the running program: not an index to rebuild, a dictionary that cannot be read.
    const QString emptied = m_dir.filePath(QStringLiteral("emptied.dat"));
    QFile file(emptied);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    FullTextSearch engine(emptied, {QStringLiteral("marbol47quen")});
    QSignalSpy spy(&engine, &FullTextSearch::unavailable);
    engine.search(buildFullTextQuery(u"text"));
    QVERIFY(spy.wait(5000));
    QVERIFY2(spy.first().first().toString().startsWith(QLatin1String("The dictionary cannot be read")),
             qPrintable(spy.first().first().toString()));
}

void TestFullTextSearch::teardownIsBoundedWhileTheWorkerBlocks()
{
    // A pipe in the dictionary's place: opening it blocks the worker until someone writes, which nobody does.
    const QString pipe = m_dir.filePath(QStringLiteral("pipe.dat"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    auto engine = std::make_unique<FullTextSearch>(pipe, QStringList{QStringLiteral("marbol47quen")});
    engine->search(buildFullTextQuery(u"text"));
    QTest::qWait(100);
    QElapsedTimer clock;
    clock.start();
    engine.reset();
    QVERIFY(clock.elapsed() < 5000);
}

void TestFullTextSearch::malformedMatchinfoRanksLast()
{
    // p=1, c=2, n=10, a={5,5}, l={1,5}, x: headword 1 hit in 1 of 1 row; body none.
    const quint32 good[] = {1, 2, 10, 5, 5, 1, 5, 1, 1, 1, 0, 0, 0};
    const EntryRank ranked = rankEntry(good, std::size(good));
    QVERIFY(ranked.inHeadword);
    QVERIFY(ranked.score > 0);
    const EntryRank broken = rankEntry(good, std::size(good) - 1);
    QVERIFY(!broken.inHeadword);
    QVERIFY(ranked < broken);
}

QTEST_GUILESS_MAIN(TestFullTextSearch)
#include "test_fulltextsearch.moc"
