#pragma once

#include <QTextEdit>

// The read-only rich-text entry view; a double-click selects the word under the pointer.
class EntryView final : public QTextEdit
{
    Q_OBJECT
public:
    explicit EntryView(QWidget *parent = nullptr);

    void setEntry(int row, const QString &html);
    int loadedRow() const { return m_row; }
    // Room above the text for a line laid over the view.
    void setTopMargin(int height) { setViewportMargins(0, height, 0, 0); }

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    int m_row = -2;
};
