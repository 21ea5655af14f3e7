#pragma once

#include <QObject>
#include <QPointer>

#include <array>

class ClipboardSource;
class QAction;
class QLineEdit;
class QMenu;
class QWidget;

// The six standard edit commands on the focused text control (a QLineEdit or a QTextEdit).
namespace EditCommands {

// What one of the six does to the text; the window's commands are the ids of its command table.
enum class Edit { Cut, Copy, Paste, Delete, Undo, SelectAll };
inline constexpr std::array<Edit, 6> kAll = {Edit::Cut, Edit::Copy, Edit::Paste,
                                             Edit::Delete, Edit::Undo, Edit::SelectAll};

// Whether the command can act on that control; any other widget, or none, disables all six. Paste asks the
// clipboard for its last known answer, never its owner, which could hold the window for as long as it likes.
// The rules ignore read-only on purpose: a read-only view offers Cut, Paste and Delete all the same.
bool isEnabled(Edit command, const QWidget *focused, ClipboardSource *clipboard);
// Carries the command out on that control. A read-only control's text never changes.
void execute(Edit command, QWidget *focused, ClipboardSource *clipboard);

// Select all, copy as plain text, undo: the search box's "Copy Word".
void copyWord(QLineEdit *searchBox);

} // namespace EditCommands

// Binds the six actions to the control that has the focus inside `scope`, keeping their enabled
// states fresh: when the focus, the control's text, selection or undo state, or the clipboard change,
// and whenever a watched menu opens.
class StandardEditCommands final : public QObject
{
    Q_OBJECT
public:
    // Actions in the order of EditCommands::kAll: cut, copy, paste, delete, undo, select all. The clipboard
    // decides Paste and is not owned.
    StandardEditCommands(QWidget *scope, ClipboardSource *clipboard, const std::array<QAction *, 6> &actions,
                         QObject *parent = nullptr);

    void watchMenu(QMenu *menu);
    // The text control the commands act on now, or null.
    QWidget *target() const;

public slots:
    void update();

private:
    void follow(QWidget *control);

    QPointer<QWidget> m_scope;
    ClipboardSource *m_clipboard;
    std::array<QPointer<QAction>, 6> m_actions;
    QPointer<QWidget> m_followed;
    QList<QMetaObject::Connection> m_controlConnections;
};
