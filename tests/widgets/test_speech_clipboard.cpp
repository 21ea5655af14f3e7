// Speaking commands and the clipboard watch through the real window.

#include "WidgetFixture.h"

#include "app/EntryView.h"
#include "app/SearchEdit.h"
#include "app/StartupError.h"
#include "dictionary/DictionaryTable.h"
#include "tray/Trayicon.h"

#include <QAction>
#include <QTimer>

namespace {

QString spoken(const FakeSpeechLog &log, size_t i)
{
    return log.texts.at(i).units;
}

} // namespace

class TestSpeechClipboard : public QObject
{
    Q_OBJECT

private slots:
    void speakWordHandsOverTheSearchBox();
    void speakWordsPrefersTheSelection();
    void stopResetsTheEngine();
    void fatalSpeechFailures_data();
    void fatalSpeechFailures();
    void tickLooksUpRestoresAndSpeaks();
    void tickAnimatesTheTrayEvenWhenNothingIsNew();
    void secretCopiesAreNeverTaken();
    void watchCommandsFollowTheModeTable();
};

void TestSpeechClipboard::speakWordHandsOverTheSearchBox()
{
    WindowFixture f(sampleRows());
    f.form->SEdit1->setText(QStringLiteral("pear"));
    f.form->action(Command::SpeakWord1)->trigger();
    f.form->SEdit1->clear();
    f.form->action(Command::SpeakWord1)->trigger();
    QCOMPARE(f.speech->texts.size(), size_t(2));
    QCOMPARE(spoken(*f.speech, 0), QStringLiteral("pear") + QChar(0));
    QCOMPARE(f.speech->texts[0].bytes, qsizetype(10));
    // An empty box hands over the terminator alone.
    QCOMPARE(f.speech->texts[1].bytes, qsizetype(2));
}

void TestSpeechClipboard::speakWordsPrefersTheSelection()
{
    WindowFixture f(sampleRows());
    f.form->SEdit1->setText(QStringLiteral("pear"));
    f.form->action(Command::SpeakWords)->trigger();
    QCOMPARE(spoken(*f.speech, 0), QStringLiteral("another fruit") + QChar(0));

    QTextCursor cursor = f.form->RichEdit1->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    f.form->RichEdit1->setTextCursor(cursor);
    f.form->action(Command::SpeakWords)->trigger();
    QCOMPARE(spoken(*f.speech, 1), QStringLiteral("another") + QChar(0));
}

void TestSpeechClipboard::stopResetsTheEngine()
{
    WindowFixture f(sampleRows());
    f.form->action(Command::SoundStop1)->trigger();
    f.form->action(Command::SoundStop1)->trigger();
    QCOMPARE(f.speech->resets, 2);
}

void TestSpeechClipboard::fatalSpeechFailures_data()
{
    QTest::addColumn<bool>("runtimeStarts");
    QTest::addColumn<QString>("message");
    QTest::newRow("runtime") << false << QStringLiteral("Can't create OLE.");
    QTest::newRow("engine") << true << QStringLiteral("Can't create a TTS engine.");
}

void TestSpeechClipboard::fatalSpeechFailures()
{
    QFETCH(bool, runtimeStarts);
    QFETCH(QString, message);
    const auto failingSpeech = [runtimeStarts](Platform &p) {
        p.speechRuntime = [runtimeStarts] {
            auto runtime = std::make_unique<FakeSpeechRuntime>();
            runtime->initializeSucceeds = runtimeStarts;
            runtime->engineAvailable = false;
            return runtime;
        };
    };
    try {
        WindowFixture f(sampleRows(), {}, true, {}, failingSpeech);
        QFAIL("the window was built without speech");
    } catch (const StartupError &error) {
        QCOMPARE(error.message, message);
        QCOMPARE(error.exitCode, 1);
    }
    // Started once the window is painted, the same failure is said alone and ends the program.
    FormEnvironment later;
    later.speechAfterFirstPaint = true;
    WindowFixture f(sampleRows(), later, true, {}, failingSpeech);
    f.form->show();
    QVERIFY(!f.form->startupFailed());
    f.form->startSpeech();
    QVERIFY(f.form->startupFailed());
    QVERIFY(!f.form->isVisible());
    QCOMPARE(f.boxes.size(), 1);
    QCOMPARE(f.boxes.first().text, message);
}

void TestSpeechClipboard::tickLooksUpRestoresAndSpeaks()
{
    WindowFixture f(sampleRows());
    TLexivoAppForm *form = f.form.get();
    // The first run's modes: look up and speak, and restore.
    QVERIFY(form->action(Command::CheckClipSoundAction1)->isChecked());
    QVERIFY(form->action(Command::AutoRestoreAction)->isChecked());
    form->FileClose1Execute();
    QVERIFY(!form->isVisible());

    f.clipboard.copy(QStringLiteral("banana split"));
    form->Timer1Timer();
    QCOMPARE(form->SEdit1->text(), QStringLiteral("banana split"));
    QCOMPARE(form->table()->currentHeadword(), QStringLiteral("Cherry"));
    QVERIFY(form->isVisible());
    QCOMPARE(spoken(*f.speech, 0), QStringLiteral("banana split") + QChar(0));

    // The same text again: nothing new is taken, nothing spoken.
    form->Timer1Timer();
    QCOMPARE(f.speech->texts.size(), size_t(1));

    // A long copy reaches the box cut to 300 characters.
    f.clipboard.copy(QString(301, QLatin1Char('z')));
    form->Timer1Timer();
    QCOMPARE(form->SEdit1->text().size(), 300);
}

void TestSpeechClipboard::tickAnimatesTheTrayEvenWhenNothingIsNew()
{
    WindowFixture f(sampleRows());
    TTrayIcon *tray = f.form->findChild<TTrayIcon *>(QStringLiteral("TrayIcon1"));
    QVERIFY(tray);
    QList<int> shown;
    for (int i = 0; i < 7; ++i) {
        f.form->Timer1Timer();
        shown << tray->IconIndex();
    }
    QCOMPARE(shown, QList<int>({0, 1, 2, 3, 4, 5, 0}));
}

void TestSpeechClipboard::secretCopiesAreNeverTaken()
{
    WindowFixture f(sampleRows());
    QVERIFY(f.form->action(Command::CheckClipSoundAction1)->isChecked());
    f.form->SEdit1->setText(QStringLiteral("apple"));
    f.clipboard.copy(QStringLiteral("hunter2"), true);
    f.form->Timer1Timer();
    QCOMPARE(f.form->SEdit1->text(), QStringLiteral("apple"));
    QVERIFY(f.speech->texts.empty());
}

void TestSpeechClipboard::watchCommandsFollowTheModeTable()
{
    WindowFixture f(sampleRows());
    QAction *clip = f.form->action(Command::CheckClipAction1);
    QAction *sound = f.form->action(Command::CheckClipSoundAction1);
    auto state = [&] {
        return QStringLiteral("%1%2%3").arg(int(clip->isChecked())).arg(int(sound->isChecked())).arg(int(f.form->Timer1->isActive()));
    };
    // From whatever the first-run settings chose, switch everything off first.
    if (sound->isChecked())
        sound->trigger();
    if (clip->isChecked())
        clip->trigger();
    QCOMPARE(state(), QStringLiteral("000"));
    clip->trigger();
    QCOMPARE(state(), QStringLiteral("101"));
    sound->trigger();
    QCOMPARE(state(), QStringLiteral("011"));
    clip->trigger();
    QCOMPARE(state(), QStringLiteral("101"));
    clip->trigger();
    QCOMPARE(state(), QStringLiteral("000"));
    sound->trigger();
    QCOMPARE(state(), QStringLiteral("011"));
    sound->trigger();
    QCOMPARE(state(), QStringLiteral("000"));

    QAction *restore = f.form->action(Command::AutoRestoreAction);
    const bool before = restore->isChecked();
    restore->trigger();
    QCOMPARE(restore->isChecked(), !before);
    QCOMPARE(state(), QStringLiteral("000"));
}

QTEST_MAIN(TestSpeechClipboard)
#include "test_speech_clipboard.moc"
