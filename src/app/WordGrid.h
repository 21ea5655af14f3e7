#pragma once

#include <QListView>

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
