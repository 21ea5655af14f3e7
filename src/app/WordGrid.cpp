#include "app/WordGrid.h"

#include "dictionary/DictionaryTable.h"
#include "dictionary/HeadwordListModel.h"

#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>

#include <algorithm>

WordGrid::WordGrid(QWidget *parent) : QListView(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setFrameShape(QFrame::NoFrame);
}

void WordGrid::setTable(DictionaryTable *table)
{
    m_model = new HeadwordListModel(table, this);
    setModel(m_model);
}

void WordGrid::setColumnWidthPx(int width)
{
    m_columnWidth = width;
    viewport()->update();
}

int WordGrid::columnWidth() const
{
    return m_columnWidth > 0 ? m_columnWidth : viewport()->width();
}

int WordGrid::rowCount() const
{
    return model() ? model()->rowCount(rootIndex()) : 0;
}

int WordGrid::firstShownRow() const
{
    return verticalScrollBar()->value();
}

int WordGrid::fullRowsShown() const
{
    return std::max(1, viewport()->height() / rowHeight());
}

QModelIndex WordGrid::indexOfRow(int row) const
{
    return model() && row >= 0 && row < rowCount() ? model()->index(row, modelColumn(), rootIndex()) : QModelIndex();
}

QRect WordGrid::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.parent() != rootIndex() || index.column() != modelColumn())
        return {};
    return {0, (index.row() - firstShownRow()) * rowHeight(), columnWidth(), rowHeight()};
}

QModelIndex WordGrid::indexAt(const QPoint &point) const
{
    if (point.y() < 0 || point.x() < 0 || point.x() >= columnWidth())
        return {};
    return indexOfRow(firstShownRow() + point.y() / rowHeight());
}

void WordGrid::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (!index.isValid())
        return;
    const int row = index.row();
    const int shown = fullRowsShown();
    int first = firstShownRow();
    switch (hint) {
    case EnsureVisible:
        if (row < first)
            first = row;
        else if (row >= first + shown)
            first = row - shown + 1;
        break;
    case PositionAtTop:
        first = row;
        break;
    case PositionAtBottom:
        first = row - shown + 1;
        break;
    case PositionAtCenter:
        first = row - shown / 2;
        break;
    }
    // The bar keeps the value within the rows there are.
    verticalScrollBar()->setValue(first);
}

void WordGrid::doItemsLayout()
{
    // Nothing to lay out: the rows' places follow from their numbers.
    QAbstractItemView::doItemsLayout();
}

void WordGrid::updateGeometries()
{
    const int shown = fullRowsShown();
    verticalScrollBar()->setRange(0, std::max(0, rowCount() - shown));
    verticalScrollBar()->setPageStep(shown);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setRange(0, 0);
    QAbstractItemView::updateGeometries();
}

void WordGrid::scrollContentsBy(int dx, int dy)
{
    Q_UNUSED(dx);
    viewport()->scroll(0, dy * rowHeight());
}

int WordGrid::horizontalOffset() const
{
    return 0;
}

int WordGrid::verticalOffset() const
{
    return firstShownRow() * rowHeight();
}

QModelIndex WordGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    Q_UNUSED(modifiers);
    const int count = rowCount();
    if (count == 0)
        return {};
    const QModelIndex current = currentIndex();
    const int row = current.isValid() ? current.row() : -1;
    int target = row;
    switch (cursorAction) {
    case MoveUp:
    case MovePrevious:
        target = row - 1;
        break;
    case MoveDown:
    case MoveNext:
        target = row + 1;
        break;
    case MovePageUp:
        target = row - fullRowsShown();
        break;
    case MovePageDown:
        target = row + fullRowsShown();
        break;
    case MoveHome:
        target = 0;
        break;
    case MoveEnd:
        target = count - 1;
        break;
    case MoveLeft:
    case MoveRight:
        return current;
    }
    return indexOfRow(std::clamp(target, 0, count - 1));
}

void WordGrid::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command)
{
    if (!selectionModel())
        return;
    const QRect area = rect.normalized();
    const QModelIndex top = indexOfRow(std::max(0, firstShownRow() + area.top() / rowHeight()));
    const QModelIndex bottom = indexOfRow(std::min(rowCount() - 1, firstShownRow() + area.bottom() / rowHeight()));
    if (top.isValid() && bottom.isValid())
        selectionModel()->select(QItemSelection(top, bottom), command);
    else
        selectionModel()->select(QItemSelection(), command);
}

QRegion WordGrid::visualRegionForSelection(const QItemSelection &selection) const
{
    QRegion region;
    const QRect shown = viewport()->rect();
    for (const QItemSelectionRange &range : selection) {
        if (range.parent() != rootIndex() || modelColumn() < range.left() || modelColumn() > range.right())
            continue;
        const QRect top = visualRect(indexOfRow(range.top()));
        const QRect bottom = visualRect(indexOfRow(range.bottom()));
        region += QRect(top.topLeft(), bottom.bottomRight()).intersected(shown);
    }
    return region;
}

void WordGrid::paintEvent(QPaintEvent *event)
{
    const int count = rowCount();
    if (count == 0)
        return;
    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QStyle::State state = option.state;
    const QModelIndex current = currentIndex();
    const bool focused = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    const int height = rowHeight();
    const QRect area = event->rect();
    const int first = firstShownRow();
    const int last = std::min(count - 1, first + area.bottom() / height);
    for (int row = first + std::max(0, area.top() / height); row <= last; ++row) {
        const QModelIndex index = indexOfRow(row);
        option.rect = visualRect(index);
        option.state = state;
        if (selectionModel() && selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (focused && index == current)
            option.state |= QStyle::State_HasFocus;
        option.palette.setCurrentColorGroup((state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled);
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}

void WordGrid::showRow(int row)
{
    if (!model() || row < 0 || row >= model()->rowCount())
        return;
    m_following = true;
    const QModelIndex index = model()->index(row, 0);
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::EnsureVisible);
    m_following = false;
}

void WordGrid::centerCurrent()
{
    const QModelIndex index = currentIndex();
    if (index.isValid())
        scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void WordGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QListView::currentChanged(current, previous);
    if (!m_following && current.isValid() && current.row() != previous.row())
        emit rowChosen(current.row());
}

void WordGrid::focusInEvent(QFocusEvent *event)
{
    QListView::focusInEvent(event);
    // The list keeps the focus while a menu is open or another window is active, and gets it back
    // afterwards; only focus that moves here from another control counts as entering.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        emit entered();
}
