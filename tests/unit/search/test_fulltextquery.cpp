// The query builder against the real engine: what users type becomes quoted words and phrases that
// FTS4 with the porter stemmer accepts and matches as meant, whatever syntax they typed.
#include "dictionary/SqlCipher.h"
#include "search/EntryPlainText.h"
#include "search/FullTextQuery.h"

#include <QRandomGenerator>
#include <QTest>

using namespace sqlcipher;

class TestFullTextQuery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void builds_data();
    void builds();
    void stemsAndPhrasesMatchAsMeant();
    void hostileTextNeverReachesTheEngineRaw();
    void plainTextDropsMarkup();

private:
    // The headwords of the entries the built query matches, in row order, or the engine's error alone.
    QStringList matches(const QString &typed);

    Database m_db;
};

void TestFullTextQuery::initTestCase()
{
    QCOMPARE(openDatabase(QStringLiteral(":memory:"), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, m_db), SQLITE_OK);
    QCOMPARE(exec(m_db.get(), "CREATE VIRTUAL TABLE t USING fts4(WordName, Body, tokenize=porter)"), SQLITE_OK);
    QCOMPARE(exec(m_db.get(), "INSERT INTO t VALUES "
                              "('agoraphobia', 'a morbid fear of open spaces'),"
                              "('claustrophobia', 'a fear of spaces that are closed and open to nobody'),"
                              "('explorer', 'someone who made many discoveries'),"
                              "('near', 'not far AND close'),"
                              "('hyphen', 'a well-known mark')"),
             SQLITE_OK);
}

void TestFullTextQuery::builds_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("match");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("words") << "Fear  of open" << R"("fear" "of" "open")" << QStringList{"fear", "of", "open"};
    QTest::newRow("phrase") << R"(fear "open spaces")" << R"("fear" "open spaces")" << QStringList{"fear", "open", "spaces"};
    QTest::newRow("unclosed phrase runs to the end") << R"("open spa)" << R"("open spa")" << QStringList{"open", "spa"};
    QTest::newRow("one-word phrase") << R"("fear")" << R"("fear")" << QStringList{"fear"};
    QTest::newRow("repeats once") << "fear FEAR fear" << R"("fear")" << QStringList{"fear"};
    QTest::newRow("operators are words") << "open NEAR/2 -spaces OR fear*" << R"("open" "near" "2" "spaces" "or" "fear")"
                                         << QStringList{"open", "near", "2", "spaces", "or", "fear"};
    QTest::newRow("column filter is two words") << "WordName:fear" << R"("wordname" "fear")" << QStringList{"wordname", "fear"};
    QTest::newRow("punctuation alone") << R"(* - "" : ( ))" << "" << QStringList{};
    QTest::newRow("accents also without") << "café \"naïve art\"" << R"("cafe" OR "café" "naive art" OR "naïve art")"
                                          << QStringList{"café", "naïve", "art"};
    QTest::newRow("fullwidth and separate accents fold") << u"\uff44\uff4f\uff47 cafe\u0301"_qs << R"("dog" "cafe" OR "café")"
                                                         << QStringList{"dog", "café"};
}

void TestFullTextQuery::builds()
{
    QFETCH(QString, typed);
    QFETCH(QString, match);
    QFETCH(QStringList, words);
    const FullTextQuery query = buildFullTextQuery(typed);
    QCOMPARE(query.match, match);
    QCOMPARE(query.words, words);
}

QStringList TestFullTextQuery::matches(const QString &typed)
{
    const FullTextQuery query = buildFullTextQuery(typed);
    Statement statement;
    if (prepare(m_db.get(), "SELECT WordName FROM t WHERE t MATCH ? ORDER BY docid", statement) != SQLITE_OK)
        return {QStringLiteral("prepare failed")};
    const QByteArray match = query.match.toUtf8();
    sqlite3_bind_text(statement.get(), 1, match.constData(), int(match.size()), SQLITE_TRANSIENT);
    QStringList found;
    int rc;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW)
        found.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement.get(), 0))));
    if (rc != SQLITE_DONE)
        return {QStringLiteral("error: ") + engineMessage(m_db.get(), rc)};
    return found;
}

void TestFullTextQuery::stemsAndPhrasesMatchAsMeant()
{
    // Every word must occur; the stemmer joins "discovery" and "discoveries".
    QCOMPARE(matches(QStringLiteral("fear open spaces")), QStringList({"agoraphobia", "claustrophobia"}));
    QCOMPARE(matches(QStringLiteral("discovery")), QStringList({"explorer"}));
    QCOMPARE(matches(QStringLiteral("fear discovery")), QStringList());
    // A phrase must occur as one.
    QCOMPARE(matches(QStringLiteral("\"open spaces\"")), QStringList({"agoraphobia"}));
    // Operators typed are looked for as words: "AND" is in one entry, "NEAR" the headword of another.
    QCOMPARE(matches(QStringLiteral("far AND close")), QStringList({"near"}));
    QCOMPARE(matches(QStringLiteral("NEAR")), QStringList({"near"}));
    QCOMPARE(matches(QStringLiteral("well-known")), QStringList({"hyphen"}));
    // Folded words still all have to occur: the plain spelling's alternative binds tighter than the "and".
    QCOMPARE(matches(u"f\u00e9ar \uff4f\uff50\uff45\uff4e \"sp\u00e2ces\""_qs), QStringList({"agoraphobia", "claustrophobia"}));
}

void TestFullTextQuery::hostileTextNeverReachesTheEngineRaw()
{
    // Random text from the engine's syntax characters: every query built from it runs without an error.
    const QString alphabet = QStringLiteral("\"*-^:()NEAR/ANDORNOT aeiou\t\\'");
    QRandomGenerator random(20);
    for (int i = 0; i < 500; ++i) {
        QString typed;
        const int length = random.bounded(1, 30);
        for (int j = 0; j < length; ++j)
            typed.append(alphabet[random.bounded(int(alphabet.size()))]);
        const QString last = matches(typed).value(0);
        QVERIFY2(!last.startsWith(QLatin1String("error")), qPrintable(typed + " -> " + last));
    }
    // A huge paste is cut to the first words.
    const FullTextQuery huge = buildFullTextQuery(QString(10000, QLatin1Char('x')) + QStringLiteral(" a b c d e f g h i j k l m n o p q r s"));
    QCOMPARE(huge.words.size(), kMaxQueryWords);
}

void TestFullTextQuery::plainTextDropsMarkup()
{
    QCOMPARE(entryPlainText(u"<p><b>noun</b></p><ol><li>a fear &amp; a &quot;dread&quot;<br>type of: phobia</li></ol>"),
             QStringLiteral("noun\na fear & a \"dread\"\ntype of: phobia"));
    // Inline tags part no words, as on screen; an unknown reference stays as it is.
    QCOMPARE(entryPlainText(u"x<i>y</i> &bogus; &#233;t&#xE9;  z"), QStringLiteral("xy &bogus; été z"));
}

QTEST_GUILESS_MAIN(TestFullTextQuery)
#include "test_fulltextquery.moc"
