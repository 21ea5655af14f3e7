// Text commands, emphasis, Copy Word, the about panel, the links and sending by mail, driven
// through the real window with key events.

#include "WidgetFixture.h"

#include "app/EntryView.h"
#include "app/HeadwordLabel.h"
#include "app/SearchEdit.h"
#include "app/WordGrid.h"
#include "dictionary/DictionaryTable.h"
#include "platform/MailHandoff.h"
#include "editing/EmphasisCommand.h"
#include "sharing/FeedbackLinks.h"
#include "help/HelpViewer.h"
#include "editing/KeyRouter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QSignalSpy>
#include <QTextCursor>
#include <QTreeWidget>

namespace {

// The window on screen and active, so that focus and key events behave as for the user.
class ShownWindow : public WindowFixture
{
public:
    ShownWindow() : WindowFixture(sampleRows())
    {
        form->show();
        form->activateWindow();
    }

    bool ready() { return QTest::qWaitForWindowActive(form.get()); }

    bool focus(QWidget *w)
    {
        w->setFocus(Qt::OtherFocusReason);
        return QTest::qWaitFor([w] { return QApplication::focusWidget() == w; }, 2000);
    }

    void selectWholeEntry()
    {
        QTextCursor cursor(form->RichEdit1->document());
        cursor.select(QTextCursor::Document);
        form->RichEdit1->setTextCursor(cursor);
    }

    TextStyles entryStyles() const { return selectionStyles(form->RichEdit1); }
};

// Counts the key presses that arrive at a control, after every filter in front of it.
class KeyLog final : public QObject
{
public:
    explicit KeyLog(QWidget *w) { w->installEventFilter(this); }
    QList<QKeySequence> keys;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            // QTest presses the modifiers as keys of their own first; only the combined key counts.
            const auto *key = static_cast<QKeyEvent *>(event);
            if (!KeyRouter::keyOf(key).isEmpty())
                keys.append(QKeySequence(key->keyCombination()));
        }
        return false;
    }
};

int gridRowOf(const WordGrid *grid, const QString &headword)
{
    for (int row = 0; row < grid->model()->rowCount(); ++row) {
        if (grid->model()->index(row, 0).data().toString() == headword)
            return row;
    }
    return -1;
}

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

} // namespace

class TestSharing : public QObject
{
    Q_OBJECT

private slots:
    void deleteKeyBelongsToDeleteCommand();
    void selectAllOnWordListReachesTheList();
    void copyKeyAlwaysGoesToCopyCommand();
    void pasteFollowsTheClipboardItIsGiven();
    void shortcutsStillReachTheirCommands_data();
    void shortcutsStillReachTheirCommands();
    void italicTogglesOnFocusedView();
    void italicFromSearchBoxRepeatsLastDirection();
    void boldIsInertUntilUsedOnView();
    void emphasisGoneAfterAnotherEntry();
    void copyWordAfterTypingUndoesTheTyping();
    void copyWordAfterListClickKeepsText();
    void aboutTwiceRestoresEntry();
    void typingHidesAboutPanel();
    void explorerCommandMovesAboutPanel();
    void aboutPanelContent_data();
    void aboutPanelContent();
    void linksOpenTheirAddresses();
    void helpOpensFileFromWorkingFolder();
    void sendHandsEntryToMailProgram();
    void sendFailureShowsErrorDialog();

private:
    QString mailScript(const QString &dir, int exitCode, const QString &argsFile, double delay = 0);
};

QString TestSharing::mailScript(const QString &dir, int exitCode, const QString &argsFile, double delay)
{
    // Records each argument followed by a NUL byte, as the mail program would receive them.
    const QString path = dir + QStringLiteral("/fake-mail-%1.sh").arg(exitCode);
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly))
        return {};
    script.write(QStringLiteral("#!/bin/sh\nsleep %1\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > '%2'\nexit %3\n")
                     .arg(delay)
                     .arg(argsFile)
                     .arg(exitCode)
                     .toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    return path;
}

void TestSharing::deleteKeyBelongsToDeleteCommand()
{
    ShownWindow w;
    QVERIFY(w.ready());
    SearchEdit *edit = w.form->SEdit1;
    QVERIFY(w.focus(edit));
    QTest::keyClicks(edit, QStringLiteral("pear"));
    QCOMPARE(edit->text(), QStringLiteral("pear"));

    // Without a selection Del is held by the disabled "&Delete": the character after the cursor stays.
    edit->setCursorPosition(1);
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(edit->text(), QStringLiteral("pear"));

    edit->setSelection(1, 2);
    QSignalSpy deleted(w.form->action(Command::EditDelete1), &QAction::triggered);
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(deleted.count(), 1);
    QCOMPARE(edit->text(), QStringLiteral("pr"));
    // The changed search text looked the word up.
    QCOMPARE(w.form->WordDBText1->text(), QStringLiteral("well-being"));
}

void TestSharing::selectAllOnWordListReachesTheList()
{
    ShownWindow w;
    QVERIFY(w.ready());
    QVERIFY(w.focus(w.form->DBGrid1));
    QSignalSpy selectAll(w.form->action(Command::EditSelectAll1), &QAction::triggered);
    KeyLog log(w.form->DBGrid1);
    QTest::keyClick(w.form->DBGrid1, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(selectAll.count(), 0);
    QCOMPARE(log.keys, QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_A)});
}

void TestSharing::copyKeyAlwaysGoesToCopyCommand()
{
    ShownWindow w;
    QVERIFY(w.ready());
    QAction *copy = w.form->action(Command::EditCopy1);
    QSignalSpy copied(copy, &QAction::triggered);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));

    // The word list: "&Copy" in the main menu holds the key although it is disabled; nothing changes.
    QVERIFY(w.focus(w.form->DBGrid1));
    KeyLog gridLog(w.form->DBGrid1);
    QTest::keyClick(w.form->DBGrid1, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(copied.count(), 0);
    QVERIFY(gridLog.keys.isEmpty());
    QCOMPARE(clipboardText(), QStringLiteral("before"));

    // The search box with nothing selected: nothing to copy.
    SearchEdit *edit = w.form->SEdit1;
    QVERIFY(w.focus(edit));
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("zeb"));
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboardText(), QStringLiteral("before"));

    edit->setSelection(0, 2);
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(copied.count(), 1);
    QCOMPARE(clipboardText(), QStringLiteral("ze"));

    // The entry view gives plain text and its formatting.
    QVERIFY(w.focus(w.form->RichEdit1));
    w.selectWholeEntry();
    QTest::keyClick(w.form->RichEdit1, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(copied.count(), 2);
    QCOMPARE(clipboardText(), QStringLiteral("a striped animal"));
    QVERIFY(QGuiApplication::clipboard()->mimeData()->hasHtml());
}

void TestSharing::pasteFollowsTheClipboardItIsGiven()
{
    ShownWindow w;
    QVERIFY(w.ready());
    QVERIFY(w.focus(w.form->SEdit1));
    QAction *paste = w.form->action(Command::EditPaste1);
    QTRY_VERIFY(!paste->isEnabled());
    w.clipboard.copy(QStringLiteral("pear"));
    QVERIFY(paste->isEnabled());
}

void TestSharing::shortcutsStillReachTheirCommands_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<QString>("command");

    QTest::newRow("Alt+Down from the search box") << "SEdit1" << QKeySequence(Qt::ALT | Qt::Key_Down) << "DataSetNext1";
    QTest::newRow("Alt+Up from the entry view") << "RichEdit1" << QKeySequence(Qt::ALT | Qt::Key_Up) << "DataSetPrior1";
    QTest::newRow("Ctrl+O from the word list") << "DBGrid1" << QKeySequence(Qt::CTRL | Qt::Key_O) << "SoundStop1";
    QTest::newRow("Ctrl+T from the search box") << "SEdit1" << QKeySequence(Qt::CTRL | Qt::Key_T) << "SpeakWord1";
    QTest::newRow("Ctrl+W from the entry view") << "RichEdit1" << QKeySequence(Qt::CTRL | Qt::Key_W) << "SpeakWords";
    QTest::newRow("Alt+F4 from the search box") << "SEdit1" << QKeySequence(Qt::ALT | Qt::Key_F4) << "FileClose1";
}

void TestSharing::shortcutsStillReachTheirCommands()
{
    QFETCH(QString, focus);
    QFETCH(QKeySequence, key);
    QFETCH(QString, command);

    ShownWindow w;
    QVERIFY(w.ready());
    // Start on the second row so that "&Back" has somewhere to go.
    w.form->SEdit1->setText(QStringLiteral("banana"));
    auto *target = w.form->findChild<QWidget *>(focus);
    QVERIFY(target);
    QVERIFY(w.focus(target));
    QAction *a = w.form->findChild<QAction *>(command, Qt::FindDirectChildrenOnly);
    QSignalSpy ran(a, &QAction::triggered);
    const int rowBefore = w.form->table()->currentRow();
    QTest::keyClick(target, key[0].key(), key[0].keyboardModifiers());
    QCOMPARE(ran.count(), 1);
    if (command == QLatin1String("DataSetNext1"))
        QCOMPARE(w.form->table()->currentRow(), rowBefore + 1);
    if (command == QLatin1String("DataSetPrior1"))
        QCOMPARE(w.form->table()->currentRow(), rowBefore - 1);
}

void TestSharing::italicTogglesOnFocusedView()
{
    ShownWindow w;
    QVERIFY(w.ready());
    w.form->SEdit1->setText(QStringLiteral("apple"));
    QVERIFY(w.focus(w.form->RichEdit1));
    w.selectWholeEntry();
    QVERIFY(!w.entryStyles().italic);

    QTest::keyClick(w.form->RichEdit1, Qt::Key_I, Qt::ControlModifier);
    QVERIFY(w.entryStyles().italic);
    QTest::keyClick(w.form->RichEdit1, Qt::Key_I, Qt::ControlModifier);
    QVERIFY(!w.entryStyles().italic);
    // The text itself never changes.
    QCOMPARE(w.form->RichEdit1->toPlainText(), QStringLiteral("a fruit; see pear"));
}

void TestSharing::italicFromSearchBoxRepeatsLastDirection()
{
    ShownWindow w;
    QVERIFY(w.ready());
    SearchEdit *edit = w.form->SEdit1;
    QVERIFY(w.focus(edit));
    QTest::keyClicks(edit, QStringLiteral("pear"));
    // A selection made in the view while it lacks the focus.
    w.selectWholeEntry();
    QVERIFY(!w.entryStyles().italic);

    QTest::keyClick(edit, Qt::Key_I, Qt::ControlModifier);
    QVERIFY(w.entryStyles().italic);
    QTest::keyClick(edit, Qt::Key_I, Qt::ControlModifier);
    QVERIFY(w.entryStyles().italic);
    QCOMPARE(edit->text(), QStringLiteral("pear"));
    QCOMPARE(QApplication::focusWidget(), edit);
}

void TestSharing::boldIsInertUntilUsedOnView()
{
    ShownWindow w;
    QVERIFY(w.ready());
    SearchEdit *edit = w.form->SEdit1;
    QVERIFY(w.focus(edit));
    QTest::keyClicks(edit, QStringLiteral("pear"));
    w.selectWholeEntry();
    QSignalSpy bold(w.form->action(Command::RichEditBold1), &QAction::triggered);
    KeyLog log(edit);

    QTest::keyClick(edit, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(bold.count(), 0);
    QVERIFY(!w.entryStyles().bold);
    // Not taken by any command, so the search box saw the key.
    QCOMPARE(log.keys, QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_B)});

    // Once pressed with the view focused, the command is live from the search box too.
    QVERIFY(w.focus(w.form->RichEdit1));
    QTest::keyClick(w.form->RichEdit1, Qt::Key_B, Qt::ControlModifier);
    QVERIFY(w.entryStyles().bold);
    QTest::keyClick(w.form->RichEdit1, Qt::Key_B, Qt::ControlModifier);
    QVERIFY(!w.entryStyles().bold);
    QVERIFY(w.focus(edit));
    QTest::keyClick(edit, Qt::Key_B, Qt::ControlModifier);
    QVERIFY(!w.entryStyles().bold); // the last press removed bold, and the next one repeats that
    QCOMPARE(bold.count(), 3);
}

void TestSharing::emphasisGoneAfterAnotherEntry()
{
    ShownWindow w;
    QVERIFY(w.ready());
    w.form->SEdit1->setText(QStringLiteral("zebra"));
    const QString stored = w.form->table()->currentEntry();
    QVERIFY(w.focus(w.form->RichEdit1));
    w.selectWholeEntry();
    QTest::keyClick(w.form->RichEdit1, Qt::Key_U, Qt::ControlModifier);
    QVERIFY(w.entryStyles().underline);

    w.form->SEdit1->setText(QStringLiteral("apple"));
    w.form->SEdit1->setText(QStringLiteral("zebra"));
    w.selectWholeEntry();
    QVERIFY(!w.entryStyles().underline);
    QCOMPARE(w.form->table()->currentEntry(), stored);
}

void TestSharing::copyWordAfterTypingUndoesTheTyping()
{
    ShownWindow w;
    QVERIFY(w.ready());
    SearchEdit *edit = w.form->SEdit1;
    edit->clear();
    QVERIFY(w.focus(edit));
    QTest::keyClicks(edit, QStringLiteral("pea"));
    QCOMPARE(w.form->WordDBText1->text(), QStringLiteral("pear"));

    w.form->action(Command::EditCopyWordAction)->trigger();
    QCOMPARE(clipboardText(), QStringLiteral("pea"));
    QCOMPARE(edit->text(), QString());
}

void TestSharing::copyWordAfterListClickKeepsText()
{
    ShownWindow w;
    QVERIFY(w.ready());
    WordGrid *grid = w.form->DBGrid1;
    const int row = gridRowOf(grid, QStringLiteral("banana"));
    QVERIFY(row >= 0);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, 0)).center());
    QTRY_COMPARE(w.form->SEdit1->text(), QStringLiteral("banana"));

    // Reached from the word list's own context menu, as the user would.
    w.form->action(Command::EditCopyWordAction)->trigger();
    QCOMPARE(clipboardText(), QStringLiteral("banana"));
    QCOMPARE(w.form->SEdit1->text(), QStringLiteral("banana"));
    QCOMPARE(w.form->SEdit1->selectedText(), QStringLiteral("banana"));
}

void TestSharing::aboutTwiceRestoresEntry()
{
    ShownWindow w;
    QVERIFY(w.ready());
    w.form->SEdit1->setText(QStringLiteral("apple"));
    const QList<QWidget *> face = {w.form->WordDBText1, w.form->Shape2, w.form->DefSynLabel1, w.form->RichEdit1};
    auto snapshot = [&] {
        QStringList state;
        for (QWidget *c : face)
            state << QStringLiteral("%1 %2 %3").arg(c->objectName()).arg(c->isVisible()).arg(
                         QString::number(c->geometry().x()) + ',' + QString::number(c->geometry().width()));
        state << w.form->WordDBText1->text() << w.form->RichEdit1->toHtml() << w.form->SEdit1->text();
        state << QString::number(w.form->AboutImage1->isVisible());
        return state;
    };
    const QStringList before = snapshot();

    QAction *about = w.form->action(Command::HelpAbout1);
    about->trigger();
    QVERIFY(w.form->AboutImage1->isVisible());
    QVERIFY(w.form->VendorURLLabel1->isVisible());
    for (QWidget *c : face)
        QVERIFY2(c->isHidden(), qPrintable(c->objectName()));
    about->trigger();
    QCOMPARE(snapshot(), before);
}

void TestSharing::typingHidesAboutPanel()
{
    ShownWindow w;
    QVERIFY(w.ready());
    QVERIFY(w.focus(w.form->SEdit1));
    w.form->action(Command::HelpAbout1)->trigger();
    QVERIFY(w.form->AboutImage1->isVisible());

    QTest::keyClick(w.form->SEdit1, Qt::Key_Z);
    QVERIFY(w.form->AboutImage1->isHidden());
    QVERIFY(w.form->CopyrightLabel1->isHidden());
    QVERIFY(w.form->RichEdit1->isVisible());
    QCOMPARE(w.form->WordDBText1->text(), QStringLiteral("zebra"));
}

void TestSharing::explorerCommandMovesAboutPanel()
{
    ShownWindow w;
    QVERIFY(w.ready());
    QAction *explorer = w.form->action(Command::ShowHideLeftAction);
    const int panelWidth = w.form->WordsListPanel1->width();
    w.form->action(Command::HelpAbout1)->trigger();
    QCOMPARE(w.form->AboutImage1->x(), panelWidth + 73);

    explorer->trigger();
    QVERIFY(explorer->isChecked());
    QVERIFY(w.form->AboutImage1->isVisible());
    QVERIFY(w.form->RichEdit1->isHidden());
    QCOMPARE(w.form->AboutImage1->x(), 73);
    QCOMPARE(w.form->VendorURLLabel1->x(), 57);

    explorer->trigger();
    QVERIFY(!explorer->isChecked());
    QVERIFY(w.form->AboutImage1->isVisible());
    QCOMPARE(w.form->AboutImage1->x(), panelWidth + 73);
    QCOMPARE(w.form->VendorUrlImage1->x(), panelWidth + 37);
}

void TestSharing::aboutPanelContent_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QSize>("size"); // an empty size: sized to the text

    QTest::newRow("AboutImage1") << "AboutImage1" << 12 << 73 << QSize(214, 32);
    QTest::newRow("ProgramIcon") << "ProgramIcon" << 20 << 37 << QSize(32, 32);
    QTest::newRow("VersionLabel1") << "VersionLabel1" << 38 << 85 << QSize();
    QTest::newRow("TilteShape") << "TilteShape" << 62 << 32 << QSize(305, 1);
    QTest::newRow("CopyrightLabel1") << "CopyrightLabel1" << 72 << 37 << QSize(281, 33);
    QTest::newRow("AboutShape1") << "AboutShape1" << 214 << 32 << QSize(305, 1);
    QTest::newRow("AboutMessLabel1") << "AboutMessLabel1" << 224 << 37 << QSize(289, 17);
    QTest::newRow("VendorUrlImage1") << "VendorUrlImage1" << 263 << 37 << QSize(25, 16);
    QTest::newRow("VendorURLLabel1") << "VendorURLLabel1" << 263 << 57 << QSize();
}

void TestSharing::aboutPanelContent()
{
    QFETCH(QString, name);
    QFETCH(int, top);
    QFETCH(int, offset);
    QFETCH(QSize, size);

    ShownWindow w;
    QVERIFY(w.ready());
    w.form->action(Command::HelpAbout1)->trigger();
    auto *control = w.form->findChild<QWidget *>(name);
    QVERIFY(control);
    QVERIFY(control->isVisible());
    QCOMPARE(control->pos(), QPoint(w.form->WordsListPanel1->width() + offset, top));
    if (size.isValid())
        QCOMPARE(control->size(), size);
    else
        QCOMPARE(control->size(), control->sizeHint());

    auto *label = qobject_cast<QLabel *>(control);
    if (name == QLatin1String("AboutImage1") || name == QLatin1String("ProgramIcon")
        || name == QLatin1String("VendorUrlImage1")) {
        QVERIFY(!label->pixmap().isNull());
    }
    if (name == QLatin1String("CopyrightLabel1")) {
        QVERIFY(label->text().contains(QLatin1String("2026 Ostrand LLC")));
    }
    if (name.startsWith(QLatin1String("Vendor"))) {
        QCOMPARE(label->toolTip(), QStringLiteral("Opens Ostrand LLC web site"));
        QCOMPARE(label->statusTip(), QStringLiteral("Opens Ostrand LLC web site"));
        QCOMPARE(label->cursor().shape(), w.form->RichEdit1->viewport()->cursor().shape());
    }
    if (name == QLatin1String("VendorURLLabel1"))
        QCOMPARE(label->text(), FeedbackLinks::webSite());
}

void TestSharing::linksOpenTheirAddresses()
{
    ShownWindow w;
    QVERIFY(w.ready());
    w.form->action(Command::SuggestAction)->trigger();
    w.form->action(Command::ReportAction)->trigger();
    w.form->action(Command::HelpAbout1)->trigger();
    QTest::mouseClick(w.form->VendorURLLabel1, Qt::LeftButton);
    QTest::mouseClick(w.form->VendorUrlImage1, Qt::LeftButton);
    // A press that is released outside the link is no click.
    QTest::mousePress(w.form->VendorURLLabel1, Qt::LeftButton);
    QTest::mouseRelease(w.form->VendorURLLabel1, Qt::LeftButton, {}, QPoint(-5, -5));

    const QString site = FeedbackLinks::webSite();
    QCOMPARE(w.openedLinks,
             QStringList({QStringLiteral("mailto:suggestions@ostrand.example?subject=Suggestion for Verbarium"),
                          QStringLiteral("mailto:bugs@ostrand.example?subject=Report a bug for Verbarium"),
                          site, site}));
}

void TestSharing::helpOpensFileFromWorkingFolder()
{
    const QString built = qEnvironmentVariable("VERBARIUM_TEST_DATA") + QStringLiteral("/vrb.hlp");
    if (!QFile::exists(built))
        QSKIP("the built help file is missing");
    ShownWindow w;
    QVERIFY(w.ready());
    const QString local = w.workDir() + QStringLiteral("/vrb.hlp");
    QVERIFY(QFile::copy(built, local));

    w.form->action(Command::ContentAction1)->trigger();
    QPointer<HelpViewer> viewer = HelpViewer::instance();
    QVERIFY(viewer);
    QVERIFY(viewer->isLoaded());
    QCOMPARE(viewer->path(), QFileInfo(local).absoluteFilePath());
    QVERIFY(viewer->contents()->topLevelItemCount() > 0);
    viewer->close();
}

void TestSharing::sendHandsEntryToMailProgram()
{
    ShownWindow w;
    QVERIFY(w.ready());
    QTemporaryDir dir;
    const QString argsFile = dir.filePath(QStringLiteral("args"));
    auto *handoff = w.form->findChild<MailHandoff *>();
    QVERIFY(handoff);
    handoff->setProgram(mailScript(dir.path(), 0, argsFile, 0.3));
    QSignalSpy finished(handoff, &MailHandoff::finished);

    w.form->SEdit1->setText(QStringLiteral("apple"));
    // The about panel covers the entry; the hidden view's entry is sent all the same.
    w.form->action(Command::HelpAbout1)->trigger();
    w.form->action(Command::FileSend1)->trigger();
    // Still pending: the window did not wait for the mail program.
    QCOMPARE(handoff->pending(), 1);
    QVERIFY(finished.wait(5000));
    QCOMPARE(finished.at(0).at(0).toBool(), true);

    QFile recorded(argsFile);
    QVERIFY(recorded.open(QIODevice::ReadOnly));
    QList<QByteArray> args = recorded.readAll().split('\0');
    QCOMPARE(args.takeLast(), QByteArray());
    const QString body = QStringLiteral("apple - definitions:\n\na fruit; see pear\n\n") + QString(65, QLatin1Char('-'))
                         + QStringLiteral("\nCreated and sent by Verbarium (") + FeedbackLinks::webSite() + QLatin1Char(')');
    QCOMPARE(args, QList<QByteArray>({"--utf8", "--subject", "definitions: apple", "--body", body.toUtf8()}));
    QVERIFY(w.boxes.isEmpty());
    QVERIFY(w.form->AboutImage1->isVisible());
}

void TestSharing::sendFailureShowsErrorDialog()
{
    ShownWindow w;
    QVERIFY(w.ready());
    QTemporaryDir dir;
    auto *handoff = w.form->findChild<MailHandoff *>();
    QVERIFY(handoff);
    handoff->setProgram(mailScript(dir.path(), 3, dir.filePath(QStringLiteral("args"))));
    w.form->SEdit1->setText(QStringLiteral("date"));

    w.form->action(Command::FileSend1)->trigger();
    QTRY_COMPARE(w.boxes.size(), 1);
    QCOMPARE(w.boxes[0].kind, MessageBoxes::Kind::ErrorDialog);
    QCOMPARE(w.boxes[0].caption, QStringLiteral("Error"));
    QCOMPARE(w.boxes[0].text, QStringLiteral("Error sending mail"));

    // A program that cannot start fails the same way, and the command can run again at once.
    handoff->setProgram(dir.filePath(QStringLiteral("no-such-mailer")));
    w.form->action(Command::FileSend1)->trigger();
    QTRY_COMPARE(w.boxes.size(), 2);
    QCOMPARE(w.boxes[1].text, QStringLiteral("Error sending mail"));
    QCOMPARE(w.form->SEdit1->text(), QStringLiteral("date"));
}

QTEST_MAIN(TestSharing)
#include "test_sharing.moc"
