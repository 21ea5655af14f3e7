// The watcher's tick against a fake clipboard and a fake search box that, like the real one, looks up
// only a text it does not already hold, with the tray frame step after it; and the table of the three mode commands.
#include "clipboard/ClipboardModes.h"
#include "clipboard/ClipboardWatcher.h"
#include "platform/ClipboardSource.h"
#include "tray/TrayFrame.h"

#include <QTest>

#include <stdexcept>

namespace {

class FakeClipboard final : public ClipboardSource
{
public:
    bool hasText() override { return offered; }
    QString text() override
    {
        if (busy)
            throw std::runtime_error("clipboard held by another program");
        return content;
    }
    bool isSecret() override { return secret; }

    void copy(const QString &t, bool isSecret = false)
    {
        offered = true;
        content = t;
        secret = isSecret;
    }
    void copyPicture()
    {
        offered = false;
        content.clear();
        secret = false;
    }

    bool offered = false;
    bool secret = false;
    bool busy = false;
    QString content;
};

struct Window
{
    QString box;
    QStringList lookups;
    bool autoRestore = false;
    bool sound = false;
    int restores = 0;
    QStringList spoken;
    bool lookupThrows = false;
    QStringList order;

    ClipboardWatcherCallbacks callbacks()
    {
        return {
            [this](const QString &text) {
                order << QStringLiteral("set");
                if (text == box)
                    return;
                box = text;
                if (lookupThrows)
                    throw std::runtime_error("lookup failed");
                lookups << text;
            },
            [this] { return autoRestore; },
            [this] {
                order << QStringLiteral("restore");
                ++restores;
            },
            [this] { return sound; },
            [this] {
                order << QStringLiteral("speak");
                spoken << box;
            },
        };
    }
};

struct Rig
{
    FakeClipboard clipboard;
    Window window;
    ClipboardWatcher watcher{&clipboard, window.callbacks()};
};

} // namespace

class TestClipboardWatcher : public QObject
{
    Q_OBJECT
private slots:
    void firstTickTakesWhatIsThere();
    void emptyClipboardTextIsNotTaken();
    void sameTextTwiceIsOneLookup();
    void copyTrimmedAndCut_data();
    void copyTrimmedAndCut();
    void textAsInBoxIsSpokenAndRestored();
    void restoreThenSpeak();
    void failuresSwallowed();
    void secretsNeverTaken();
    void modeTable_data();
    void modeTable();
    void bothOnAtStart();
};

void TestClipboardWatcher::firstTickTakesWhatIsThere()
{
    Rig r;
    r.clipboard.copy(QStringLiteral("lexicon"));
    r.watcher.clipboardStep();
    QCOMPARE(r.window.lookups, QStringList{QStringLiteral("lexicon")});
    QCOMPARE(r.watcher.lastSeenText(), QStringLiteral("lexicon"));
    QCOMPARE(r.window.restores, 0);
    QVERIFY(r.window.spoken.isEmpty());
}

void TestClipboardWatcher::emptyClipboardTextIsNotTaken()
{
    // The last seen text starts empty, so an empty copy counts as already seen.
    Rig r;
    r.clipboard.copy(QString());
    r.watcher.clipboardStep();
    QVERIFY(r.window.order.isEmpty());
}

void TestClipboardWatcher::sameTextTwiceIsOneLookup()
{
    Rig r;
    r.window.sound = true;
    r.clipboard.copy(QStringLiteral("word"));
    r.watcher.clipboardStep();
    r.watcher.clipboardStep();
    r.clipboard.copyPicture();
    r.watcher.clipboardStep();
    r.clipboard.copy(QStringLiteral("word"));
    r.watcher.clipboardStep();
    QCOMPARE(r.window.lookups.size(), 1);
    QCOMPARE(r.window.spoken.size(), 1);

    // Case counts: a copy differing only in case is new.
    r.clipboard.copy(QStringLiteral("Word"));
    r.watcher.clipboardStep();
    QCOMPARE(r.window.lookups, (QStringList{QStringLiteral("word"), QStringLiteral("Word")}));
}

void TestClipboardWatcher::copyTrimmedAndCut_data()
{
    QTest::addColumn<QString>("copied");
    QTest::addColumn<QString>("box");

    const QString pair = QString::fromUtf16(u"\U0001D11E");
    const QString a300(300, QLatin1Char('a'));
    QTest::newRow("299") << QString(299, QLatin1Char('a')) << QString(299, QLatin1Char('a'));
    QTest::newRow("300 kept") << a300 << a300;
    QTest::newRow("301 cut") << a300 + QLatin1Char('b') << a300;
    QTest::newRow("10 MB cut") << QString(10 * 1024 * 1024, QLatin1Char('x')) << QString(300, QLatin1Char('x'));
    QTest::newRow("pair across cut") << QString(299, QLatin1Char('a')) + pair << QString(299, QLatin1Char('a'));
    QTest::newRow("pair before cut") << QString(298, QLatin1Char('a')) + pair + QLatin1Char('z')
                                     << QString(298, QLatin1Char('a')) + pair;
    QTest::newRow("line break of a copied line") << QStringLiteral("hello\n") << QStringLiteral("hello");
    QTest::newRow("no-break and other spaces") << QStringLiteral("\u00a0\u2002hello\u3000\u00a0")
                                               << QStringLiteral("hello");
    QTest::newRow("inner blanks and lines kept") << QStringLiteral("  two words\r\nnext line\t")
                                                 << QStringLiteral("two words\r\nnext line");
    QTest::newRow("blanks do not count towards 300") << QString(5, QLatin1Char(' ')) + a300 + QLatin1Char('\n') << a300;
    QTest::newRow("cut inside blanks") << QString(298, QLatin1Char('a')) + QStringLiteral("    b")
                                       << QString(298, QLatin1Char('a'));
    QTest::newRow("zero inside") << QStringLiteral("ab") + QChar(u'\0') + QStringLiteral("cd")
                                 << QStringLiteral("ab") + QChar(u'\0') + QStringLiteral("cd");
}

void TestClipboardWatcher::copyTrimmedAndCut()
{
    QFETCH(QString, copied);
    QFETCH(QString, box);
    Rig r;
    r.clipboard.copy(copied);
    r.watcher.clipboardStep();
    QCOMPARE(r.window.box, box);
    // The whole raw text is what was seen, so the same copy is not taken again.
    QCOMPARE(r.watcher.lastSeenText(), copied);
    r.watcher.clipboardStep();
    QCOMPARE(r.window.lookups.size(), 1);
}

void TestClipboardWatcher::textAsInBoxIsSpokenAndRestored()
{
    Rig r;
    r.window.box = QStringLiteral("river");
    r.window.autoRestore = true;
    r.window.sound = true;
    r.clipboard.copy(QStringLiteral("river"));
    r.watcher.clipboardStep();
    QVERIFY(r.window.lookups.isEmpty());
    QCOMPARE(r.window.restores, 1);
    QCOMPARE(r.window.spoken, QStringList{QStringLiteral("river")});
}

void TestClipboardWatcher::restoreThenSpeak()
{
    Rig r;
    r.window.autoRestore = true;
    r.window.sound = true;
    r.clipboard.copy(QStringLiteral("a"));
    r.watcher.clipboardStep();
    QCOMPARE(r.window.order, (QStringList{QStringLiteral("set"), QStringLiteral("restore"), QStringLiteral("speak")}));
}

void TestClipboardWatcher::failuresSwallowed()
{
    Rig r;
    int tag = 0;
    QList<int> shown;
    auto tick = [&] {
        r.watcher.clipboardStep();
        advanceTrayFrame(tag, [&](int i) { shown << i; });
    };

    r.clipboard.busy = true;
    r.clipboard.copy(QStringLiteral("held"));
    tick();
    QVERIFY(r.window.order.isEmpty());

    // A failing lookup ends the step before restore and speech; the text counts as seen.
    r.clipboard.busy = false;
    r.window.lookupThrows = true;
    r.window.autoRestore = true;
    r.window.sound = true;
    tick();
    QCOMPARE(r.window.restores, 0);
    QVERIFY(r.window.spoken.isEmpty());
    QCOMPARE(r.watcher.lastSeenText(), QStringLiteral("held"));

    r.window.lookupThrows = false;
    r.clipboard.copy(QStringLiteral("next"));
    tick();
    QCOMPARE(r.window.lookups, QStringList{QStringLiteral("next")});
    QCOMPARE(shown, (QList<int>{0, 1, 2}));
}

void TestClipboardWatcher::secretsNeverTaken()
{
    Rig r;
    r.window.sound = true;
    r.window.autoRestore = true;
    r.clipboard.copy(QStringLiteral("first"));
    r.watcher.clipboardStep();
    r.clipboard.copy(QStringLiteral("hunter2"), true);
    r.watcher.clipboardStep();
    r.watcher.clipboardStep();
    QCOMPARE(r.watcher.lastSeenText(), QStringLiteral("first"));
    QCOMPARE(r.window.box, QStringLiteral("first"));
    QCOMPARE(r.window.spoken, QStringList{QStringLiteral("first")});
    QCOMPARE(r.window.restores, 1);

    // The text seen before the secret is still not taken twice; a new plain copy is.
    r.clipboard.copy(QStringLiteral("first"));
    r.watcher.clipboardStep();
    QCOMPARE(r.window.spoken.size(), 1);
    r.clipboard.copy(QStringLiteral("hunter2"));
    r.watcher.clipboardStep();
    QCOMPARE(r.window.box, QStringLiteral("hunter2"));
}

void TestClipboardWatcher::modeTable_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<bool>("soundCommand");
    QTest::addColumn<QString>("to");

    QTest::newRow("off, check") << "off" << false << "lookup";
    QTest::newRow("off, sound") << "off" << true << "speak";
    QTest::newRow("lookup, check") << "lookup" << false << "off";
    QTest::newRow("lookup, sound") << "lookup" << true << "speak";
    QTest::newRow("speak, sound") << "speak" << true << "off";
    QTest::newRow("speak, check") << "speak" << false << "lookup";
}

void TestClipboardWatcher::modeTable()
{
    QFETCH(QString, from);
    QFETCH(bool, soundCommand);
    QFETCH(QString, to);

    const auto modeOf = [](const QString &name) {
        return ClipboardModes::fromSettings(name == QLatin1String("lookup"), name == QLatin1String("speak"), false);
    };
    ClipboardModes modes = modeOf(from);
    if (soundCommand)
        modes.toggleCheckClipSound();
    else
        modes.toggleCheckClip();
    const ClipboardModes expected = modeOf(to);
    QCOMPARE(modes.checkClip, expected.checkClip);
    QCOMPARE(modes.checkClipSound, expected.checkClipSound);
    QCOMPARE(modes.timerEnabled, expected.timerEnabled);
    QCOMPARE(modes.autoRestore, false);

    modes.toggleAutoRestore();
    QCOMPARE(modes.autoRestore, true);
    QCOMPARE(modes.timerEnabled, expected.timerEnabled);
}

void TestClipboardWatcher::bothOnAtStart()
{
    ClipboardModes modes = ClipboardModes::fromSettings(true, true, true);
    QVERIFY(modes.timerEnabled);
    // Either command unchecks its own action and stops the timer, leaving the other checked.
    ClipboardModes a = modes;
    a.toggleCheckClip();
    QVERIFY(!a.checkClip && a.checkClipSound && !a.timerEnabled);
    ClipboardModes b = modes;
    b.toggleCheckClipSound();
    QVERIFY(b.checkClip && !b.checkClipSound && !b.timerEnabled);
    // Off with a stale check mark: the other command turns its own off and stops the timer again.
    a.toggleCheckClipSound();
    QVERIFY(!a.checkClip && !a.checkClipSound && !a.timerEnabled);
    QVERIFY(ClipboardModes{}.autoRestore);
}

QTEST_GUILESS_MAIN(TestClipboardWatcher)
#include "test_clipboardwatcher.moc"
