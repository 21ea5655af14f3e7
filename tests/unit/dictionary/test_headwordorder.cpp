#include "dictionary/HeadwordOrder.h"

#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>

class TestHeadwordOrder final : public QObject
{
    Q_OBJECT

private slots:
    void compare_data();
    void compare();
    void isTotalOrder();
    void searchKeyCutsAt32();
};

void TestHeadwordOrder::compare_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("expected");

    QTest::newRow("equal") << "apple" << "apple" << 0;
    QTest::newRow("both empty") << "" << "" << 0;
    QTest::newRow("empty first") << "" << "a" << -1;
    QTest::newRow("prefix first") << "app" << "apple" << -1;
    QTest::newRow("case does not reorder letters") << "Banana" << "apple" << 1;
    QTest::newRow("case-insensitive before tie-break") << "apple" << "Apricot" << -1;
    QTest::newRow("tie-break upper first") << "Paris" << "paris" << -1;
    QTest::newRow("tie-break is the first case difference") << "aB" << "Ab" << 1;
    QTest::newRow("tie-break only when folded equal") << "Paris" << "parisian" << -1;
    QTest::newRow("blank before letters") << "hot dog" << "hotdog" << -1;
    QTest::newRow("hyphen before letters") << "a-bomb" << "abomb" << -1;
    QTest::newRow("digits before letters") << "4-H" << "a" << -1;
    QTest::newRow("non-ASCII folds") << QStringLiteral("\u00c9clair") << QStringLiteral("\u00e9clair") << -1;
    QTest::newRow("non-ASCII after ASCII") << QStringLiteral("\u00e9") << "z" << 1;
}

void TestHeadwordOrder::compare()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, expected);
    const auto sign = [](int v) { return (v > 0) - (v < 0); };
    QCOMPARE(sign(compareHeadwords(a, b)), expected);
    QCOMPARE(sign(compareHeadwords(b, a)), -expected);
    // The case-insensitive level agrees wherever the texts differ beyond case.
    const int ignoringCase = sign(compareHeadwordsIgnoringCase(a, b));
    if (a.toCaseFolded() == b.toCaseFolded())
        QCOMPARE(ignoringCase, 0);
    else
        QCOMPARE(ignoringCase, expected);
}

void TestHeadwordOrder::isTotalOrder()
{
    // Short words over a small alphabet produce many case twins and prefixes.
    const QString alphabet = QStringLiteral("aAbB -'\u00e9\u00c9");
    QRandomGenerator random(7);
    QStringList words;
    for (int i = 0; i < 400; ++i) {
        QString word;
        for (int n = int(random.bounded(5)); n > 0; --n)
            word += alphabet[int(random.bounded(alphabet.size()))];
        words.append(word);
    }
    std::sort(words.begin(), words.end(), [](const QString &a, const QString &b) { return compareHeadwords(a, b) < 0; });
    for (qsizetype i = 0; i < words.size(); ++i) {
        for (qsizetype j = i; j < words.size(); ++j) {
            const int order = compareHeadwords(words[i], words[j]);
            // Sorted means never greater later on; equal only for identical texts.
            QVERIFY2(order <= 0, qPrintable(words[i] + " / " + words[j]));
            QCOMPARE(order == 0, words[i] == words[j]);
            // Sorted by the full order means sorted by its case-insensitive level too.
            QVERIFY(compareHeadwordsIgnoringCase(words[i], words[j]) <= 0);
        }
    }
}

void TestHeadwordOrder::searchKeyCutsAt32()
{
    const QString exact(kMaxHeadwordLength, QLatin1Char('x'));
    QCOMPARE(searchKey(exact), QStringView(exact));
    QCOMPARE(searchKey(exact + QStringLiteral("yz")), QStringView(exact));
    QCOMPARE(searchKey(QStringLiteral("  Mixed Case  ")), QStringLiteral("  Mixed Case  "));
    QCOMPARE(searchKey(QString()), QString());
}

QTEST_GUILESS_MAIN(TestHeadwordOrder)
#include "test_headwordorder.moc"
