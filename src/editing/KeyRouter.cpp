#include "editing/KeyRouter.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

namespace {

bool carries(const QAction *action, const QKeySequence &key)
{
    return !action->isSeparator() && action->shortcuts().contains(key);
}

void collectItems(const QWidget *menu, QList<QAction *> &items)
{
    for (QAction *action : menu->actions()) {
        if (QMenu *sub = action->menu())
            collectItems(sub, items);
        else if (!action->isSeparator())
            items.append(action);
    }
}

} // namespace

KeyRouter::Decision KeyRouter::decide(const QKeySequence &key, const QList<QList<QAction *>> &menus,
                                      const QList<QAction *> &commands)
{
    if (key.isEmpty())
        return {};
    for (const QList<QAction *> &menu : menus) {
        for (QAction *item : menu) {
            if (carries(item, key))
                return {item->isEnabled() ? Outcome::MenuItemRan : Outcome::MenuItemIdle, item};
        }
    }
    for (QAction *command : commands) {
        // Only the first command with the key is tried; a disabled one lets the key through.
        if (carries(command, key))
            return command->isEnabled() ? Decision{Outcome::CommandRan, command} : Decision{Outcome::NotTaken, command};
    }
    return {};
}

QList<QAction *> KeyRouter::menuItems(const QWidget *menu)
{
    QList<QAction *> items;
    if (menu)
        collectItems(menu, items);
    return items;
}

QKeySequence KeyRouter::keyOf(const QKeyEvent *event)
{
    const int key = event->key();
    switch (key) {
    case Qt::Key_unknown:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
        return {};
    default:
        break;
    }
    // The numeric pad's Del is the same key as Del for the commands.
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    return QKeySequence(QKeyCombination(mods, Qt::Key(key)));
}

KeyRouter::KeyRouter(QWidget *scope, QObject *parent) : QObject(parent), m_scope(scope) {}

void KeyRouter::setContextMenu(QWidget *control, QMenu *menu)
{
    m_contextMenus.insert(control, menu);
}

QMenu *KeyRouter::contextMenu(QWidget *control) const
{
    return m_contextMenus.value(control);
}

QList<QList<QAction *>> KeyRouter::menusFor(QWidget *focus) const
{
    QList<QList<QAction *>> menus;
    for (QWidget *w = focus; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        if (QMenu *menu = contextMenu(w))
            menus.append(menuItems(menu));
    }
    if (m_mainMenu)
        menus.append(menuItems(m_mainMenu));
    return menus;
}

KeyRouter::Decision KeyRouter::route(const QKeySequence &key, QWidget *focus)
{
    emit aboutToRoute(key, focus);
    const Decision decision = decide(key, menusFor(focus), m_commands);
    if (decision.runs())
        decision.action->trigger();
    return decision;
}

void KeyRouter::install()
{
    qApp->installEventFilter(this);
}

bool KeyRouter::isManaged(const QKeySequence &key, QWidget *focus) const
{
    if (key.isEmpty())
        return false;
    for (const QList<QAction *> &menu : menusFor(focus)) {
        for (const QAction *item : menu) {
            if (carries(item, key))
                return true;
        }
    }
    for (const QAction *command : m_commands) {
        if (carries(command, key))
            return true;
    }
    return false;
}

QWidget *KeyRouter::focusFor(QObject *watched) const
{
    if (!watched->isWidgetType() || !m_scope)
        return nullptr;
    auto *w = static_cast<QWidget *>(watched);
    QWidget *focus = QApplication::focusWidget();
    // Key events propagate to parents when ignored; only the first receiver counts.
    if (focus ? w != focus : !w->isWindow())
        return nullptr;
    return (w == m_scope || m_scope->isAncestorOf(w)) ? w : nullptr;
}

bool KeyRouter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    QWidget *focus = focusFor(watched);
    if (!focus)
        return false;
    auto *keyEvent = static_cast<QKeyEvent *>(event);
    const QKeySequence key = keyOf(keyEvent);
    if (!isManaged(key, focus))
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // Accepting the override keeps Qt's shortcut map out: the press then comes to us as a KeyPress.
        event->accept();
        return true;
    }
    if (route(key, focus).taken()) {
        event->accept();
        return true;
    }
    return false;
}
