// Headword patterns: whole headwords, case ignored, dictionary order; checked against a table of
// patterns and, for random ones, against Qt's own wildcard matching.
#include "dictionary/DictionarySession.h"
#include "dictionary/DictionaryTable.h"
#include "dictionary/DictionaryWriter.h"
#include "search/HeadwordPattern.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestHeadwordPattern : public QObject
{
    Q_OBJECT

private slots:
    void matches_data();
    void matches();
    void agreesWithWildcardRegex();
    void rowsComeInDictionaryOrder();
};

namespace {

const QStringList kWords = {"cat", "Cat", "cot", "cart", "act", "agoraphobia", "Phobia", "claustrophobia",
                            "unbearable", "unable", "unstable", "biology", "ology", "café", "CAFÉ", "a?b", "x*y"};

} // namespace

void TestHeadwordPattern::matches_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("ending") << "*phobia" << QStringList{"agoraphobia", "Phobia", "claustrophobia"};
    QTest::newRow("one character") << "c?t" << QStringList{"cat", "Cat", "cot"};
    QTest::newRow("both ends") << "un*able" << QStringList{"unbearable", "unable", "unstable"};
    QTest::newRow("star matches nothing too") << "*ology" << QStringList{"biology", "ology"};
    QTest::newRow("whole word, not a part") << "ca?" << QStringList{"cat", "Cat"};
    QTest::newRow("case beyond ASCII") << "caf?" << QStringList{"café", "CAFÉ"};
    QTest::newRow("runs of stars") << "**t***" << QStringList{"cat", "Cat", "cot", "cart", "act", "claustrophobia", "unstable"};
    QTest::newRow("backtracking") << "*a*a*" << QStringList{"agoraphobia", "claustrophobia", "unbearable"};
    QTest::newRow("question marks count") << "???" << QStringList{"cat", "Cat", "cot", "act", "a?b", "x*y"};
    QTest::newRow("nothing") << "*zz*" << QStringList{};
}

void TestHeadwordPattern::matches()
{
    QFETCH(QString, pattern);
    QFETCH(QStringList, found);
    QVERIFY(HeadwordPattern::isPattern(pattern));
    const HeadwordPattern compiled(pattern);
    QStringList actual;
    for (const QString &word : kWords) {
        if (compiled.matches(word))
            actual.append(word);
    }
    QCOMPARE(actual, found);
    // Headwords kept as Latin-1 match alike.
    for (const QString &word : kWords)
        QCOMPARE(compiled.matches(QLatin1StringView(word.toLatin1())), compiled.matches(word));
}

void TestHeadwordPattern::agreesWithWildcardRegex()
{
    QRandomGenerator random(7);
    const QString letters = QStringLiteral("abAB*?");
    for (int i = 0; i < 3000; ++i) {
        QString pattern;
        QString word;
        for (int j = random.bounded(1, 7); j > 0; --j)
            pattern.append(letters[random.bounded(int(letters.size()))]);
        for (int j = random.bounded(0, 8); j > 0; --j)
            word.append(letters[random.bounded(4)]);
        const QRegularExpression regex(QRegularExpression::wildcardToRegularExpression(pattern),
                                       QRegularExpression::CaseInsensitiveOption);
        QVERIFY2(HeadwordPattern(pattern).matches(word) == regex.match(word).hasMatch(),
                 qPrintable(pattern + QLatin1Char(' ') + word));
    }
}

void TestHeadwordPattern::rowsComeInDictionaryOrder()
{
    QTemporaryDir dir;
    QList<DictionaryRow> rows;
    for (const QString &word : kWords)
        rows.append({word, {}});
    writeDictionary(dir.filePath(QStringLiteral("data.dat")), rows);
    DictionarySession session;
    session.addPassword(QStringLiteral("marbol47quen"));
    DictionaryTable table(&session);
    table.setTableName(dir.filePath(QStringLiteral("data.dat")));
    table.open();
    qsizetype total = 0;
    const QList<int> found = HeadwordPattern(u"c*").matchingRows(table, 3, &total);
    QStringList words;
    for (const int row : found)
        words.append(table.headwordAt(row));
    QCOMPARE(words, QStringList({"CAFÉ", "café", "cart"}));
    QCOMPARE(total, 7);
}

QTEST_GUILESS_MAIN(TestHeadwordPattern)
#include "test_headwordpattern.moc"
