#pragma once

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTextEdit>

class DictionaryTable;
class HeadwordListModel;

// The word list: one column of headwords bound to the table's current row. Every row has one height, so
// the list places rows by arithmetic: a table view's row header and a list view's own layout each keep
// about 2 MB for 147k rows. It stays a list view for what assistive technology makes of one.
// The scroll bar counts rows: its value is the first row shown.
class WordGrid final : public QListView
{
    Q_OBJECT
public:
    explicit WordGrid(QWidget *parent = nullptr);

    void setTable(DictionaryTable *table);
    // Shows the current row in the middle of the visible rows, as far as there are rows before it.
    void centerCurrent();
    void setColumnWidthPx(int width);
    // Every row is one line of the list's font and a pixel above and below it.
    int rowHeight() const { return fontMetrics().height() + 2; }

    QRect visualRect(const QModelIndex &index) const override;
    QModelIndex indexAt(const QPoint &point) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    void doItemsLayout() override;

signals:
    void entered();                  // the keyboard focus moved into the list from another control
    void rowChosen(int row);         // the user moved the highlighted row

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void focusInEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;

private:
    friend class DataLink;
    void showRow(int row);           // follows the table without reporting a user move
    int rowCount() const;
    int firstShownRow() const;
    int fullRowsShown() const;       // at least one
    int columnWidth() const;
    QModelIndex indexOfRow(int row) const;

    HeadwordListModel *m_model = nullptr;
    int m_columnWidth = 0;
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
    // Room above the text for a line laid over the view.
    void setTopMargin(int height) { setViewportMargins(0, height, 0, 0); }

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
