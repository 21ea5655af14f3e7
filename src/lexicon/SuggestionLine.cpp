#include "lexicon/SuggestionLine.h"

#include <QFocusEvent>
#include <QKeyEvent>

SuggestionLine::SuggestionLine(QWidget *parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("SuggestionLine"));
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    setFocusPolicy(Qt::TabFocus);
    // A label's link menu would offer "Copy Link Location", which copies an index, not the word.
    setContextMenuPolicy(Qt::PreventContextMenu);
    setAccessibleDescription(QStringLiteral("Words near the one typed: choose one to look it up"));
    hide();
    // The links carry an index, not the word: any text survives the round trip unchanged.
    connect(this, &QLabel::linkActivated, this, [this](const QString &href) {
        bool ok = false;
        const int index = href.toInt(&ok);
        const QStringList all = words();
        if (ok && index >= 0 && index < all.size())
            emit chosen(all.at(index));
    });
}

QStringList SuggestionLine::words() const
{
    QStringList all;
    for (const BaseForm &form : m_forms)
        all.append(form.base);
    return all + m_suggestions;
}

void SuggestionLine::offer(const QString &text, const QList<BaseForm> &forms, const QStringList &suggestions)
{
    m_text = text;
    m_forms = forms;
    m_suggestions = forms.isEmpty() ? suggestions : QStringList();
    m_current = hasFocus() ? 0 : -1;
    if (words().isEmpty()) {
        withdraw();
        return;
    }
    render();
    show();
}

void SuggestionLine::showNoteOnce(const QString &note)
{
    if (m_noteSaid)
        return;
    m_noteSaid = true;
    m_forms.clear();
    m_suggestions.clear();
    m_note = note;
    m_current = -1;
    render();
    show();
}

void SuggestionLine::withdraw()
{
    m_note.clear();
    m_forms.clear();
    m_suggestions.clear();
    m_current = -1;
    hide();
    clear();
}

void SuggestionLine::render()
{
    const QStringList all = words();
    const auto link = [&](int index) {
        // The word the keyboard is on stands out as the focus would on a button.
        const QString style = index == m_current ? QStringLiteral(" style=\"background-color:#cfd8ff\"") : QString();
        return QStringLiteral("<a href=\"%1\"%2>%3</a>").arg(index).arg(style, all.at(index).toHtmlEscaped());
    };
    QStringList parts;
    if (!m_note.isEmpty()) {
        setText(m_note.toHtmlEscaped());
    } else if (!m_forms.isEmpty()) {
        for (int i = 0; i < m_forms.size(); ++i)
            parts.append(relationText(m_forms.at(i).relation) + QLatin1Char(' ') + link(i));
        setText(m_text.toHtmlEscaped() + QStringLiteral(" \u2014 ") + parts.join(QStringLiteral(", ")));
    } else {
        for (int i = 0; i < all.size(); ++i)
            parts.append(link(i));
        setText(QStringLiteral("Did you mean: ") + parts.join(QStringLiteral(" \u00b7 ")));
    }
}

void SuggestionLine::focusInEvent(QFocusEvent *event)
{
    const int count = int(words().size());
    m_current = event->reason() == Qt::BacktabFocusReason ? count - 1 : 0;
    render();
    QLabel::focusInEvent(event);
}

void SuggestionLine::focusOutEvent(QFocusEvent *event)
{
    m_current = -1;
    render();
    QLabel::focusOutEvent(event);
}

bool SuggestionLine::focusNextPrevChild(bool next)
{
    // Tab walks the words first, then leaves the line.
    const int target = m_current + (next ? 1 : -1);
    if (hasFocus() && target >= 0 && target < words().size()) {
        m_current = target;
        render();
        return true;
    }
    return QLabel::focusNextPrevChild(next);
}

void SuggestionLine::keyPressEvent(QKeyEvent *event)
{
    const QStringList all = words();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_current >= 0 && m_current < all.size()) {
            emit chosen(all.at(m_current));
            return;
        }
        break;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        // The arrows walk the words without leaving the line.
        const int target = m_current + (event->key() == Qt::Key_Right ? 1 : -1);
        if (target >= 0 && target < all.size()) {
            m_current = target;
            render();
        }
        return;
    }
    default:
        break;
    }
    QLabel::keyPressEvent(event);
}
