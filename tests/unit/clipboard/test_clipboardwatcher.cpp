// The watcher's tick against a fake clipboard, with the tray frame step after it; and the table of the three
// mode commands.
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

// The watcher with modes that ask nothing beyond the lookup unless a test says so.
struct Rig
{
    Rig() { watcher.setModes(ClipboardModes::fromSettings(true, false, false)); }

    // One tick; the texts it found are kept in the order found.
    std::optional<ClipboardFind> tick()
    {
        auto found = watcher.clipboardStep();
        if (found)
            texts << found->searchText;
        return found;
    }

    FakeClipboard clipboard;
    ClipboardWatcher watcher{&clipboard};
    QStringList texts;
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
    void modesDecideRestoreAndSpeech();
    void busyClipboardFindsNothing();
    void secretsNeverTaken();
    void modeTable_data();
    void modeTable();
    void bothOnAtStart();
};

void TestClipboardWatcher::firstTickTakesWhatIsThere()
{
    Rig r;
    r.clipboard.copy(QStringLiteral("lexicon"));
    const auto found = r.tick();
    QVERIFY(found);
    QCOMPARE(found->searchText, QStringLiteral("lexicon"));
    QCOMPARE(r.watcher.lastSeenText(), QStringLiteral("lexicon"));
    QVERIFY(!found->restore);
    QVERIFY(!found->speak);
}

void TestClipboardWatcher::emptyClipboardTextIsNotTaken()
{
    // The last seen text starts empty, so an empty copy counts as already seen.
    Rig r;
    r.clipboard.copy(QString());
    QVERIFY(!r.tick());
}

void TestClipboardWatcher::sameTextTwiceIsOneLookup()
{
    Rig r;
    r.clipboard.copy(QStringLiteral("word"));
    r.tick();
    r.tick();
    r.clipboard.copyPicture();
    r.tick();
    r.clipboard.copy(QStringLiteral("word"));
    r.tick();
    QCOMPARE(r.texts, QStringList{QStringLiteral("word")});

    // Case counts: a copy differing only in case is new.
    r.clipboard.copy(QStringLiteral("Word"));
    r.tick();
    QCOMPARE(r.texts, (QStringList{QStringLiteral("word"), QStringLiteral("Word")}));
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
    r.tick();
    QCOMPARE(r.texts, QStringList{box});
    // The whole raw text is what was seen, so the same copy is not taken again.
    QCOMPARE(r.watcher.lastSeenText(), copied);
    QVERIFY(!r.tick());
}

void TestClipboardWatcher::modesDecideRestoreAndSpeech()
{
    Rig r;
    r.watcher.setModes(ClipboardModes::fromSettings(false, true, true));
    r.clipboard.copy(QStringLiteral("river"));
    const auto found = r.tick();
    QVERIFY(found && found->restore && found->speak);

    ClipboardModes modes = r.watcher.modes();
    modes.toggleAutoRestore();
    r.watcher.setModes(modes);
    r.clipboard.copy(QStringLiteral("lake"));
    const auto next = r.tick();
    QVERIFY(next && !next->restore && next->speak);
}

void TestClipboardWatcher::busyClipboardFindsNothing()
{
    Rig r;
    int tag = 0;
    QList<int> shown;
    auto tick = [&] {
        const auto found = r.tick();
        advanceTrayFrame(tag, [&](int i) { shown << i; });
        return found;
    };

    r.clipboard.busy = true;
    r.clipboard.copy(QStringLiteral("held"));
    QVERIFY(!tick());
    QVERIFY(r.watcher.lastSeenText().isEmpty());

    // The next tick tries again.
    r.clipboard.busy = false;
    QVERIFY(tick());
    QCOMPARE(r.texts, QStringList{QStringLiteral("held")});
    QCOMPARE(shown, (QList<int>{0, 1}));
}

void TestClipboardWatcher::secretsNeverTaken()
{
    Rig r;
    r.clipboard.copy(QStringLiteral("first"));
    r.tick();
    r.clipboard.copy(QStringLiteral("hunter2"), true);
    QVERIFY(!r.tick());
    QVERIFY(!r.tick());
    QCOMPARE(r.watcher.lastSeenText(), QStringLiteral("first"));

    // The text seen before the secret is still not taken twice; a new plain copy is.
    r.clipboard.copy(QStringLiteral("first"));
    QVERIFY(!r.tick());
    r.clipboard.copy(QStringLiteral("hunter2"));
    r.tick();
    QCOMPARE(r.texts, (QStringList{QStringLiteral("first"), QStringLiteral("hunter2")}));
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
