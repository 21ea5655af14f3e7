// The built main window: command table, menus, toolbar, controls and the first entry after start.

#include "WidgetFixture.h"

#include "app/EntryView.h"
#include "app/StartupError.h"
#include "app/HeadwordLabel.h"
#include "app/SearchEdit.h"
#include "app/WordGrid.h"
#include "dictionary/DictionaryTable.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_fixture = new WindowFixture(sampleRows()); }
    void cleanupTestCase() { delete m_fixture; }
    void commandTable_data();
    void commandTable();
    void mainMenuOrder();
    void contextMenus();
    void toolBarOrder();
    void controlsAndLooks();
    void firstEntryShownAfterStart();
    void missingDictionaryShowsEngineMessage();
    void startHiddenStandsOnSecondRow();
    void closeHidesUnlessTerminating();
    void failureWhileBuildingIsReported();

private:
    WindowFixture *m_fixture = nullptr;
};

void TestMainWindow::commandTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<int>("image");
    QTest::addColumn<bool>("enabled");

    auto row = [](const char *name, const char *cat, const char *caption, const char *tip, const char *status,
                  const char *key, int image, bool enabled = true) {
        QTest::newRow(name) << QString(name) << QString(cat) << QString(caption) << QString(tip) << QString(status)
                            << QString(key) << image << enabled;
    };
    row("EditUndo1", "Edit", "&Undo", "Undo", "Reverts the last action", "Ctrl+Z", 21);
    row("FileSend1", "File", "Sen&d word definition", "Send", "Sends current word definition through electronic mail", "", 15);
    row("FileClose1", "File", "C&lose", "Close", "Closes this window", "Alt+F4", 37);
    row("EditCut1", "Edit", "Cu&t", "Cut", "Cuts the selection and puts it on the Clipboard", "Ctrl+X", 0);
    row("EditCopy1", "Edit", "&Copy", "Copy", "Copies the selection and puts it on the Clipboard", "Ctrl+C", 1);
    row("EditPaste1", "Edit", "&Paste", "Paste", "Inserts Clipboard contents", "Ctrl+V", 2);
    row("HelpAbout1", "Help", "&About...", "About", "Displays program information, version number, and copyright", "", -1);
    row("DataSetNext1", "Dataset", "&Next", "Scrolls down by a word", "Scrolls down by a word", "Alt+Down", 16, true);
    row("DataSetPrior1", "Dataset", "&Back", "Scrolls up by a word", "Scrolls up by a word", "Alt+Up", 18, false);
    row("RichEditBold1", "Format", "&Bold", "Bold", "Bold", "Ctrl+B", 19, false);
    row("SpeakWord1", "Sound", "&Speak", "Speak word", "Speaks looked up or selected word", "Ctrl+T", 30);
    row("SoundStop1", "Sound", "Stop", "Stop speaking", "Stops speaking for current definition or selected/looked up word", "Ctrl+O", 29);
    row("SpeakWords", "Sound", "&Speak words", "Speak definition", "Speaks current definition or selected text from definition", "Ctrl+W", 31);
    row("RichEditItalic1", "Format", "&Italic", "Italic", "Italic", "Ctrl+I", 22);
    row("RichEditUnderline1", "Format", "&Underline", "Underline", "Underline", "Ctrl+U", 23);
    row("EditSelectAll1", "Edit", "Select &All", "Select All", "Selects the entire document", "Ctrl+A", -1);
    row("EditDelete1", "Edit", "&Delete", "Delete", "Erases the selection", "Del", 25);
    row("CheckClipAction1", "Options", "Check Clipboard", "Check Clipboard", "Sets dictionary to auto search a word when it is copied in Clipboard ", "", 32);
    row("PriorSearch1", "Dataset", "B&ack Search", "Previous searched word", "Goes to the previous searched word by double click in definitions", "", 26, false);
    row("NextSearch1", "Dataset", "N&ext Search", "Next searched word", "Goes to the next searched word by double click in definitions", "", 27, false);
    row("FileExit1", "File", "E&xit", "Exit", "Exits application", "", 37);
    row("CheckClipSoundAction1", "Options", "Check Clipboard Sound", "Check Clipboard with Sound", "Sets dictionary to auto search a word and speak it when is copied in Clipboard", "", 33);
    row("ContentAction1", "Help", "Contents and Index", "Opens help", "Opens help", "", 28);
    row("AoTAction1", "Options", "Always on Top", "Sets dictionary window to remains on top of the desktop", "Sets dictionary window to remains on top of the desktop", "", -1);
    row("EditCopyWordAction", "Edit", "&Copy Word", "Copy", "Copies the selected word and puts it on the Clipboard", "", 1);
    row("RestoreAction", "View", "&Restore", "", "", "", 36);
    row("ReportAction", "Help", "&Report a Bug...", "Sends a bug report about Verbarium software", "Sends a bug report about Verbarium software", "", -1);
    row("SuggestAction", "Help", "Send Su&ggestion...", "Sends a suggestion about Verbarium software", "Sends a suggestion about Verbarium software", "", -1);
    // The check marks of these follow the settings; only their texts are fixed here.
    row("ShowHideLeftAction", "View", "Hide Words Explorer", "Hide Words Explorer", "Hide Words Explorer", "", 35);
    row("ToolbarAction", "View", "Toolbar", "Toolbar", "Shows or hides the toolbar", "", -1);
    row("StatusBarAction", "View", "Status Bar", "Status bar", "Shows or hides the status bar", "", -1);
    row("AutoRestoreAction", "Options", "Auto Restore", "Sets dictionary window to auto restore when a text is copied in Clipboard",
        "Sets dictionary window to auto restore when a text is copied in Clipboard", "", -1);
}

void TestMainWindow::commandTable()
{
    QFETCH(QString, name);
    QFETCH(QString, category);
    QFETCH(QString, caption);
    QFETCH(QString, tip);
    QFETCH(QString, status);
    QFETCH(QString, shortcut);
    QFETCH(int, image);
    QFETCH(bool, enabled);

    // The designer names stay the actions' object names.
    QAction *a = m_fixture->form->findChild<QAction *>(name, Qt::FindDirectChildrenOnly);
    QVERIFY2(a, qPrintable(name));
    QCOMPARE(a->property("category").toString(), category);
    QCOMPARE(a->text(), caption);
    QCOMPARE(a->toolTip(), tip.isEmpty() ? QString(caption).remove(QLatin1Char('&')) : tip);
    QCOMPARE(a->statusTip(), status);
    QCOMPARE(a->shortcut(), QKeySequence(shortcut));
    QCOMPARE(a->property("imageIndex").toInt(), image);
    QCOMPARE(a->icon().isNull(), image < 0);
    // The edit commands follow the focused control; the explorer command follows the settings.
    static const QStringList followState = {"ShowHideLeftAction", "EditUndo1", "EditCut1", "EditCopy1",
                                            "EditPaste1", "EditSelectAll1", "EditDelete1"};
    if (!followState.contains(name))
        QCOMPARE(a->isEnabled(), enabled);
}

namespace {

QStringList menuItems(const QMenu *menu)
{
    QStringList items;
    for (QAction *a : menu->actions()) {
        if (!a->isVisible())
            continue;
        items << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    }
    return items;
}

} // namespace

void TestMainWindow::mainMenuOrder()
{
    WindowFixture fixture(sampleRows());
    QMenuBar *bar = fixture.form->MainMenu1;
    QStringList captions;
    for (QAction *a : bar->actions())
        captions << a->text() + QLatin1Char('|') + a->statusTip();
    QCOMPARE(captions, QStringList({"&File|File related commands", "&Edit|Edit commands", "&View|View commands",
                                    "&Navigate|Navigate commands", "&Sound|Sound commands", "&Options|Options commands",
                                    "&Help|Help topics"}));
    const QList<QStringList> expected = {
        {"FileSend1", "-", "FileClose1"},
        {"EditCut1", "EditCopy1", "EditPaste1", "EditDelete1", "-", "EditUndo1"},
        {"ToolbarAction", "StatusBarAction", "-", "ShowHideLeftAction"},
        {"DataSetNext1", "DataSetPrior1", "-", "NextSearch1", "PriorSearch1", "-", "FindEntries1"},
        {"SpeakWord1", "SpeakWords", "-", "SoundStop1"},
        {"AoTAction1", "AutoRestoreAction", "-", "CheckClipAction1", "CheckClipSoundAction1", "-", "DictionariesAction1"},
        {"ContentAction1", "-", "SuggestAction", "ReportAction", "-", "HelpAbout1"},
    };
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(menuItems(bar->actions().at(i)->menu()), expected.at(i));
}

void TestMainWindow::contextMenus()
{
    WindowFixture fixture(sampleRows());
    TLexivoAppForm *f = fixture.form.get();
    QCOMPARE(menuItems(f->RichEditPopupMenu1),
             QStringList({"EditCopy1", "-", "EditSelectAll1", "-", "SpeakWords", "SoundStop1"}));
    QCOMPARE(menuItems(f->SWordPopupMenu1), QStringList({"EditCopyWordAction", "-", "SpeakWord1", "SoundStop1"}));
    QCOMPARE(menuItems(f->EditPopupMenu1),
             QStringList({"EditUndo1", "-", "EditCut1", "EditCopy1", "EditPaste1", "EditDelete1", "-", "EditSelectAll1",
                          "-", "SpeakWord1", "SoundStop1"}));
    QCOMPARE(menuItems(f->TrayPopupMenu1),
             QStringList({"RestoreAction", "-", "SpeakWord1", "SoundStop1", "-", "FileExit1"}));
    QVERIFY(f->PriorPopupMenu->actions().isEmpty());
    QVERIFY(f->NextPopupMenu->actions().isEmpty());
    // Each control names the menu its right button opens.
    QCOMPARE(f->RichEdit1->property("contextMenu").value<QObject *>(), f->RichEditPopupMenu1);
    QCOMPARE(f->SEdit1->property("contextMenu").value<QObject *>(), f->EditPopupMenu1);
    QCOMPARE(f->DBGrid1->property("contextMenu").value<QObject *>(), f->SWordPopupMenu1);
    QCOMPARE(f->WordDBText1->property("contextMenu").value<QObject *>(), f->SWordPopupMenu1);
}

void TestMainWindow::toolBarOrder()
{
    WindowFixture fixture(sampleRows());
    QStringList items;
    for (QAction *a : fixture.form->ToolBar1->actions()) {
        if (auto *wa = qobject_cast<QWidgetAction *>(a)) {
            auto *button = qobject_cast<QToolButton *>(wa->defaultWidget());
            if (button) {
                QVERIFY(button->menu());
                items << button->defaultAction()->objectName() + QStringLiteral("+menu");
            } else {
                QCOMPARE(wa->defaultWidget()->width(), 8);
                items << QStringLiteral("-");
            }
            continue;
        }
        items << a->objectName();
    }
    QCOMPARE(items, QStringList({"PriorSearch1+menu", "NextSearch1+menu", "-", "ShowHideLeftAction", "-", "EditPaste1",
                                 "EditCopy1", "EditCut1", "-", "CheckClipAction1", "CheckClipSoundAction1", "-",
                                 "SpeakWord1", "SpeakWords", "SoundStop1", "-", "ContentAction1"}));
}

void TestMainWindow::controlsAndLooks()
{
    WindowFixture fixture(sampleRows());
    TLexivoAppForm *f = fixture.form.get();
    QCOMPARE(f->windowTitle(), QStringLiteral("Verbarium"));
    QCOMPARE(f->formWidth(), 543);
    QCOMPARE(f->ControlBar1->height(), 28);

    struct Place { QWidget *w; QRect rect; };
    const Place places[] = {
        {f->SEdit1, QRect(10, 12, 141, 23)},
        {f->DBGrid1, QRect(13, 40, 154, 246)},
        {f->RichEdit1, QRect(176, 48, 345, 239)},
        {f->Shape2, QRect(173, 26, 350, 2)},
    };
    f->show();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    // Anchored controls keep their distances to the scroll box's edges, whatever its real height.
    const int dh = f->ScrollBox1->height() - 296;
    for (const Place &p : places) {
        QRect expected = p.rect;
        if (p.w == f->DBGrid1 || p.w == f->RichEdit1)
            expected.setHeight(expected.height() + dh);
        QCOMPARE(p.w->geometry(), expected);
    }
    QCOMPARE(f->WordsListPanel1->width(), 164);
    QCOMPARE(f->WordDBText1->pos(), QPoint(184, 8));
    QCOMPARE(f->DefSynLabel1->text(), QStringLiteral("definitions:"));
    QCOMPARE(f->DefSynLabel1->pos(), QPoint(184, 30));

    QCOMPARE(f->DBGrid1->font().family(), QStringLiteral("Arial"));
    QCOMPARE(f->DBGrid1->font().pixelSize(), 13);
    QCOMPARE(f->DBGrid1->palette().color(QPalette::Text), QColor(0, 255, 128));
    QCOMPARE(f->DBGrid1->palette().color(QPalette::Base), QColor(0, 0, 32));
    QCOMPARE(f->SEdit1->palette().color(QPalette::Base), QColor(237, 245, 129));
    QCOMPARE(f->SEdit1->font().pixelSize(), 12);
    QCOMPARE(f->WordDBText1->font().pixelSize(), 15);
    QVERIFY(f->WordDBText1->font().bold());
    QCOMPARE(f->RichEdit1->font().pixelSize(), 13);
    QVERIFY(f->RichEdit1->isReadOnly());

    QCOMPARE(f->StatusPanels[0]->text(), QStringLiteral("Verbarium"));
    QCOMPARE(f->StatusPanels[0]->width(), 430);
    // At least the designed width, and wide enough that a position on the full dictionary keeps all its digits.
    QVERIFY(f->StatusPanels[1]->width() >= 85);
    QVERIFY(f->StatusPanels[1]->fontMetrics().horizontalAdvance(QStringLiteral("151913/151913"))
            <= f->StatusPanels[1]->contentsRect().width());
    QCOMPARE(f->StatusPanels[2]->x(), f->StatusPanels[1]->x() + f->StatusPanels[1]->width());
    QCOMPARE(f->StatusPanels[2]->width(), 50);
    QCOMPARE(f->Timer1->interval(), 500);
    // The clipboard timer runs exactly while a watch mode is on.
    QCOMPARE(f->Timer1->isActive(), f->action(Command::CheckClipAction1)->isChecked()
                                        || f->action(Command::CheckClipSoundAction1)->isChecked());

    // Screen readers can name the controls.
    for (QWidget *w : std::initializer_list<QWidget *>{f->SEdit1, f->DBGrid1, f->WordDBText1, f->RichEdit1})
        QVERIFY2(!QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty(), qPrintable(w->objectName()));
    // The about panel is hidden, the entry face shown.
    QVERIFY(f->AboutImage1->isHidden());
    QVERIFY(!f->RichEdit1->isHidden());
}

void TestMainWindow::firstEntryShownAfterStart()
{
    WindowFixture fixture(sampleRows());
    TLexivoAppForm *f = fixture.form.get();
    QVERIFY(f->table()->isOpen());
    QCOMPARE(f->table()->recNo(), 1);
    QCOMPARE(f->WordDBText1->text(), QStringLiteral("apple"));
    QVERIFY(f->RichEdit1->toPlainText().contains(QStringLiteral("a fruit")));
    QCOMPARE(f->DBGrid1->currentIndex().row(), 0);
    // The position display stays blank until the first lookup or row change.
    QCOMPARE(f->StatusPanels[1]->text(), QString());
    QVERIFY(fixture.boxes.isEmpty());
}

void TestMainWindow::missingDictionaryShowsEngineMessage()
{
    WindowFixture fixture({}, {}, false);
    QVERIFY(!fixture.form->table()->isOpen());
    QVERIFY(fixture.form->startupFailed());
    QCOMPARE(fixture.boxes.size(), 1);
    QCOMPARE(fixture.boxes.first().kind, MessageBoxes::Kind::Exception);
    QCOMPARE(fixture.boxes.first().caption, QStringLiteral("Verbarium"));
    QVERIFY(fixture.boxes.first().text.contains(QStringLiteral("data.dat")));
    // The attempt did not create the file.
    QVERIFY(!QFile::exists(fixture.workDir() + QStringLiteral("/data.dat")));
}

void TestMainWindow::startHiddenStandsOnSecondRow()
{
    FormEnvironment env;
    env.startHidden = true;
    WindowFixture fixture(sampleRows(), env);
    QCOMPARE(fixture.form->table()->recNo(), 2);
    QVERIFY(!fixture.form->isVisible());
    QVERIFY(!fixture.app->isAppWindowShown());
}

void TestMainWindow::closeHidesUnlessTerminating()
{
    WindowFixture fixture(sampleRows());
    fixture.app->showForm();
    QVERIFY(fixture.form->isVisible());
    fixture.form->action(Command::FileClose1)->trigger();
    QVERIFY(!fixture.form->isVisible());
    QVERIFY(fixture.app->isMinimized());
    QVERIFY(!fixture.app->terminated());
}

void TestMainWindow::failureWhileBuildingIsReported()
{
    // Out of memory once the table is open, while the settings are read: the half-built window comes down with
    // its table closed before its controls (the sanitizer build watches), and the failure reaches its box.
    QTemporaryDir work;
    writeDictionary(work.filePath(QStringLiteral("data.dat")), sampleRows(), QStringLiteral("marbol47quen"));
    const QString oldDir = QDir::currentPath();
    QDir::setCurrent(work.path());
    Platform platform = m_fixture->platform();
    // A file where the settings folder should be: the key fails, and saying so runs out of memory.
    platform.configFolder = work.filePath(QStringLiteral("data.dat"));
    platform.messages = MessageBoxes([](MessageBoxes::Kind, const QString &, const QString &) { throw std::bad_alloc(); });
    FormEnvironment env;
    env.programDir = work.path();
    QStringList reported;
    const MessageBoxes report([&reported](MessageBoxes::Kind, const QString &, const QString &text) { reported.append(text); });
    std::unique_ptr<TLexivoAppForm> form;
    const auto failed = buildOrReport([&] { form = std::make_unique<TLexivoAppForm>(m_fixture->app.get(), platform, env); },
                                      report);
    QDir::setCurrent(oldDir);
    m_fixture->app->setMainForm(m_fixture->form.get());
    QCOMPARE(failed, std::optional<int>(1));
    QVERIFY(!form);
    QCOMPARE(reported, QStringList({"Out of memory."}));
}

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
