#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QAction;
class QKeySequence;
class QTextEdit;
class QWidget;
class KeyRouter;

// The four character styles that the emphasis commands read and write as one set.
struct TextStyles
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    friend bool operator==(const TextStyles &, const TextStyles &) = default;
};

enum class Emphasis { Bold, Italic, Underline };

// The styles of a view's stored selection: a style counts as present when every selected
// character has it; with nothing selected, the styles at the insertion point.
TextStyles selectionStyles(const QTextEdit *view);
// Writes all four styles over the whole stored selection; font, size and colour stay.
void setSelectionStyles(QTextEdit *view, const TextStyles &styles);
bool hasStyle(const TextStyles &styles, Emphasis style);
void setStyle(TextStyles &styles, Emphasis style, bool on);

// State of one emphasis command: whether its shortcut is live, and which way the next press goes.
class EmphasisCommand final
{
public:
    explicit EmphasisCommand(bool enabled) : m_enabled(enabled) {}

    bool enabled() const { return m_enabled; }
    bool flag() const { return m_flag; }

    // Step 1, before the shortcut is offered: with the entry view focused the command goes live and
    // takes the selection's current state.
    void prepare(bool viewFocused, bool selectionHasStyle);
    // Steps 3 and 4 (only called when enabled): true = add the style, false = remove it.
    bool execute();

private:
    bool m_enabled;
    bool m_flag = false;
};

// Ties one emphasis command to its action, the key router and the entry view: the minimal glue
// the window needs for RichEditBold1, RichEditItalic1 and RichEditUnderline1.
class EmphasisBinding final : public QObject
{
    Q_OBJECT
public:
    EmphasisBinding(Emphasis style, QAction *action, QTextEdit *view, KeyRouter *router, QObject *parent = nullptr);

    const EmphasisCommand &command() const { return m_command; }
    Emphasis style() const { return m_style; }

    // The command's handler: runs steps 3 and 4 on the view's selection.
    void execute();

private:
    void prepare(const QKeySequence &key, QWidget *focus);

    Emphasis m_style;
    EmphasisCommand m_command;
    QPointer<QAction> m_action;
    QPointer<QTextEdit> m_view;
};
