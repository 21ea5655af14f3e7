#pragma once

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

class QAction;
class QKeyEvent;
class QMenu;

// Decides who gets a key press before the focused control sees it: the context menus of the
// focused control and of its parents, then the main menu, then the command table.
// The window installs it once; from then on it is the only thing that fires shortcuts.
class KeyRouter final : public QObject
{
    Q_OBJECT
public:
    enum class Outcome {
        NotTaken,        // the key goes on to the focused control
        MenuItemRan,     // a menu item held the key and its command ran
        MenuItemIdle,    // a menu item held the key but was disabled: the key is swallowed
        CommandRan,      // the first matching command of the table ran
    };

    struct Decision
    {
        Outcome outcome = Outcome::NotTaken;
        QAction *action = nullptr; // the item or command that holds the key, if any
        bool taken() const { return outcome != Outcome::NotTaken; }
        bool runs() const { return outcome == Outcome::MenuItemRan || outcome == Outcome::CommandRan; }
    };

    // The whole rule on plain lists: each menu is its items in order (submenus already flattened).
    static Decision decide(const QKeySequence &key, const QList<QList<QAction *>> &menus,
                           const QList<QAction *> &commands);

    // The items of a menu with those of its submenus, depth first; separators left out.
    static QList<QAction *> menuItems(const QWidget *menu);

    // The key sequence that a key press stands for, or an empty sequence for a lone modifier.
    static QKeySequence keyOf(const QKeyEvent *event);

    explicit KeyRouter(QWidget *scope, QObject *parent = nullptr);

    void setMainMenu(QWidget *menuBarOrMenu) { m_mainMenu = menuBarOrMenu; }
    void setCommands(const QList<QAction *> &commands) { m_commands = commands; }
    // The context menu that belongs to a control (one menu may serve several controls).
    void setContextMenu(QWidget *control, QMenu *menu);
    QMenu *contextMenu(QWidget *control) const;

    // The menus offered a key while `focus` has the focus, in the order they are asked.
    QList<QList<QAction *>> menusFor(QWidget *focus) const;

    // Asks everyone in turn and runs the winner. Emits aboutToRoute first so enabled states are fresh.
    Decision route(const QKeySequence &key, QWidget *focus);

    // Filters the application's key events; takes shortcut handling away from Qt for every managed
    // shortcut so that nothing fires twice.
    void install();

signals:
    // A key that some menu item or command carries is about to be routed: update enabled states now.
    void aboutToRoute(const QKeySequence &key, QWidget *focus);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isManaged(const QKeySequence &key, QWidget *focus) const;
    QWidget *focusFor(QObject *watched) const;

    QPointer<QWidget> m_scope;
    QPointer<QWidget> m_mainMenu;
    QList<QAction *> m_commands;
    QHash<const QWidget *, QPointer<QMenu>> m_contextMenus;
    // The press whose ShortcutOverride we accepted and which we still have to swallow.
    QKeySequence m_pending;
};
