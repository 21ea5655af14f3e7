#include "app/Accessibility.h"

#include "app/CommandTable.h"
#include "app/HeadwordLabel.h"
#include "app/WordGrid.h"
#include "app/Lexivo1.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace {

// The application's accessible object with its open popup menus after its windows.
class ApplicationWithPopups final : public QAccessibleApplication
{
public:
    int childCount() const override { return QAccessibleApplication::childCount() + int(popups().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const int windows = QAccessibleApplication::childCount();
        if (index < windows)
            return QAccessibleApplication::child(index);
        const QList<QMenu *> menus = popups();
        return index - windows < menus.size() ? QAccessible::queryAccessibleInterface(menus.at(index - windows))
                                              : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child && child->object()) {
            const int at = int(popups().indexOf(qobject_cast<QMenu *>(child->object())));
            if (at >= 0)
                return QAccessibleApplication::childCount() + at;
        }
        return QAccessibleApplication::indexOfChild(child);
    }

private:
    static QList<QMenu *> popups() { return Accessibility::openPopupMenus(); }
};

// The application, and the program's own windows made of a plain widget (the help viewer, the find panel):
// Qt would give such a window the role of a mere client area, which screen readers do not list as a window.
QAccessibleInterface *programFactory(const QString &className, QObject *object)
{
    if (!object)
        return nullptr;
    if (object == qApp)
        return new ApplicationWithPopups;
    const QMetaObject *type = object->metaObject();
    const Qt::WindowType kind = object->isWidgetType() ? static_cast<QWidget *>(object)->windowType() : Qt::Widget;
    if ((kind == Qt::Window || kind == Qt::Tool) && className == QLatin1String(type->className())
        && type->superClass() == &QWidget::staticMetaObject)
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

// A submenu opened from a menu bar or another menu is reached through that menu; only the others are loose.
bool reachedThroughMenu(QMenu *menu)
{
    for (QObject *owner : menu->menuAction()->associatedObjects()) {
        auto *w = qobject_cast<QWidget *>(owner);
        if (w && w != menu && w->isVisible() && (qobject_cast<QMenu *>(w) || qobject_cast<QMenuBar *>(w)))
            return true;
    }
    return false;
}

// A toolbar button speaks its caption; its description is the command's designed long hint, which says
// what it does (the shown hint of the explorer command only repeats the caption).
void describeToolButtons(TLexivoAppForm *f)
{
    for (const CommandDef &def : commandTable()) {
        QAction *command = f->action(def.id);
        const QString description = longHint(QString::fromUtf8(def.hint));
        for (QObject *user : command->associatedObjects()) {
            auto *button = qobject_cast<QToolButton *>(user);
            if (button && button->defaultAction() == command)
                button->setAccessibleDescription(description);
        }
    }
}

void describeControls(TLexivoAppForm *f)
{
    f->WordsListPanel1->setAccessibleName(QStringLiteral("Words Explorer"));
    f->WordsListPanel1->setAccessibleDescription(QStringLiteral("The search box and the list of headwords"));
    f->DBGrid1->setAccessibleDescription(
        QStringLiteral("Every headword of the dictionary; the highlighted one's entry is shown. Arrow keys move it"));
    f->WordDBText1->setAccessibleDescription(QStringLiteral("The headword whose entry is shown"));
    f->DefSynLabel1->setAccessibleDescription(QStringLiteral("Caption of the entry below"));
    f->WordPronLabel1->setAccessibleDescription(QStringLiteral("Pronunciation of the headword"));
    f->StatusBar->setAccessibleName(QStringLiteral("Status bar"));
    f->StatusPanels[0]->setAccessibleDescription(QStringLiteral("What the command or control under the pointer does"));
    f->StatusPanels[1]->setAccessibleDescription(
        QStringLiteral("Position of the headword in the dictionary: its row, a slash, the number of headwords"));
    f->StatusPanels[2]->setAccessibleName(QStringLiteral("Empty panel"));
    f->ToolBar1->setAccessibleDescription(QStringLiteral("The commands most used, as buttons"));
    f->MainMenu1->setAccessibleName(QStringLiteral("Menu bar"));
    f->PriorPopupMenu->setAccessibleName(QStringLiteral("Earlier words"));
    f->NextPopupMenu->setAccessibleName(QStringLiteral("Later words"));
    f->TrayPopupMenu1->setAccessibleName(QStringLiteral("Verbarium"));
    // Qt's own button for the toolbar buttons that find no room.
    if (auto *more = f->ToolBar1->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"))) {
        more->setAccessibleName(QStringLiteral("More buttons"));
        more->setAccessibleDescription(QStringLiteral("Shows the toolbar buttons that the window is too narrow for"));
    }

    // The about panel: pictures get names, the labels speak their texts.
    f->AboutImage1->setAccessibleName(QStringLiteral("Verbarium"));
    f->AboutImage1->setAccessibleDescription(QStringLiteral("The program's title"));
    f->ProgramIcon->setAccessibleName(QStringLiteral("Program icon"));
    f->VersionLabel1->setAccessibleDescription(QStringLiteral("Version of the program"));
    f->CopyrightLabel1->setAccessibleDescription(QStringLiteral("Copyright notice"));
    f->VendorUrlImage1->setAccessibleName(QStringLiteral("Web site"));
    f->VendorURLLabel1->setAccessibleDescription(QStringLiteral("Opens the maker's web site"));
    f->VendorUrlImage1->setAccessibleDescription(QStringLiteral("Opens the maker's web site"));

    describeToolButtons(f);
}

// Keys desktop users know for leaving a program and opening its help; the menus keep their designed texts.
void addKeyboardWays(TLexivoAppForm *f)
{
    const std::pair<QKeySequence, Command> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Q), Command::FileExit1},
        {QKeySequence(Qt::Key_F1), Command::ContentAction1},
    };
    for (const auto &[key, id] : keys) {
        auto *shortcut = new QShortcut(key, f);
        shortcut->setObjectName(QStringLiteral("%1Key").arg(QLatin1String(commandDef(id).name)));
        QAction *command = f->action(id);
        QObject::connect(shortcut, &QShortcut::activated, command, &QAction::trigger);
    }
}

} // namespace

void Accessibility::installFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(programFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

QList<QMenu *> Accessibility::openPopupMenus()
{
    QList<QMenu *> menus;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *menu = qobject_cast<QMenu *>(w);
        if (menu && menu->isVisible() && !reachedThroughMenu(menu))
            menus.append(menu);
    }
    return menus;
}

void Accessibility::setUp(TLexivoAppForm *form)
{
    installFactory();
    describeControls(form);
    addKeyboardWays(form);
}
