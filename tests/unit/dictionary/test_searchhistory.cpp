// Walk-throughs of the search history: after every step the search box, the position, both menus and
// both command states are checked.
#include "dictionary/SearchHistory.h"

#include <QSignalSpy>
#include <QTest>

namespace {

struct Step
{
    QString op;       // "rec W" (a double-click lookup of W; '' is the empty word), "back", "next", "bm N", "fm N"
    QString box;      // the search box afterwards
    int position;
    QString back;     // menu items top first, blank-separated; '' is an empty caption
    QString forward;
    bool backOn;
    bool nextOn;
};

QStringList items(const QString &text)
{
    QStringList list = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (QString &item : list) {
        if (item == QLatin1String("''"))
            item.clear();
    }
    return list;
}

// The window's side of the history: a search box that looks a word up whenever its text changes.
struct Window
{
    SearchHistory history;
    QString box;
    int lookups = 0;
    std::function<void()> pump;

    Window()
    {
        history.setSearchBox(
            [this](const QString &text) {
                if (text != box) {
                    box = text;
                    ++lookups;
                }
            },
            [this] { return box; });
        history.setProcessMessages([this] {
            if (pump)
                pump();
        });
    }

    void doubleClick(const QString &word)
    {
        box = word;
        history.record(box);
    }

    void run(const QString &op)
    {
        const QString arg = op.section(QLatin1Char(' '), 1);
        if (op.startsWith(QLatin1String("rec")))
            doubleClick(arg == QLatin1String("''") ? QString() : arg);
        else if (op == QLatin1String("back"))
            history.back();
        else if (op == QLatin1String("next"))
            history.next();
        else if (op.startsWith(QLatin1String("bm ")))
            history.backMenuClick(arg.toInt());
        else if (op.startsWith(QLatin1String("fm ")))
            history.forwardMenuClick(arg.toInt());
        else
            qFatal("unknown step %s", qPrintable(op));
    }
};

} // namespace

Q_DECLARE_METATYPE(QList<Step>)

class TestSearchHistory final : public QObject
{
    Q_OBJECT

private slots:
    void walkThrough_data();
    void walkThrough();
    void startsEmpty();
    void changeIsNotifiedBeforeMessagesRun();
    void boxChangedWhileMessagesRun();
    void commandRunWhileMessagesRun();
    void menuChoiceOutOfRangeDoesNothing();
    void menuClickSetsBoxOnce();
    void actionTextShowsAmpersands_data();
    void actionTextShowsAmpersands();
};

void TestSearchHistory::walkThrough_data()
{
    QTest::addColumn<QList<Step>>("steps");

    const QList<Step> pqrs = {
        {"rec P", "P", 0, "P", "", true, false},
        {"rec Q", "Q", 1, "Q P", "", true, false},
        {"rec R", "R", 2, "R Q P", "", true, false},
        {"rec S", "S", 3, "S R Q P", "", true, false},
    };

    QTest::newRow("first lookup, then back") << QList<Step>{
        {"rec P", "P", 0, "P", "", true, false},
        {"back", "P", 0, "P", "", false, false},
    };

    QTest::newRow("back to the start and next to the end") << pqrs + QList<Step>{
        {"back", "R", 2, "R Q P", "R", true, true},
        {"back", "Q", 1, "Q P", "Q R", true, true},
        {"back", "P", 0, "P", "P Q R", false, true},
        {"back", "P", 0, "P", "P Q R", false, true},
        {"next", "Q", 1, "Q P", "Q R", true, true},
        {"next", "R", 2, "R Q P", "R", true, true},
        {"next", "S", 3, "S R Q P", "", true, false},
        {"next", "S", 3, "S R Q P", "", true, false},
    };

    QTest::newRow("menu choices move several items") << pqrs + QList<Step>{
        {"bm 2", "Q", 1, "P", "Q R S", true, true},
        {"fm 2", "S", 3, "S R Q P", "", true, false},
        {"bm 0", "S", 3, "R Q P", "S", true, true},
        {"bm 2", "P", 0, "", "P Q R S", false, true},
        {"fm 0", "P", 0, "P", "Q R S", true, true},
        {"fm 1", "R", 2, "R Q P", "S", true, true},
        {"next", "S", 3, "S R Q P", "", true, false},
    };

    QTest::newRow("repeated word goes to its first place") << QList<Step>{
        {"rec A", "A", 0, "A", "", true, false},
        {"rec B", "B", 1, "B A", "", true, false},
        {"rec A", "A", 2, "A B A", "", true, false},
        {"bm 0", "A", 0, "B A", "A", false, true},
        {"next", "B", 1, "B B A", "", true, true},
        {"next", "A", 2, "A B B A", "", true, false},
        {"bm 2", "B", 1, "A", "B B A", true, true},
    };

    QTest::newRow("case-insensitive match") << QList<Step>{
        {"rec Apple", "Apple", 0, "Apple", "", true, false},
        {"rec pear", "pear", 1, "pear Apple", "", true, false},
        {"rec apple", "apple", 2, "apple pear Apple", "", true, false},
        {"bm 0", "apple", 0, "pear Apple", "apple", false, true},
        {"fm 0", "apple", 0, "apple pear Apple", "", true, true},
        {"next", "pear", 1, "pear apple pear Apple", "", true, true},
    };

    QTest::newRow("new word after going back") << QList<Step>{
        {"rec P", "P", 0, "P", "", true, false},
        {"rec Q", "Q", 1, "Q P", "", true, false},
        {"rec R", "R", 2, "R Q P", "", true, false},
        {"back", "Q", 1, "Q P", "Q", true, true},
        {"rec X", "X", 3, "X Q P", "Q", true, true},
        {"next", "X", 3, "X Q P", "Q", true, false},
        {"back", "R", 2, "Q P", "R Q", true, true},
        {"fm 0", "R", 2, "R Q P", "Q", true, true},
        {"fm 0", "Q", 1, "Q R Q P", "", true, true},
    };

    QTest::newRow("empty word") << QList<Step>{
        {"rec ''", "", 0, "''", "", true, false},
        {"rec P", "P", 1, "P ''", "", true, false},
        {"back", "", 0, "''", "''", false, true},
        {"fm 0", "", 0, "'' ''", "", true, true},
        {"bm 1", "", 0, "", "'' ''", false, true},
    };

    QTest::newRow("next on an empty history") << QList<Step>{
        {"next", "", -1, "", "", false, false},
        {"back", "", 0, "", "", false, false},
        {"rec P", "P", 0, "P", "", true, false},
        {"back", "P", 0, "P", "", false, false},
    };
}

void TestSearchHistory::walkThrough()
{
    QFETCH(QList<Step>, steps);
    Window w;
    for (int i = 0; i < steps.size(); ++i) {
        const Step &s = steps.at(i);
        w.run(s.op);
        const QByteArray where = QByteArray::number(i) + ": " + s.op.toUtf8();
        QVERIFY2(w.box == s.box, where + " box " + w.box.toUtf8());
        QVERIFY2(w.history.position() == s.position, where + " position " + QByteArray::number(w.history.position()));
        QVERIFY2(w.history.backMenu() == items(s.back), where + " back " + w.history.backMenu().join('|').toUtf8());
        QVERIFY2(w.history.forwardMenu() == items(s.forward),
                 where + " forward " + w.history.forwardMenu().join('|').toUtf8());
        QVERIFY2(w.history.backEnabled() == s.backOn, where + " back state");
        QVERIFY2(w.history.nextEnabled() == s.nextOn, where + " next state");
    }
}

void TestSearchHistory::startsEmpty()
{
    SearchHistory h;
    QVERIFY(h.words().isEmpty());
    QCOMPARE(h.position(), 0);
    QVERIFY(h.backMenu().isEmpty());
    QVERIFY(h.forwardMenu().isEmpty());
    QVERIFY(!h.backEnabled());
    QVERIFY(!h.nextEnabled());
}

void TestSearchHistory::changeIsNotifiedBeforeMessagesRun()
{
    Window w;
    QSignalSpy spy(&w.history, &SearchHistory::changed);
    bool enabledWhilePainting = false;
    qsizetype notifiedWhilePainting = 0;
    w.pump = [&] {
        enabledWhilePainting = w.history.backEnabled();
        notifiedWhilePainting = spy.size();
    };
    w.doubleClick(QStringLiteral("P"));
    QVERIFY(enabledWhilePainting);
    QCOMPARE(notifiedWhilePainting, 1);
    QCOMPARE(spy.size(), 2);
    // The new item only appears after the messages have run.
    w.pump = [&] { QVERIFY(w.history.backMenu() == QStringList{"P"}); };
    w.doubleClick(QStringLiteral("Q"));
    QCOMPARE(w.history.backMenu(), (QStringList{"Q", "P"}));
}

void TestSearchHistory::boxChangedWhileMessagesRun()
{
    // A clipboard lookup during painting changes the box: the menu shows the box, the list keeps the word.
    Window w;
    w.pump = [&] { w.box = QStringLiteral("clip"); };
    w.doubleClick(QStringLiteral("P"));
    w.pump = nullptr;
    w.doubleClick(QStringLiteral("Q"));
    QCOMPARE(w.history.words(), (QStringList{"P", "Q"}));
    QCOMPARE(w.history.backMenu(), (QStringList{"Q", "clip"}));

    // A caption that matches no word: the position falls back as for a miss.
    w.history.backMenuClick(1);
    QCOMPARE(w.box, QStringLiteral("clip"));
    QCOMPARE(w.history.position(), 0);
    QVERIFY(!w.history.backEnabled());
    QCOMPARE(w.history.forwardMenu(), (QStringList{"clip", "Q"}));
    w.history.forwardMenuClick(0);
    QCOMPARE(w.history.position(), -1);
    QVERIFY(w.history.nextEnabled());
    w.history.next();
    QCOMPARE(w.box, QStringLiteral("P"));
    QCOMPARE(w.history.position(), 0);
    w.history.next();
    QCOMPARE(w.box, QStringLiteral("Q"));
    QCOMPARE(w.history.position(), 1);
    QVERIFY(!w.history.nextEnabled());
}

void TestSearchHistory::commandRunWhileMessagesRun()
{
    // "B&ack Search" given while the double-clicked entry is being painted.
    Window w;
    w.doubleClick(QStringLiteral("P"));
    w.pump = [&] { w.history.back(); };
    w.doubleClick(QStringLiteral("Q"));
    QCOMPARE(w.history.words(), (QStringList{"P", "Q"}));
    QCOMPARE(w.box, QStringLiteral("P"));
    QCOMPARE(w.history.position(), 0);
    QCOMPARE(w.history.backMenu(), QStringList{"P"});
    QCOMPARE(w.history.forwardMenu(), QStringList{"P"});
    QVERIFY(!w.history.backEnabled());
    QVERIFY(w.history.nextEnabled());
}

void TestSearchHistory::menuChoiceOutOfRangeDoesNothing()
{
    Window w;
    w.doubleClick(QStringLiteral("P"));
    QSignalSpy spy(&w.history, &SearchHistory::changed);
    w.history.backMenuClick(1);
    w.history.backMenuClick(-1);
    w.history.forwardMenuClick(0);
    QCOMPARE(spy.size(), 0);
    QCOMPARE(w.history.backMenu(), QStringList{"P"});
    QCOMPARE(w.history.position(), 0);
}

void TestSearchHistory::menuClickSetsBoxOnce()
{
    Window w;
    for (const char *word : {"P", "Q", "R"})
        w.doubleClick(QLatin1String(word));
    w.lookups = 0;
    w.history.backMenuClick(2);
    QCOMPARE(w.lookups, 1);
    w.history.forwardMenuClick(0);  // P again: the box already holds it
    QCOMPARE(w.lookups, 1);
}

void TestSearchHistory::actionTextShowsAmpersands_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << "word" << "word";
    QTest::newRow("inner") << "R&D" << "R&&D";
    QTest::newRow("leading") << "&Back" << "&&Back";
    QTest::newRow("doubled") << "a&&b" << "a&&&&b";
    QTest::newRow("tab") << "a\tb" << "a b";
    QTest::newRow("empty") << "" << "";
}

void TestSearchHistory::actionTextShowsAmpersands()
{
    QFETCH(QString, caption);
    QFETCH(QString, text);
    QCOMPARE(SearchHistory::actionText(caption), text);
}

QTEST_GUILESS_MAIN(TestSearchHistory)
#include "test_searchhistory.moc"
