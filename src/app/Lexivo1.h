#pragma once

// The main window and the names its parts go by. Every handler uses these names; a newcomer's glossary:
//
//   name                   what it is                                              class (file)
//   TLexivoAppForm         the main window, a switchboard of named handlers          QMainWindow (app/Lexivo1*.cpp)
//   FormCreate             its start-up: builds the parts, applies the settings        (app/Lexivo1.cpp)
//   SEdit1                 the search box above the word list                        SearchEdit (app/SearchEdit.h)
//   DBGrid1                the word list, one headword a row                         WordGrid (app/WordGrid.h)
//   WordDBText1            the headword shown above the entry                        HeadwordLabel (app/HeadwordLabel.h)
//   RichEdit1              the entry (definitions, synonyms), read-only rich text    EntryView (app/EntryView.h)
//   DefSynLabel1, Shape2   the entry's caption and the rule under the headword        QLabel, QFrame
//   Table1                 the dictionary table and its current row (the cursor)     DictionaryTable (dictionary/)
//   Session1               the open encrypted dictionary file                        DictionarySession (dictionary/)
//   DataSource1            tells the word list and the entry that the row moved      DataLink (app/DataLink.h)
//   Timer1                 the clipboard watch's tick                                QTimer
//   ImageList1, ImageList2 the command pictures; the tray icon's frames              ImageList (platform/ImageList.h)
//   TrayIcon1              the notification-area icon and its menu                   TTrayIcon (tray/Trayicon.h)
//   MainMenu1, ToolBar1    the menu bar and the toolbar, built from the command table (app/CommandTable.cpp)
//   ControlBar1, StatusBar the bar holding the toolbar; the status bar of three panels
//   WordsListPanel1        the left pane ("Words Explorer") holding SEdit1 and DBGrid1 QFrame
//   *PopupMenu*            the context menus of the entry, the search box, the tray, history
//   SomethingAction1/…1    a command: a QAction made from a row of the command table, found by action(Command::…)
//   Xxx1Change, Xxx1Timer… the handler of part Xxx1's event (Change, KeyDown, DblClick, Timer, AfterScroll…)

#include "app/CommandTable.h"
#include "platform/Platform.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <span>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QStatusBar;
class QTimer;
class QToolBar;
class QToolButton;

class Application;
class DictionarySession;
class DictionaryTable;
struct sqlite3;
class EntryView;
class HeadwordLabel;
class ImageList;
class SearchEdit;
class SearchHistory;
class WordGrid;
class DataLink;
class TTrayIcon;
class Speaker;
class ClipboardSource;
class ClipboardWatcher;
struct ClipboardModes;
class Speller;
class SpellingAssistant;
class SuggestionLine;
class TableHeadwords;
class AddedDictionaries;

// What the window takes from outside besides the desktop's services (Platform): the start switch, where its files
// are, and the dictionaries it opens, so that tests can build the real window with fakes.
struct FormEnvironment
{
    bool startHidden = false;  // the first command-line argument is exactly "/m"
    QString programDir;        // the folder of the program file ("vrb.ini" lives there)
    // The dictionary opened ahead for a path and password, handed over once (see DictionaryTable::preopen).
    std::function<sqlite3 *(const QString &path, const QString &password)> preopenedDictionary;
    // The spelling dictionary, loaded off the GUI thread by startSpelling(); none given: Hunspell's en_US.
    std::function<std::unique_ptr<Speller>()> speller;
    // The speech engine starts when startSpeech() is called, once the first entry is painted, and not with
    // the window: loading it costs more than anything else the first paint would wait for.
    bool speechAfterFirstPaint = false;
};

// The main window: a switchboard whose named handlers call the subsystems' small objects.
class TLexivoAppForm final : public QMainWindow
{
    Q_OBJECT
public:
    TLexivoAppForm(Application *app, Platform platform, FormEnvironment env = {}, QWidget *parent = nullptr);
    ~TLexivoAppForm() override;

    // The dictionary file, relative to the working folder, and the password its session is given.
    static QString tableFileName() { return QStringLiteral("data.dat"); }
    static QString tablePassword();

    // The action of that command of the table (never null).
    QAction *action(Command id) const;
    // Whether the command table, the handlers and the menu and toolbar lists agree: one line per fault.
    static QStringList commandWiringFaults();
    DictionaryTable *table() const { return Table1; }
    bool startupFailed() const { return m_startupFailed; }
    // A second start of the program asked this one to come forward.
    void showFromAnotherStart();
    // Another start (verbarium --lookup) handed over a word: looked up as a copied one is, then shown in front.
    void lookUpFromAnotherStart(const QString &word);
    // Start-up is over and the window is in its first state: requests from other starts apply now.
    void markStarted() { m_started = true; }
    // Loads the spelling dictionary behind the suggestion line; called once the first entry is painted.
    void startSpelling();
    SpellingAssistant *spelling() const { return m_spelling; }
    // Starts the speech engine the window was built without (speechAfterFirstPaint); a failure is said as at
    // start and ends the program.
    void startSpeech();
    bool isStarted() const { return m_started; }

    // The window's "Width" and "Left"/"Top": the outer frame, as the layout is measured.
    int formWidth() const;
    void setFormWidth(int width);

    // --- lifecycle (Lexivo1.cpp) -------------------------------------------------------------
    void FormCreate();
    void FormShow();
    void FormActivate();
    void FormPaint();
    void FormDestroy();
    void FormResize();
    void FileClose1Execute();
    void FileExit1Execute();
    // The session ends (logout, shutdown, the display gone): leave as "E&xit" does, with no one left to read a box.
    void endSession();
    void saveAtSessionEnd();

    // --- lookup and entry display (Lexivo1Lookup.cpp) ---------------------------------------
    void SEdit1Change();
    void SEdit1KeyDown();
    void Table1BeforeOpen();
    void Table1AfterClose();
    void Table1AfterScroll();
    void DBGrid1Enter();
    void DataSetNext1Execute();
    void DataSetPrior1Execute();
    void RichEdit1DblClick();
    void WordDBText1Click();

    // --- find in entries (Lexivo1Find.cpp) ---------------------------------------------------
    void FindEntries1Execute();
    class FindPanel *findPanel() const { return m_findPanel; }

    // --- search history (Lexivo1History.cpp) -------------------------------------------------
    void PriorSearch1Execute();
    void NextSearch1Execute();
    void PriorMenuItemClick(int item);
    void NextMenuItemClick(int item);
    SearchHistory *history() const { return m_history; }

    // --- speech and clipboard watch (Lexivo1Speech.cpp) --------------------------------------
    void SpeakWord1Execute();
    void SpeakWordsExecute();
    void SoundStop1Execute();
    void Timer1Timer();
    void CheckClipAction1Execute();
    void CheckClipSoundAction1Execute();
    void AutoRestoreActionExecute();

    // --- tray (Lexivo1Tray.cpp) --------------------------------------------------------------
    void TrayIcon1Restore();
    void RestoreActionExecute();

    // --- view options (Lexivo1View.cpp) ------------------------------------------------------
    void ShowHideLeftActionExecute();
    void ToolbarActionExecute();
    void StatusBarActionExecute();
    void AoTAction1Execute();

    // --- text commands (Lexivo1Editing.cpp) --------------------------------------------------
    void RichEditBold1Execute();
    void RichEditItalic1Execute();
    void RichEditUnderline1Execute();
    void EditCopyWordActionExecute();

    // --- mail, help, the about panel and the feedback links (Lexivo1About.cpp) ----------------
    void FileSend1Execute();
    void ContentAction1Execute();
    void SuggestActionExecute();
    void ReportActionExecute();
    void HelpAbout1Execute();
    void VendorURLLabel1Click();
    void VendorUrlImage1Click();

    // --- the window's components, by the names every handler uses ----------------------------
    QMenuBar *MainMenu1 = nullptr;
    QWidget *ControlBar1 = nullptr;
    QToolBar *ToolBar1 = nullptr;
    QWidget *ScrollBox1 = nullptr;
    QStatusBar *StatusBar = nullptr;
    QLabel *StatusPanels[3] = {};

    QFrame *WordsListPanel1 = nullptr;
    WordGrid *DBGrid1 = nullptr;
    QFrame *ScrollPanel1 = nullptr;
    SearchEdit *SEdit1 = nullptr;

    HeadwordLabel *WordDBText1 = nullptr;
    QFrame *Shape2 = nullptr;
    QLabel *DefSynLabel1 = nullptr;
    EntryView *RichEdit1 = nullptr;
    SuggestionLine *SuggestionLine1 = nullptr;
    QLabel *WordPronLabel1 = nullptr;

    // the about panel
    QLabel *AboutImage1 = nullptr;
    QLabel *ProgramIcon = nullptr;
    QLabel *VersionLabel1 = nullptr;
    QFrame *TilteShape = nullptr;
    QLabel *CopyrightLabel1 = nullptr;
    QFrame *AboutShape1 = nullptr;
    QLabel *AboutMessLabel1 = nullptr;
    QLabel *VendorUrlImage1 = nullptr;
    QLabel *VendorURLLabel1 = nullptr;

    QMenu *RichEditPopupMenu1 = nullptr;
    QMenu *SWordPopupMenu1 = nullptr;
    QMenu *EditPopupMenu1 = nullptr;
    QMenu *TrayPopupMenu1 = nullptr;
    QMenu *PriorPopupMenu = nullptr;
    QMenu *NextPopupMenu = nullptr;

    DictionarySession *Session1 = nullptr;
    DictionaryTable *Table1 = nullptr;
    DataLink *DataSource1 = nullptr;
    QTimer *Timer1 = nullptr;
    ImageList *ImageList1 = nullptr;
    ImageList *ImageList2 = nullptr;
    TTrayIcon *TrayIcon1 = nullptr;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // --- construction, in the order the constructor calls it (Lexivo1Layout.cpp, Lexivo1Bind.cpp) ---
    void buildLayout();
    void buildCommands();
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void createDataComponents();
    void bindHandlers();
    struct HandlerRow;
    static std::span<const HandlerRow> handlerTable();
    // Every menu's, context menu's and the toolbar's list of commands.
    static QList<QList<Command>> commandLists();
    // Runs an event's handler; a failure escaping it is shown in the error box and the program goes on.
    template <typename F>
    void guarded(F &&handler);

    Application *m_app;
    Platform m_platform;
    FormEnvironment m_env;
    bool m_startupFailed = false;
    bool m_created = false;
    bool m_settingsFailureSaid = false; // the settings file could not be read: said at start, not again at exit
    // What the destructor does, also run by a constructor that fails half-way.
    void tearDown();
    bool m_started = false;
    std::array<QAction *, size_t(Command::Count)> m_actions{};
    std::unique_ptr<DictionarySession> m_session;

    // --- lifecycle, the entry face and the layout's anchors (Lexivo1.cpp) -----------------------
    void showEntryFace();
    void setAboutPanelVisible(bool visible);
    QList<QWidget *> aboutPanel() const;
    void anchorChildren(QSize boxSize);
    QSize m_boxSize;

    // --- settings (Lexivo1Settings.cpp) ------------------------------------------------------
    void applySettings();
    void saveSettings(bool quiet = false);

    // --- lookup (Lexivo1Lookup.cpp) ------------------------------------------------------------
    void writePosition();
    void updateNavigationCommands();

    // --- find in entries (Lexivo1Find.cpp) ---------------------------------------------------
    void showFoundEntry(int row, const QString &headword, const QStringList &words);
    class FindPanel *m_findPanel = nullptr;

    // --- search history (Lexivo1History.cpp) -------------------------------------------------
    void createHistory();
    void recordFollowedWord();
    void syncHistoryMenus();
    SearchHistory *m_history = nullptr;
    bool m_inHistoryMenuClick = false;

    // --- speech and clipboard watch (Lexivo1Speech.cpp) --------------------------------------
    void createSpeech();
    void startSpeechOrThrow();
    void releaseSpeech();
    void createClipboardWatcher();
    // The watcher's modes, with the check marks and the timer following them.
    void setClipboardModes(const ClipboardModes &modes);
    std::unique_ptr<Speaker> m_speaker;
    std::unique_ptr<ClipboardWatcher> m_clipboardWatcher;

    // --- tray (Lexivo1Tray.cpp) --------------------------------------------------------------
    void createTrayIcon();

    // --- view options (Lexivo1View.cpp) ------------------------------------------------------
    void setEntryFaceLeft(int left);
    void setExplorerCommand(bool hidden);
    void setExplorerEditCommandsVisible(bool visible);
    void hideWordsExplorer(bool fromCommand);
    void showWordsExplorer();
    void setStayOnTop(bool onTop);

    // --- text commands (Lexivo1Editing.cpp) --------------------------------------------------
    void createEditing();
    void bindStandardEditCommands();
    // The commands that act on the focused text control, in EditCommands::kAll's order: StandardEditCommands
    // carries them out, not the handler table.
    static constexpr std::array<Command, 6> kStandardEditCommands = {
        Command::EditCut1, Command::EditCopy1, Command::EditPaste1,
        Command::EditDelete1, Command::EditUndo1, Command::EditSelectAll1};
    class KeyRouter *m_keyRouter = nullptr;
    class StandardEditCommands *m_editCommands = nullptr;
    class EmphasisBinding *m_boldBinding = nullptr;
    class EmphasisBinding *m_italicBinding = nullptr;
    class EmphasisBinding *m_underlineBinding = nullptr;

    // --- mail, help, the about panel and the feedback links (Lexivo1About.cpp) ----------------
    void createSharing();
    QCursor handCursor() const;
    void fillAboutPanel();
    void placeAboutPanel();
    void mailFinished(bool handedOver);
    class MailHandoff *m_mailHandoff = nullptr;
    bool m_aboutFilled = false;

    // --- suggestion line and pronunciation (Lexivo1Suggestions.cpp) --------------------------
    void createSuggestionLine();
    void updateSuggestionLine();
    void showPronunciation();
    void followWord(const QString &word);
    std::function<void()> m_placeSuggestionLine; // the line and the pronunciation to their places
    std::unique_ptr<TableHeadwords> m_headwords;
    SpellingAssistant *m_spelling = nullptr;

    // --- added dictionaries (Lexivo1Dictionaries.cpp) -------------------------------------------
public:
    // Reads the dictionaries the user has beside the built-in one, on a thread; called once the first entry is painted.
    void startAddedDictionaries();
    AddedDictionaries *addedDictionaries() const { return m_added; }
    void DictionariesAction1Execute();

private:
    void createAddedDictionaries();
    AddedDictionaries *m_added = nullptr;
    QString m_addedProgress;
};
