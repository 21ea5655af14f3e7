// The double-click word rule on plain strings.
#include "text/WordSpan.h"

#include <QTest>

class TestWordSpan final : public QObject
{
    Q_OBJECT

private slots:
    void span_data();
    void span();
};

void TestWordSpan::span_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("start");

    QTest::newRow("plain word") << "a plain word" << 4 << "plain" << 2;
    QTest::newRow("first letter") << "plain" << 0 << "plain" << 0;
    QTest::newRow("last letter") << "plain" << 4 << "plain" << 0;
    QTest::newRow("inner apostrophe") << "at o'clock." << 6 << "o'clock" << 3;
    QTest::newRow("on the apostrophe") << "at o'clock." << 4 << "o'clock" << 3;
    QTest::newRow("typographic apostrophe") << QString::fromUtf8("o’clock") << 0 << QString::fromUtf8("o’clock") << 0;
    QTest::newRow("inner hyphen") << "for well-being;" << 10 << "well-being" << 4;
    QTest::newRow("on the hyphen") << "well-being" << 4 << "well-being" << 0;
    QTest::newRow("several joiners") << "x-ray's" << 0 << "x-ray's" << 0;
    QTest::newRow("possessive kept") << "the dog's tail" << 5 << "dog's" << 4;
    QTest::newRow("trailing apostrophe") << "the dogs' tails" << 5 << "dogs" << 4;
    QTest::newRow("quoted") << "'quoted'," << 3 << "quoted" << 1;
    QTest::newRow("parenthesised") << "(word)," << 1 << "word" << 1;
    QTest::newRow("double hyphen splits") << "well--being" << 0 << "well" << 0;
    QTest::newRow("double hyphen itself") << "well--being" << 4 << "" << 4;
    QTest::newRow("spaced dash") << "a - b" << 2 << "" << 2;
    QTest::newRow("leading hyphen") << "-well" << 1 << "well" << 1;
    QTest::newRow("on leading hyphen") << "-well" << 0 << "" << 0;
    QTest::newRow("apostrophes around a word") << "rock 'n' roll" << 6 << "n" << 6;
    QTest::newRow("digits") << "the 1990s" << 5 << "1990s" << 4;
    QTest::newRow("period ends a word") << "e.g. this" << 0 << "e" << 0;
    QTest::newRow("on punctuation") << "word." << 4 << "" << 4;
    QTest::newRow("on a blank") << "two words" << 3 << "" << 3;
    QTest::newRow("accented") << QString::fromUtf8("a café") << 5 << QString::fromUtf8("café") << 2;
    QTest::newRow("combining accent") << QString::fromUtf8("cafe\u0301!") << 0 << QString::fromUtf8("cafe\u0301") << 0;
    QTest::newRow("past the end") << "word" << 4 << "" << 4;
    QTest::newRow("negative") << "word" << -1 << "" << 0;
    QTest::newRow("empty text") << "" << 0 << "" << 0;
}

void TestWordSpan::span()
{
    QFETCH(QString, text);
    QFETCH(int, index);
    QFETCH(QString, word);
    QFETCH(int, start);
    const WordSpan s = wordSpanAt(text, index);
    QCOMPARE(text.mid(s.start, s.length), word);
    QCOMPARE(s.start, qsizetype(start));
}

QTEST_MAIN(TestWordSpan)
#include "test_wordspan.moc"
