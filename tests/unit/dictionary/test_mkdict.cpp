#include "dictionary/DictionarySession.h"
#include "dictionary/DictionaryTable.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

// A WordNet folder small enough to read: synsets refer to each other as "@name@",
// replaced by their byte offsets when the files are written.
class FakeWordNet final
{
public:
    void synset(char pos, const QString &name, const QString &body) { m_synsets[file(pos)].append({name, body}); }
    void index(char pos, const QString &line) { m_index[file(pos)] += line + QLatin1Char('\n'); }
    void exceptions(char pos, const QString &text) { m_exc[file(pos)] = text; }
    void breakLine(const QString &fileName, const QString &line) { m_extra[fileName] = line; }

    void write(const QString &dir) const
    {
        // Offsets first: every placeholder becomes 8 digits, so line lengths are known.
        QHash<QString, int> offsets;
        QHash<QString, int> ends;
        for (const QString &name : kFiles) {
            int position = 0;
            for (const auto &[synsetName, body] : m_synsets.value(name)) {
                offsets.insert(synsetName, position);
                QString line = QStringLiteral("00000000 ") + body;
                line.replace(QRegularExpression(QStringLiteral("@\\w+@")), QStringLiteral("00000000"));
                position += int(line.toUtf8().size()) + 1;
            }
            ends.insert(name, position);
        }
        const auto resolve = [&offsets](QString text) {
            for (auto it = offsets.cbegin(); it != offsets.cend(); ++it)
                text.replace(QLatin1Char('@') + it.key() + QLatin1Char('@'), QStringLiteral("%1").arg(it.value(), 8, 10, QLatin1Char('0')));
            return text;
        };
        for (const QString &name : kFiles) {
            QString data;
            for (const auto &[synsetName, body] : m_synsets.value(name))
                data += resolve(QStringLiteral("@%1@ ").arg(synsetName) + body) + QLatin1Char('\n');
            // "@here@" in an added line stands for that line's own offset.
            data += QString(m_extra.value(QStringLiteral("data.") + name))
                        .replace(QStringLiteral("@here@"), QStringLiteral("%1").arg(ends.value(name), 8, 10, QLatin1Char('0')));
            put(dir, QStringLiteral("data.") + name, data);
            put(dir, QStringLiteral("index.") + name, resolve(m_index.value(name)) + m_extra.value(QStringLiteral("index.") + name));
            put(dir, name + QStringLiteral(".exc"), m_exc.value(name));
        }
    }

private:
    static QString file(char pos)
    {
        return pos == 'n' ? QStringLiteral("noun") : pos == 'v' ? QStringLiteral("verb") : pos == 'a' ? QStringLiteral("adj") : QStringLiteral("adv");
    }
    static void put(const QString &dir, const QString &name, const QString &text)
    {
        QFile file(dir + QLatin1Char('/') + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }

    inline static const QStringList kFiles = {QStringLiteral("noun"), QStringLiteral("verb"), QStringLiteral("adj"), QStringLiteral("adv")};
    QHash<QString, QList<QPair<QString, QString>>> m_synsets;
    QHash<QString, QString> m_index;
    QHash<QString, QString> m_exc;
    QHash<QString, QString> m_extra;
};

FakeWordNet sampleWordNet()
{
    FakeWordNet wn;
    wn.synset('n', QStringLiteral("city1"), QStringLiteral("15 n 01 Paris 0 000 | the capital of France"));
    wn.synset('n', QStringLiteral("city2"), QStringLiteral("15 n 01 Paris 0 000 | a town in Texas"));
    wn.synset('n', QStringLiteral("plaster"), QStringLiteral("27 n 01 paris 0 000 | a plaster"));
    wn.synset('n', QStringLiteral("goose"),
              QStringLiteral("05 n 01 goose 0 002 @ @bird@ n 0000 ~ @gander@ n 0000 | web-footed bird; \"the goose honked\"; \"geese <fly>\""));
    wn.synset('n', QStringLiteral("gander"), QStringLiteral("05 n 01 gander 0 001 @ @goose@ n 0000 | a male goose"));
    wn.synset('n', QStringLiteral("bird"), QStringLiteral("05 n 02 bird 0 fowl 0 001 ~ @goose@ n 0000 | a warm-blooded animal"));
    wn.synset('n', QStringLiteral("sausage"), QStringLiteral("13 n 02 hot_dog 0 frank 0 000 | a sausage"));
    wn.synset('n', QStringLiteral("long"), QStringLiteral("13 n 01 a_lemma_far_longer_than_thirty_two_characters 0 000 | long"));
    wn.synset('v', QStringLiteral("run"), QStringLiteral("38 v 01 run 0 001 ! @walk@ v 0101 01 + 01 00 | move fast"));
    wn.synset('v', QStringLiteral("walk"), QStringLiteral("38 v 01 walk 0 001 ! @run@ v 0101 01 + 01 00 | move on foot"));
    wn.index('n', QStringLiteral("paris n 3 0 3 0 @city1@ @city2@ @plaster@  "));
    wn.index('n', QStringLiteral("goose n 1 1 @ 1 0 @goose@  "));
    wn.index('n', QStringLiteral("gander n 1 1 @ 1 0 @gander@  "));
    wn.index('n', QStringLiteral("bird n 1 1 ~ 1 0 @bird@  "));
    wn.index('n', QStringLiteral("fowl n 1 1 ~ 1 0 @bird@  "));
    wn.index('n', QStringLiteral("hot_dog n 1 0 1 0 @sausage@  "));
    wn.index('n', QStringLiteral("frank n 1 0 1 0 @sausage@  "));
    wn.index('n', QStringLiteral("a_lemma_far_longer_than_thirty_two_characters n 1 0 1 0 @long@  "));
    wn.index('v', QStringLiteral("run v 1 1 ! 1 0 @run@  "));
    wn.index('v', QStringLiteral("walk v 1 1 ! 1 0 @walk@  "));
    wn.exceptions('n', QStringLiteral("geese goose\nparis pari\n"));
    wn.exceptions('v', QStringLiteral("ran run\nrunning run\n"));
    return wn;
}

} // namespace

class TestMkdict final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void buildsFromWordNet();
    void badInputFailsWithoutTouchingTheOutput_data();
    void badInputFailsWithoutTouchingTheOutput();
    void buildsFromAList();
    void pronouncesEveryHeadword();

private:
    Run run(const QStringList &arguments) const;
    // Opens a built file and returns headword -> entry, in index order.
    QList<QPair<QString, QString>> readBack(const QString &path);

    QString m_mkdict;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestMkdict::initTestCase()
{
    m_mkdict = qEnvironmentVariable("VERBARIUM_MKDICT");
    if (m_mkdict.isEmpty() || !QFile::exists(m_mkdict))
        QSKIP("VERBARIUM_MKDICT does not name the builder");
}

void TestMkdict::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

Run TestMkdict::run(const QStringList &arguments) const
{
    QProcess process;
    process.start(m_mkdict, arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

QList<QPair<QString, QString>> TestMkdict::readBack(const QString &path)
{
    DictionarySession session;
    session.addPassword(QStringLiteral("marbol47quen"));
    DictionaryTable table(&session);
    table.setTableName(path);
    table.open();
    QList<QPair<QString, QString>> rows;
    for (int row = 0; row < table.recordCount(); ++row) {
        table.moveTo(row);
        rows.append({table.currentHeadword(), table.currentEntry()});
    }
    return rows;
}

void TestMkdict::buildsFromWordNet()
{
    sampleWordNet().write(m_dir->path());
    const QString output = m_dir->filePath(QStringLiteral("data.dat"));
    const Run result = run({QStringLiteral("--wordnet"), m_dir->path(), output});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QVERIFY2(result.out.contains(QLatin1String("12 rows written")), qPrintable(result.out));
    QVERIFY2(result.out.contains(QLatin1String("3 of them irregular forms")), qPrintable(result.out));
    QVERIFY2(result.out.contains(QLatin1String("1 left out")), qPrintable(result.out));
    QVERIFY(!result.err.isEmpty()); // progress

    const auto rows = readBack(output);
    QStringList words;
    QHash<QString, QString> entries;
    for (const auto &[word, entry] : rows) {
        words.append(word);
        entries.insert(word, entry);
    }
    // One row per lemma, in its most common spelling; blanks for underscores; the too long lemma
    // left out; irregular forms added unless already a headword ("paris").
    QCOMPARE(words, (QStringList{"bird", "fowl", "frank", "gander", "geese", "goose", "hot dog", "Paris", "ran", "run",
                                 "running", "walk"}));
    QVERIFY(!words.contains(QLatin1String("pari")));

    const QString goose = entries.value(QStringLiteral("goose"));
    QVERIFY(goose.contains(QLatin1String("<b>noun</b>")));
    QVERIFY(goose.contains(QLatin1String("<li>web-footed bird")));
    QVERIFY(goose.contains(QLatin1String("<i>&quot;the goose honked&quot;</i>")));
    QVERIFY(goose.contains(QLatin1String("<i>&quot;geese &lt;fly&gt;&quot;</i>")));
    QVERIFY(goose.contains(QLatin1String("type of: bird, fowl")));
    QVERIFY(goose.contains(QLatin1String("kinds: gander")));
    QVERIFY(entries.value(QStringLiteral("bird")).contains(QLatin1String("synonyms: fowl")));
    QVERIFY(entries.value(QStringLiteral("fowl")).contains(QLatin1String("synonyms: bird")));
    QVERIFY(entries.value(QStringLiteral("hot dog")).contains(QLatin1String("synonyms: frank")));
    QVERIFY(entries.value(QStringLiteral("frank")).contains(QLatin1String("synonyms: hot dog")));
    QVERIFY(entries.value(QStringLiteral("run")).contains(QLatin1String("opposite: walk")));
    // All senses of "paris", numbered in one list.
    const QString paris = entries.value(QStringLiteral("Paris"));
    QCOMPARE(paris.count(QLatin1String("<li>")), 3);
    QVERIFY(paris.indexOf(QLatin1String("capital")) < paris.indexOf(QLatin1String("plaster")));
    QCOMPARE(entries.value(QStringLiteral("geese")), QStringLiteral("<p>plural of goose</p>"));
    QCOMPARE(entries.value(QStringLiteral("ran")), QStringLiteral("<p>past tense of run</p>"));
    QCOMPARE(entries.value(QStringLiteral("running")), QStringLiteral("<p>present participle of run</p>"));
    // The view's own font applies: entries set none.
    for (const auto &[word, entry] : rows) {
        QVERIFY2(!entry.contains(QLatin1String("font")) && !entry.contains(QLatin1String("style"))
                     && !entry.contains(QLatin1String("color")),
                 qPrintable(word));
    }
}

void TestMkdict::badInputFailsWithoutTouchingTheOutput_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");

    QTest::newRow("pointer count") << "data.noun" << "@here@ 05 n 01 duck 0 0x1 | a bird" << "data.noun:9: malformed pointer count";
    QTest::newRow("wrong offset") << "data.noun" << "00000001 05 n 01 duck 0 000 | a bird" << "data.noun:9: synset offset 1 does not match";
    QTest::newRow("no gloss") << "data.verb" << "@here@ 05 v 01 duck 0 000 00" << "data.verb:3: expected \"|\"";
    QTest::newRow("unknown synset") << "index.noun" << "duck n 1 0 1 0 99999999  " << "index.noun:9: synset 99999999 is not in the data file";
    QTest::newRow("counts") << "index.verb" << "duck v x 0 1 0 00000000" << "index.verb:3: malformed counts";
    QTest::newRow("missing folder") << "" << "" << "Cannot read";
}

void TestMkdict::badInputFailsWithoutTouchingTheOutput()
{
    QFETCH(QString, file);
    QFETCH(QString, line);
    QFETCH(QString, expected);
    FakeWordNet wn = sampleWordNet();
    QString source = m_dir->filePath(QStringLiteral("wordnet"));
    QVERIFY(QDir().mkpath(source));
    if (file.isEmpty())
        source = m_dir->filePath(QStringLiteral("nowhere"));
    else
        wn.breakLine(file, line + QLatin1Char('\n'));
    wn.write(m_dir->filePath(QStringLiteral("wordnet")));

    // A dictionary from an earlier build must survive a failed one.
    const QString output = m_dir->filePath(QStringLiteral("data.dat"));
    {
        QFile previous(output);
        QVERIFY(previous.open(QIODevice::WriteOnly));
        previous.write("previous build");
    }
    const Run result = run({QStringLiteral("--quiet"), QStringLiteral("--wordnet"), source, output});
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains(expected), qPrintable(result.err));
    QFile previous(output);
    QVERIFY(previous.open(QIODevice::ReadOnly));
    QCOMPARE(previous.readAll(), QByteArray("previous build"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("data.dat")});
}

void TestMkdict::buildsFromAList()
{
    const QString list = m_dir->filePath(QStringLiteral("list.txt"));
    const QString output = m_dir->filePath(QStringLiteral("data.dat"));
    {
        QFile file(list);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("zebra\t<p>a striped animal</p>\n\napple\t<p>a fruit</p>\r\n");
        file.write(QByteArray(33, 'x') + "\ttoo long\n");
        file.write("Apple\t\n");
    }
    Run result = run({QStringLiteral("--from-list"), list, output});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QVERIFY2(result.out.contains(QLatin1String("3 rows written")) && result.out.contains(QLatin1String("1 left out")),
             qPrintable(result.out));
    const auto rows = readBack(output);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0], qMakePair(QStringLiteral("Apple"), QString()));
    QCOMPARE(rows[1], qMakePair(QStringLiteral("apple"), QStringLiteral("<p>a fruit</p>")));
    QCOMPARE(rows[2].first, QStringLiteral("zebra"));

    {
        QFile file(list);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("apple\tfruit\nno tab here\n");
    }
    result = run({QStringLiteral("--from-list"), list, output});
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains(list + QStringLiteral(":2:")), qPrintable(result.err));

    result = run({QStringLiteral("--from-list"), list});
    QCOMPARE(result.exitCode, 2);
}


void TestMkdict::pronouncesEveryHeadword()
{
    const QString list = m_dir->filePath(QStringLiteral("list.txt"));
    const QString output = m_dir->filePath(QStringLiteral("data.dat"));
    {
        QFile file(list);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("dog\t<p>a canine</p>\nhot dog\t<p>a sausage</p>\n");
    }
    const auto pronunciations = [&output] {
        DictionarySession session;
        session.addPassword(QStringLiteral("marbol47quen"));
        DictionaryTable table(&session);
        table.setTableName(output);
        table.open();
        QStringList all{table.currentPronunciation()};
        table.next();
        all.append(table.currentPronunciation());
        return all;
    };
    Run result = run({QStringLiteral("--from-list"), list, output});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    const QStringList ipa = pronunciations();
    // IPA between slashes, the stressed vowel marked; each word of a phrase pronounced.
    QVERIFY2(ipa[0].startsWith(QLatin1Char('/')) && ipa[0].endsWith(QLatin1Char('/')) && ipa[0].contains(QChar(0x02c8)),
             qPrintable(ipa[0]));
    QVERIFY2(ipa[1].startsWith(QLatin1Char('/')) && ipa[1].contains(QLatin1Char(' ')), qPrintable(ipa[1]));

    result = run({QStringLiteral("--no-pronunciation"), QStringLiteral("--from-list"), list, output});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QCOMPARE(pronunciations(), QStringList({QString(), QString()}));
}

QTEST_GUILESS_MAIN(TestMkdict)
#include "test_mkdict.moc"
