// Construction and lifecycle of the main window.
#include "app/Lexivo1.h"

#include "app/Accessibility.h"
#include "app/CommandTable.h"
#include "app/DataLink.h"
#include "app/EntryView.h"
#include "app/HeadwordLabel.h"
#include "app/SearchEdit.h"
#include "app/WordGrid.h"
#include "dictionary/DictionarySession.h"
#include "dictionary/DictionaryTable.h"
#include "platform/AppError.h"
#include "platform/Application.h"
#include "platform/ImageList.h"
#include "clipboard/ClipboardWatcher.h"
#include "text/LookupText.h"
#include "speech/Speaker.h"
#include "lexicon/SpellingAssistant.h"
#include "lexicon/TableHeadwords.h"
#include "tray/Trayicon.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>

namespace {
// The scroll box's size in the layout; anchored controls keep their distances from its edges.
constexpr QSize kDesignBox(535, 296);
constexpr int kFrameWidth = 8;  // the layout measures the window with its frame
}

TLexivoAppForm::TLexivoAppForm(Application *app, Platform platform, FormEnvironment env, QWidget *parent)
    : QMainWindow(parent), m_app(app), m_platform(std::move(platform)), m_env(std::move(env))
{
    Q_ASSERT_X(commandWiringFaults().isEmpty(), "TLexivoAppForm", qPrintable(commandWiringFaults().join(u'\n')));
    try {
        buildLayout();
        buildCommands();
        buildMenus();
        buildToolBar();
        buildStatusBar();
        createDataComponents();
        createTrayIcon();
        createClipboardWatcher();
        bindHandlers();

        resize(kDesignBox.width(), MainMenu1->sizeHint().height() + ControlBar1->height() + kDesignBox.height()
                                       + StatusBar->height());
        move(225, 316);
        m_boxSize = kDesignBox;
        ScrollBox1->installEventFilter(this);
        m_app->setMainForm(this);

        // Typing goes to the search box from the first keystroke.
        setTabOrder(SEdit1, DBGrid1);
        setTabOrder(DBGrid1, RichEdit1);
        SEdit1->setFocus();

        FormCreate();
        createHistory();
        createEditing();
        createSharing();
        createSuggestionLine();
        Accessibility::setUp(this);
    } catch (...) {
        // No destructor runs for a window that failed half-built: take it down in the same order here, before
        // its controls go, and let the failure be reported.
        tearDown();
        throw;
    }
    m_created = true;
}

TLexivoAppForm::~TLexivoAppForm()
{
    tearDown();
}

void TLexivoAppForm::tearDown()
{
    FormDestroy();
    // The spelling thread stops before the table its answers are checked against goes.
    delete m_spelling;
    m_spelling = nullptr;
    // The table closes before the controls bound to it and the session it holds its password in go.
    delete DataSource1;
    DataSource1 = nullptr;
    delete Table1;
    Table1 = nullptr;
    if (m_app->mainForm() == this)
        m_app->setMainForm(nullptr);
}

QAction *TLexivoAppForm::action(Command id) const
{
    Q_ASSERT(id >= Command(0) && id < Command::Count);
    return m_actions[size_t(id)];
}

int TLexivoAppForm::formWidth() const
{
    return width() + kFrameWidth;
}

void TLexivoAppForm::setFormWidth(int width)
{
    resize(width - kFrameWidth, height());
}

void TLexivoAppForm::createDataComponents()
{
    m_session = std::make_unique<DictionarySession>();
    Session1 = m_session.get();
    Session1->setSessionName(QStringLiteral("Session1_2"));
    Table1 = new DictionaryTable(Session1, this);
    Table1->setObjectName(QStringLiteral("Table1"));
    Table1->setTableName(tableFileName());
    Table1->setPreopened(m_env.preopenedDictionary);
    DBGrid1->setTable(Table1);
    DBGrid1->setColumnWidthPx(137);
    DataSource1 = new DataLink(Table1, DBGrid1, WordDBText1, RichEdit1, this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    createAddedDictionaries();
}

void TLexivoAppForm::FormCreate()
{
    createSpeech();
    try {
        // The engine's scratch and control files go to the user's temporary folder.
        const QString temp = QDir::tempPath() + QLatin1Char('/');
        Session1->setNetFileDir(temp);
        Session1->setPrivateDir(temp);
        Session1->setActive(true);
        Table1->open();

        const QCursor hand = handCursor();
        DBGrid1->viewport()->setCursor(hand);
        RichEdit1->viewport()->setCursor(hand);
        VendorUrlImage1->setCursor(hand);
        VendorURLLabel1->setCursor(hand);

        showEntryFace();
        applySettings();
    } catch (const AppError &error) {
        // The rest of start-up is skipped; the window keeps what was set so far.
        m_platform.messages.exception(error.message());
    }
    m_startupFailed = !Table1->isOpen();
}

void TLexivoAppForm::FormShow()
{
    m_app->restore();
    m_app->processMessages();
}

void TLexivoAppForm::FormActivate()
{
    m_app->restore();
    m_app->processMessages();
    if (!Table1->isOpen())
        m_app->terminate();
}

void TLexivoAppForm::FormPaint()
{
    // Painting must not re-enter the event loop: the restore waits for the loop's next turn. The toolkit also
    // paints a window that is iconified; that is no sign of the user bringing it back.
    if (m_app->isMinimized() && !isMinimized())
        QTimer::singleShot(0, m_app, &Application::restore);
}

void TLexivoAppForm::FormDestroy()
{
    releaseSpeech();
}

void TLexivoAppForm::FormResize()
{
    ToolBar1->resize(ControlBar1->width(), ToolBar1->height());
    ScrollPanel1->setGeometry(ScrollPanel1->x(), DBGrid1->y(), ScrollPanel1->width(), DBGrid1->height());
}

void TLexivoAppForm::FileClose1Execute()
{
    close();
}

void TLexivoAppForm::FileExit1Execute()
{
    saveSettings();
    m_app->terminate();
}

void TLexivoAppForm::endSession()
{
    if (m_app->terminated())
        return;
    saveAtSessionEnd();
    m_app->terminate();
}

void TLexivoAppForm::saveAtSessionEnd()
{
    saveSettings(true);
}

void TLexivoAppForm::closeEvent(QCloseEvent *event)
{
    if (m_app->terminated()) {
        event->accept();
        return;
    }
    // With no icon to come back through, hiding would strand the program: closing is leaving.
    if (!TrayIcon1 || !TrayIcon1->InNotificationArea()) {
        FileExit1Execute();
        event->accept();
        return;
    }
    // Closing only hides the program to the tray; "E&xit" is the one way out.
    m_app->hideAppWindow();
    m_app->processMessages();
    m_app->hideForm();
    m_app->processMessages();
    m_app->minimize();
    m_app->processMessages();
    event->ignore();
    m_app->processMessages();
}

void TLexivoAppForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Coming up iconified (a stored minimised state) is no request to restore.
    if (m_created && !event->spontaneous())
        QTimer::singleShot(0, this, [this] {
            if (!isMinimized())
                FormShow();
        });
}

void TLexivoAppForm::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    FormPaint();
}

void TLexivoAppForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TLexivoAppForm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Some window managers hand the focus to a window they have just iconified: that is no restore.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !isMinimized()) {
        FormActivate();
    } else if (event->type() == QEvent::WindowStateChange && isVisible() && !m_app->isApplyingState()) {
        // The window manager's minimise and restore reach the application as system commands.
        if (isMinimized())
            m_app->formIconified();
        if (isMinimized() && !m_app->isMinimized())
            m_app->systemCommand(Application::SystemCommand::Minimize);
        else if (!isMinimized() && m_app->isMinimized())
            m_app->systemCommand(Application::SystemCommand::Restore);
    }
}

bool TLexivoAppForm::event(QEvent *event)
{
    if (event->type() == QEvent::StatusTip) {
        // The first panel shows the long hint of whatever is under the mouse.
        StatusPanels[0]->setText(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TLexivoAppForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ScrollBox1 && event->type() == QEvent::Resize) {
        anchorChildren(ScrollBox1->size());
        FormResize();
    }
    return QMainWindow::eventFilter(watched, event);
}

// Anchors: a control anchored to the right or bottom edge keeps its distance to that edge as the
// scroll box changes size, and so grows or shrinks with it.
void TLexivoAppForm::anchorChildren(QSize boxSize)
{
    const int dw = boxSize.width() - m_boxSize.width();
    const int dh = boxSize.height() - m_boxSize.height();
    m_boxSize = boxSize;
    if (dw == 0 && dh == 0)
        return;
    WordsListPanel1->resize(WordsListPanel1->width(), boxSize.height());
    DBGrid1->resize(DBGrid1->width(), DBGrid1->height() + dh);
    Shape2->resize(Shape2->width() + dw, Shape2->height());
    RichEdit1->resize(RichEdit1->width() + dw, RichEdit1->height() + dh);
}

void TLexivoAppForm::showEntryFace()
{
    for (QWidget *w : std::initializer_list<QWidget *>{WordDBText1, Shape2, DefSynLabel1, RichEdit1})
        w->show();
    setAboutPanelVisible(false);
}

void TLexivoAppForm::setAboutPanelVisible(bool visible)
{
    // Its artwork is painted when the panel is first shown, not while the window starts.
    if (visible && !m_aboutFilled) {
        fillAboutPanel();
        m_aboutFilled = true;
    }
    for (QWidget *w : aboutPanel())
        w->setVisible(visible);
}

QList<QWidget *> TLexivoAppForm::aboutPanel() const
{
    return {AboutImage1, ProgramIcon, VersionLabel1, TilteShape, CopyrightLabel1,
            AboutShape1, AboutMessLabel1, VendorUrlImage1, VendorURLLabel1};
}

void TLexivoAppForm::showFromAnotherStart()
{
    // A second start asks to be shown normally and brought to the front.
    m_app->restore();
    m_app->showAppWindow();
    m_app->showForm();
    m_app->processMessages();
    m_app->bringToFront();
}

void TLexivoAppForm::lookUpFromAnotherStart(const QString &word)
{
    SEdit1->setText(lookupTextOf(word));
    showFromAnotherStart();
}
