#pragma once

#include "lexicon/WordForms.h"

#include <QLabel>

// One line of links: "dogs — plural of dog" or "Did you mean: receive · relieve". Hidden while it has
// nothing to offer. A word is chosen by a click, or by Tab to it (Tab again to the next) and Enter.
class SuggestionLine final : public QLabel
{
    Q_OBJECT
public:
    explicit SuggestionLine(QWidget *parent = nullptr);

    void offer(const QString &text, const QList<BaseForm> &forms, const QStringList &suggestions);
    // A line of plain text in the words' place, said once in the line's life: shown until the next withdraw().
    void showNoteOnce(const QString &note);
    bool showsNote() const { return !m_note.isEmpty(); }
    void withdraw();
    // The words linked, in order.
    QStringList words() const;

signals:
    void chosen(const QString &word);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void render();

    QString m_text;
    QList<BaseForm> m_forms;
    QStringList m_suggestions;
    QString m_note;
    bool m_noteSaid = false;
    int m_current = -1; // the word the keyboard is on, while the line has the focus
};
