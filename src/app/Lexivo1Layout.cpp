// The window's controls, menus, toolbar and status bar, as the layout places them.
#include "app/Lexivo1.h"

#include "app/CommandTable.h"
#include "app/EntryView.h"
#include "app/HeadwordLabel.h"
#include "app/SearchEdit.h"
#include "app/WordGrid.h"
#include "artwork/Artwork.h"
#include "platform/ImageList.h"

#include <QAction>
#include <QActionGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QFont arial(int pixels, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void setColors(QWidget *w, const QColor &background, const QColor &text = QColor())
{
    QPalette pal = w->palette();
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
        pal.setColor(role, background);
    }
    if (text.isValid()) {
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            pal.setColor(role, text);
    }
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

QFrame *rule(QWidget *parent, const char *name, QRect geometry)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(name));
    frame->setFrameShape(QFrame::NoFrame);
    setColors(frame, Qt::black);
    frame->setGeometry(geometry);
    return frame;
}

QLabel *label(QWidget *parent, const char *name, QPoint at)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->move(at);
    return l;
}

const QColor kNavy(0, 0, 128);
const QColor kPanel(0, 0, 32);


using enum Command;
constexpr Command Sep = Separator;

struct MenuDef
{
    const char *name;
    const char *caption;
    const char *hint;
    std::span<const Command> items;
};

constexpr Command kFileMenu[] = {FileSend1, Sep, FileClose1};
constexpr Command kEditMenu[] = {EditCut1, EditCopy1, EditPaste1, EditDelete1, Sep, EditUndo1};
constexpr Command kViewMenu[] = {ToolbarAction, StatusBarAction, Sep, ShowHideLeftAction};
constexpr Command kNavigateMenu[] = {DataSetNext1, DataSetPrior1, Sep, NextSearch1, PriorSearch1, Sep, FindEntries1};
constexpr Command kSoundMenu[] = {SpeakWord1, SpeakWords, Sep, SoundStop1};
constexpr Command kOptionsMenu[] = {AoTAction1, AutoRestoreAction, Sep, CheckClipAction1, CheckClipSoundAction1, Sep,
                                    DictionariesAction1};
constexpr Command kHelpMenu[] = {ContentAction1, Sep, SuggestAction, ReportAction, Sep, HelpAbout1};

constexpr MenuDef kMainMenus[] = {
    {"File1", "&File", "File related commands", kFileMenu},
    {"Edit1", "&Edit", "Edit commands", kEditMenu},
    {"View1", "&View", "View commands", kViewMenu},
    {"Navigate1", "&Navigate", "Navigate commands", kNavigateMenu},
    {"Sound1", "&Sound", "Sound commands", kSoundMenu},
    {"Options1", "&Options", "Options commands", kOptionsMenu},
    {"Help1", "&Help", "Help topics", kHelpMenu},
};

constexpr Command kRichEditPopup[] = {EditCopy1, Sep, EditSelectAll1, Sep, SpeakWords, SoundStop1};
constexpr Command kWordPopup[] = {EditCopyWordAction, Sep, SpeakWord1, SoundStop1};
constexpr Command kEditPopup[] = {EditUndo1, Sep, EditCut1, EditCopy1, EditPaste1, EditDelete1, Sep,
                                  EditSelectAll1, Sep, SpeakWord1, SoundStop1};
constexpr Command kTrayPopup[] = {RestoreAction, Sep, SpeakWord1, SoundStop1, Sep, FileExit1};

// The two history buttons open their lists of searched words.
constexpr Command kToolBar[] = {PriorSearch1, NextSearch1, Sep, ShowHideLeftAction, Sep, EditPaste1, EditCopy1, EditCut1,
                                Sep, CheckClipAction1, CheckClipSoundAction1, Sep, SpeakWord1, SpeakWords, SoundStop1,
                                Sep, ContentAction1};

} // namespace

void TLexivoAppForm::buildLayout()
{
    setObjectName(QStringLiteral("LexivoAppForm"));
    setWindowTitle(QStringLiteral("Verbarium"));
    QFont formFont(QStringLiteral("MS Sans Serif"));
    formFont.setPixelSize(11);
    setFont(formFont);

    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setCentralWidget(central);

    ControlBar1 = new QWidget(central);
    ControlBar1->setObjectName(QStringLiteral("ControlBar1"));
    ControlBar1->setFixedHeight(28);
    ToolBar1 = new QToolBar(ControlBar1);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setGeometry(0, 2, 535, 22);
    ToolBar1->setAccessibleName(QStringLiteral("Toolbar"));
    column->addWidget(ControlBar1);

    ScrollBox1 = new QWidget(central);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    setColors(ScrollBox1, Qt::white);
    column->addWidget(ScrollBox1, 1);

    // The words explorer.
    WordsListPanel1 = new QFrame(ScrollBox1);
    WordsListPanel1->setObjectName(QStringLiteral("WordsListPanel1"));
    setColors(WordsListPanel1, kPanel);
    WordsListPanel1->setGeometry(0, 0, 164, 296);

    DBGrid1 = new WordGrid(WordsListPanel1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setFont(arial(13));
    setColors(DBGrid1, kPanel, QColor(0, 255, 128));
    {
        // The selection stays visible while the list has no focus.
        QPalette pal = DBGrid1->palette();
        pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
        pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
        DBGrid1->setPalette(pal);
    }
    DBGrid1->setGeometry(13, 40, 154, 246);
    DBGrid1->setToolTip(QStringLiteral("Click to see word definition and to scroll"));
    DBGrid1->setStatusTip(QStringLiteral("Click to see word definition and to scroll"));
    DBGrid1->setAccessibleName(QStringLiteral("Word list"));
    DBGrid1->setAccessibleDescription(QStringLiteral("Click to see word definition and to scroll"));

    ScrollPanel1 = new QFrame(WordsListPanel1);
    ScrollPanel1->setObjectName(QStringLiteral("ScrollPanel1"));
    setColors(ScrollPanel1, kPanel);
    ScrollPanel1->setGeometry(150, 30, 18, 281);

    SEdit1 = new SearchEdit(ScrollBox1);
    SEdit1->setObjectName(QStringLiteral("SEdit1"));
    SEdit1->setGeometry(10, 12, 141, 23);
    SEdit1->setFont(arial(12));
    setColors(SEdit1, QColor(237, 245, 129), kNavy);
    SEdit1->setAccessibleName(QStringLiteral("Search"));
    SEdit1->setAccessibleDescription(QStringLiteral("Type a word: the list jumps to the nearest headword"));

    // The entry face.
    WordDBText1 = new HeadwordLabel(ScrollBox1);
    WordDBText1->setObjectName(QStringLiteral("WordDBText1"));
    WordDBText1->setTextFormat(Qt::PlainText);
    WordDBText1->setFont(arial(15, true));
    {
        QPalette pal = WordDBText1->palette();
        pal.setColor(QPalette::WindowText, Qt::red);
        WordDBText1->setPalette(pal);
    }
    WordDBText1->move(184, 8);

    Shape2 = rule(ScrollBox1, "Shape2", QRect(173, 26, 350, 2));

    DefSynLabel1 = label(ScrollBox1, "DefSynLabel1", QPoint(184, 30));
    DefSynLabel1->setText(QStringLiteral("definitions:"));
    DefSynLabel1->adjustSize();

    RichEdit1 = new EntryView(ScrollBox1);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setGeometry(176, 48, 345, 239);
    RichEdit1->setFont(arial(13));
    setColors(RichEdit1, Qt::white, kNavy);
    RichEdit1->setToolTip(QStringLiteral("Double-click a word to see its definition"));
    RichEdit1->setStatusTip(QStringLiteral("Double-click a word to see its definition"));
    RichEdit1->setAccessibleName(QStringLiteral("Entry"));
    RichEdit1->setAccessibleDescription(QStringLiteral("Double-click a word to see its definition"));

    // The about panel shares the entry area; its contents are filled by the sharing code.
    AboutImage1 = label(ScrollBox1, "AboutImage1", QPoint(164 + 73, 12));
    ProgramIcon = label(ScrollBox1, "ProgramIcon", QPoint(164 + 37, 20));
    VersionLabel1 = label(ScrollBox1, "VersionLabel1", QPoint(164 + 85, 38));
    VersionLabel1->setText(QStringLiteral("Version 1.0"));
    VersionLabel1->setFont(arial(12, true));
    TilteShape = rule(ScrollBox1, "TilteShape", QRect(164 + 32, 62, 305, 1));
    CopyrightLabel1 = label(ScrollBox1, "CopyrightLabel1", QPoint(164 + 37, 72));
    CopyrightLabel1->resize(281, 33);
    CopyrightLabel1->setWordWrap(true);
    CopyrightLabel1->setFont(arial(13));
    AboutShape1 = rule(ScrollBox1, "AboutShape1", QRect(164 + 32, 214, 305, 1));
    AboutMessLabel1 = label(ScrollBox1, "AboutMessLabel1", QPoint(164 + 37, 224));
    AboutMessLabel1->resize(289, 17);
    AboutMessLabel1->setWordWrap(true);
    AboutMessLabel1->setFont(arial(13));
    VendorUrlImage1 = label(ScrollBox1, "VendorUrlImage1", QPoint(164 + 37, 263));
    VendorUrlImage1->resize(25, 16);
    VendorURLLabel1 = label(ScrollBox1, "VendorURLLabel1", QPoint(164 + 57, 263));
    {
        QFont link = arial(13);
        link.setUnderline(true);
        VendorURLLabel1->setFont(link);
    }
    for (QLabel *l : {VersionLabel1, CopyrightLabel1, AboutMessLabel1}) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, kNavy);
        l->setPalette(pal);
    }
    {
        QPalette pal = VendorURLLabel1->palette();
        pal.setColor(QPalette::WindowText, Qt::blue);
        VendorURLLabel1->setPalette(pal);
        setColors(VendorURLLabel1, Qt::white, Qt::blue);
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);

    ImageList1 = new ImageList(QSize(16, 16), this);
    ImageList1->setObjectName(QStringLiteral("ImageList1"));
    Artwork::fillImageList(*ImageList1, Artwork::commandImages());
    ImageList2 = new ImageList(QSize(16, 16), this);
    ImageList2->setObjectName(QStringLiteral("ImageList2"));
    Artwork::fillImageList(*ImageList2, Artwork::trayImages());

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setToolTip(QStringLiteral("Verbarium"));
    StatusBar->setSizeGripEnabled(false);
    setStatusBar(StatusBar);
}

void TLexivoAppForm::buildStatusBar()
{
    // The panels keep their widths and are clipped by a narrow window, rather than widening it.
    auto *strip = new QWidget(StatusBar);
    strip->setObjectName(QStringLiteral("StatusPanels"));
    strip->setMinimumWidth(0);
    strip->setFixedHeight(16);
    for (int i = 0; i < 3; ++i) {
        StatusPanels[i] = new QLabel(strip);
        StatusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
    }
    QLabel *position = StatusPanels[1];
    position->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    position->setFrameShape(QFrame::Panel);
    position->setFrameShadow(QFrame::Sunken);
    // The fonts that stand in for the designed one are wider: a position on a large dictionary
    // ("110620/151913") would lose its first digits, showing another row's number.
    const int positionWidth = position->fontMetrics().horizontalAdvance(QStringLiteral("000000/000000"))
                              + 2 * position->frameWidth() + 2 * position->margin() + 4;
    const int widths[3] = {430, std::max(85, positionWidth), 50};
    int x = 0;
    for (int i = 0; i < 3; ++i) {
        StatusPanels[i]->setGeometry(x, 0, widths[i], 16);
        x += widths[i];
    }
    StatusPanels[0]->setText(QStringLiteral("Verbarium"));
    StatusBar->addWidget(strip, 1);
    StatusBar->setContentsMargins(0, 0, 0, 0);
    StatusBar->setFixedHeight(16);
}

void TLexivoAppForm::buildCommands()
{
    for (const CommandDef &def : commandTable()) {
        auto *a = new QAction(this);
        m_actions[size_t(def.id)] = a;
        a->setObjectName(QLatin1String(def.name));
        a->setText(QString::fromUtf8(def.caption));
        const QString hint = QString::fromUtf8(def.hint);
        a->setToolTip(shortHint(hint));
        a->setStatusTip(longHint(hint));
        a->setWhatsThis(longHint(hint));
        a->setProperty("category", QString::fromUtf8(def.category));
        a->setProperty("hint", hint);
        a->setProperty("imageIndex", def.imageIndex);
        if (*def.shortcut)
            a->setShortcut(QKeySequence(QString::fromLatin1(def.shortcut)));
        if (def.imageIndex >= 0)
            a->setIcon(ImageList1->icon(def.imageIndex));
        const bool checkable = def.state & (CommandDef::Checkable | CommandDef::ChecksItself);
        a->setCheckable(checkable);
        a->setChecked(def.state & CommandDef::Checked);
        a->setEnabled(!(def.state & CommandDef::Disabled));
        // The format commands live only on their shortcuts: the window itself carries them.
        addAction(a);
    }
}

void TLexivoAppForm::buildMenus()
{
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    auto fill = [this](QMenu *menu, std::span<const Command> items) {
        for (Command id : items) {
            if (id == Command::Separator)
                menu->addSeparator();
            else
                menu->addAction(action(id));
        }
    };
    for (const MenuDef &def : kMainMenus) {
        QMenu *menu = MainMenu1->addMenu(QString::fromUtf8(def.caption));
        menu->setObjectName(QLatin1String(def.name));
        menu->menuAction()->setStatusTip(QString::fromUtf8(def.hint));
        menu->setToolTipsVisible(false);
        fill(menu, def.items);
    }

    auto popup = [this, &fill](const char *name, std::span<const Command> items) {
        auto *menu = new QMenu(this);
        menu->setObjectName(QLatin1String(name));
        fill(menu, items);
        return menu;
    };
    RichEditPopupMenu1 = popup("RichEditPopupMenu1", kRichEditPopup);
    SWordPopupMenu1 = popup("SWordPopupMenu1", kWordPopup);
    EditPopupMenu1 = popup("EditPopupMenu1", kEditPopup);
    TrayPopupMenu1 = popup("TrayPopupMenu1", kTrayPopup);
    PriorPopupMenu = popup("PriorPopupMenu", {});
    NextPopupMenu = popup("NextPopupMenu", {});

    auto attach = [](QWidget *w, QMenu *menu) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(w, &QWidget::customContextMenuRequested, menu, [w, menu](const QPoint &pos) {
            menu->popup(w->mapToGlobal(pos));
        });
        w->setProperty("contextMenu", QVariant::fromValue(static_cast<QObject *>(menu)));
    };
    attach(RichEdit1, RichEditPopupMenu1);
    attach(WordDBText1, SWordPopupMenu1);
    attach(DBGrid1, SWordPopupMenu1);
    attach(SEdit1, EditPopupMenu1);
}

void TLexivoAppForm::buildToolBar()
{
    auto dropDown = [this](Command id, QMenu *menu) {
        auto *button = new QToolButton(ToolBar1);
        button->setDefaultAction(action(id));
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
        button->setObjectName(QStringLiteral("%1Button").arg(QLatin1String(commandDef(id).name)));
        button->setAutoRaise(true);
        ToolBar1->addWidget(button);
    };
    auto separator = [this] {
        auto *gap = new QWidget(ToolBar1);
        gap->setFixedWidth(8);
        ToolBar1->addWidget(gap);
    };
    for (Command id : kToolBar) {
        if (id == Command::Separator)
            separator();
        else if (id == Command::PriorSearch1)
            dropDown(id, PriorPopupMenu);
        else if (id == Command::NextSearch1)
            dropDown(id, NextPopupMenu);
        else
            ToolBar1->addAction(action(id));
    }
}

QList<QList<Command>> TLexivoAppForm::commandLists()
{
    QList<QList<Command>> lists;
    for (const MenuDef &def : kMainMenus)
        lists.append(QList<Command>(def.items.begin(), def.items.end()));
    for (std::span<const Command> items : {std::span<const Command>(kRichEditPopup), std::span<const Command>(kWordPopup),
                                           std::span<const Command>(kEditPopup), std::span<const Command>(kTrayPopup),
                                           std::span<const Command>(kToolBar)})
        lists.append(QList<Command>(items.begin(), items.end()));
    return lists;
}
