#include "editing/EmphasisCommand.h"

#include <QAction>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "editing/KeyRouter.h"

namespace {

TextStyles stylesOf(const QTextCharFormat &format)
{
    // Demi-bold and heavier read as bold, as a rich-text view's bold attribute would.
    return {format.fontWeight() > QFont::Medium, format.fontItalic(), format.fontUnderline(), format.fontStrikeOut()};
}

void keepCommon(TextStyles &all, const TextStyles &one)
{
    all.bold = all.bold && one.bold;
    all.italic = all.italic && one.italic;
    all.underline = all.underline && one.underline;
    all.strikeOut = all.strikeOut && one.strikeOut;
}

} // namespace

TextStyles selectionStyles(const QTextEdit *view)
{
    const QTextCursor cursor = view->textCursor();
    if (!cursor.hasSelection())
        return stylesOf(cursor.charFormat());

    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    TextStyles common{true, true, true, true};
    bool seen = false;
    const QTextDocument *doc = view->document();
    for (QTextBlock block = doc->findBlock(start); block.isValid() && block.position() < end; block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() + fragment.length() <= start || fragment.position() >= end)
                continue;
            keepCommon(common, stylesOf(fragment.charFormat()));
            seen = true;
        }
    }
    // A selection of nothing but paragraph breaks has no fragments of its own.
    return seen ? common : stylesOf(cursor.charFormat());
}

void setSelectionStyles(QTextEdit *view, const TextStyles &styles)
{
    QTextCharFormat change;
    change.setFontWeight(styles.bold ? QFont::Bold : QFont::Normal);
    change.setFontItalic(styles.italic);
    change.setFontUnderline(styles.underline);
    change.setFontStrikeOut(styles.strikeOut);

    QTextCursor cursor = view->textCursor();
    if (cursor.hasSelection()) {
        cursor.mergeCharFormat(change);
        return;
    }
    // With nothing selected only the insertion point's format changes; no text is touched.
    QTextCharFormat current = view->currentCharFormat();
    current.merge(change);
    view->setCurrentCharFormat(current);
}

bool hasStyle(const TextStyles &styles, Emphasis style)
{
    switch (style) {
    case Emphasis::Bold:
        return styles.bold;
    case Emphasis::Italic:
        return styles.italic;
    case Emphasis::Underline:
        return styles.underline;
    }
    return false;
}

void setStyle(TextStyles &styles, Emphasis style, bool on)
{
    switch (style) {
    case Emphasis::Bold:
        styles.bold = on;
        break;
    case Emphasis::Italic:
        styles.italic = on;
        break;
    case Emphasis::Underline:
        styles.underline = on;
        break;
    }
}

void EmphasisCommand::prepare(bool viewFocused, bool selectionHasStyle)
{
    if (!viewFocused)
        return;
    m_enabled = true;
    m_flag = selectionHasStyle;
}

bool EmphasisCommand::execute()
{
    m_flag = !m_flag;
    if (m_flag) {
        m_flag = false;
        return true;
    }
    m_flag = true;
    return false;
}

EmphasisBinding::EmphasisBinding(Emphasis style, QAction *action, QTextEdit *view, KeyRouter *router, QObject *parent)
    : QObject(parent), m_style(style), m_command(action->isEnabled()), m_action(action), m_view(view)
{
    connect(router, &KeyRouter::aboutToRoute, this, &EmphasisBinding::prepare);
    connect(action, &QAction::triggered, this, &EmphasisBinding::execute);
}

void EmphasisBinding::prepare(const QKeySequence &key, QWidget *focus)
{
    if (!m_action || !m_view || !m_action->shortcuts().contains(key))
        return;
    const bool viewFocused = focus == m_view;
    m_command.prepare(viewFocused, viewFocused && hasStyle(selectionStyles(m_view), m_style));
    m_action->setEnabled(m_command.enabled());
}

void EmphasisBinding::execute()
{
    if (!m_view)
        return;
    const bool add = m_command.execute();
    TextStyles styles = selectionStyles(m_view);
    setStyle(styles, m_style, add);
    setSelectionStyles(m_view, styles);
}
