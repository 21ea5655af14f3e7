#include "editing/EditCommands.h"

#include "platform/ClipboardSource.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTextEdit>

namespace EditCommands {
namespace {

bool lineEditEnabled(Edit command, const QLineEdit *edit, ClipboardSource *clipboard)
{
    switch (command) {
    case Edit::Cut:
    case Edit::Copy:
    case Edit::Delete:
        return edit->hasSelectedText();
    case Edit::Paste:
        return clipboard->hasText();
    case Edit::Undo:
        return edit->isUndoAvailable();
    case Edit::SelectAll:
        return !edit->text().isEmpty();
    }
    return false;
}

bool textEditEnabled(Edit command, const QTextEdit *edit, ClipboardSource *clipboard)
{
    switch (command) {
    case Edit::Cut:
    case Edit::Copy:
    case Edit::Delete:
        return edit->textCursor().hasSelection();
    case Edit::Paste:
        return clipboard->hasText();
    case Edit::Undo:
        return edit->document()->isUndoAvailable();
    case Edit::SelectAll:
        return !edit->document()->isEmpty();
    }
    return false;
}

void executeOnLineEdit(Edit command, QLineEdit *edit)
{
    const bool editable = !edit->isReadOnly();
    switch (command) {
    case Edit::Cut:
        if (editable)
            edit->cut();
        break;
    case Edit::Copy:
        edit->copy();
        break;
    case Edit::Paste:
        if (editable)
            edit->paste();
        break;
    case Edit::Delete:
        // del() without a selection would eat the character after the cursor.
        if (editable && edit->hasSelectedText())
            edit->del();
        break;
    case Edit::Undo:
        if (editable)
            edit->undo();
        break;
    case Edit::SelectAll:
        edit->selectAll();
        break;
    }
}

void executeOnTextEdit(Edit command, QTextEdit *edit)
{
    const bool editable = !edit->isReadOnly();
    switch (command) {
    case Edit::Cut:
        if (editable)
            edit->cut();
        break;
    case Edit::Copy:
        // QTextEdit puts plain text and HTML with the formatting on the clipboard.
        edit->copy();
        break;
    case Edit::Paste:
        if (editable)
            edit->paste();
        break;
    case Edit::Delete:
        if (editable)
            edit->textCursor().removeSelectedText();
        break;
    case Edit::Undo: {
        // A read-only view may undo its display-only formatting, never a change of its text.
        const QString before = editable ? QString() : edit->toPlainText();
        edit->undo();
        if (!editable && edit->toPlainText() != before)
            edit->redo();
        break;
    }
    case Edit::SelectAll:
        edit->selectAll();
        break;
    }
}

} // namespace

bool isEnabled(Edit command, const QWidget *focused, ClipboardSource *clipboard)
{
    if (auto *line = qobject_cast<const QLineEdit *>(focused))
        return lineEditEnabled(command, line, clipboard);
    if (auto *text = qobject_cast<const QTextEdit *>(focused))
        return textEditEnabled(command, text, clipboard);
    return false;
}

void execute(Edit command, QWidget *focused, ClipboardSource *clipboard)
{
    if (!isEnabled(command, focused, clipboard))
        return;
    if (auto *line = qobject_cast<QLineEdit *>(focused))
        executeOnLineEdit(command, line);
    else if (auto *text = qobject_cast<QTextEdit *>(focused))
        executeOnTextEdit(command, text);
}

void copyWord(QLineEdit *searchBox)
{
    searchBox->selectAll();
    searchBox->copy();
    searchBox->undo();
}

} // namespace EditCommands

StandardEditCommands::StandardEditCommands(QWidget *scope, ClipboardSource *clipboard,
                                           const std::array<QAction *, 6> &actions, QObject *parent)
    : QObject(parent), m_scope(scope), m_clipboard(clipboard)
{
    for (size_t i = 0; i < actions.size(); ++i) {
        m_actions[i] = actions[i];
        const EditCommands::Edit command = EditCommands::kAll[i];
        connect(actions[i], &QAction::triggered, this, [this, command] {
            EditCommands::execute(command, target(), m_clipboard);
            update();
        });
    }
    connect(qApp, &QApplication::focusChanged, this, [this] { update(); });
    connect(m_clipboard, &ClipboardSource::changed, this, &StandardEditCommands::update);
    update();
}

void StandardEditCommands::watchMenu(QMenu *menu)
{
    connect(menu, &QMenu::aboutToShow, this, &StandardEditCommands::update);
}

QWidget *StandardEditCommands::target() const
{
    // The window's focus widget survives menus and toolbar clicks, unlike the application's.
    QWidget *focused = m_scope ? m_scope->window()->focusWidget() : nullptr;
    if (qobject_cast<QLineEdit *>(focused) || qobject_cast<QTextEdit *>(focused))
        return focused;
    return nullptr;
}

void StandardEditCommands::update()
{
    QWidget *control = target();
    if (control != m_followed)
        follow(control);
    for (size_t i = 0; i < m_actions.size(); ++i) {
        if (m_actions[i])
            m_actions[i]->setEnabled(EditCommands::isEnabled(EditCommands::kAll[i], control, m_clipboard));
    }
}

void StandardEditCommands::follow(QWidget *control)
{
    for (const QMetaObject::Connection &c : std::as_const(m_controlConnections))
        disconnect(c);
    m_controlConnections.clear();
    m_followed = control;
    // Queued: the control's own state settles before the commands read it.
    const auto refresh = [this] { QMetaObject::invokeMethod(this, &StandardEditCommands::update, Qt::QueuedConnection); };
    if (auto *line = qobject_cast<QLineEdit *>(control)) {
        m_controlConnections << connect(line, &QLineEdit::textChanged, this, refresh)
                             << connect(line, &QLineEdit::selectionChanged, this, refresh);
    } else if (auto *text = qobject_cast<QTextEdit *>(control)) {
        m_controlConnections << connect(text, &QTextEdit::textChanged, this, refresh)
                             << connect(text, &QTextEdit::selectionChanged, this, refresh)
                             << connect(text, &QTextEdit::undoAvailable, this, refresh);
    }
}
