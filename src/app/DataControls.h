#pragma once

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTextEdit>

class DictionaryTable;
class HeadwordListModel;

// The word list: one column of headwords bound to the table's current row.
class WordGrid final : public QTableView
{
    Q_OBJECT
public:
    explicit WordGrid(QWidget *parent = nullptr);

    void setTable(DictionaryTable *table);
    // Shows the current row in the middle of the visible rows, as far as there are rows before it.
    void centerCurrent();
    void setColumnWidthPx(int width);

signals:
    void entered();                  // the list received the keyboard focus
    void rowChosen(int row);         // the user moved the highlighted row

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    friend class DataLink;
    void showRow(int row);           // follows the table without reporting a user move

    HeadwordListModel *m_model = nullptr;
    bool m_following = false;
};

// The search box. Setting a different text runs the lookup; setting the same text runs nothing.
class SearchEdit final : public QLineEdit
{
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

signals:
    void keyDown(QKeyEvent *event);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// The headword label: sizes itself to the headword.
class HeadwordLabel final : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// The read-only rich-text entry view; a double-click selects the word under the pointer.
class EntryView final : public QTextEdit
{
    Q_OBJECT
public:
    explicit EntryView(QWidget *parent = nullptr);

    void setEntry(int row, const QString &html);
    int loadedRow() const { return m_row; }

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    int m_row = -2;
};

// `DataSource1`: keeps the word list, the headword label and the entry view on the table's current row.
class DataLink final : public QObject
{
    Q_OBJECT
public:
    DataLink(DictionaryTable *table, WordGrid *grid, HeadwordLabel *label, EntryView *view, QObject *parent = nullptr);

    void refresh();

private:
    DictionaryTable *m_table;
    WordGrid *m_grid;
    HeadwordLabel *m_label;
    EntryView *m_view;
};
