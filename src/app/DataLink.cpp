#include "app/DataLink.h"

#include "app/EntryView.h"
#include "app/HeadwordLabel.h"
#include "app/WordGrid.h"
#include "dictionary/DictionaryTable.h"

DataLink::DataLink(DictionaryTable *table, WordGrid *grid, HeadwordLabel *label, EntryView *view, QObject *parent)
    : QObject(parent), m_table(table), m_grid(grid), m_label(label), m_view(view)
{
    connect(table, &DictionaryTable::dataChanged, this, &DataLink::refresh);
    // A row of the same number after other rows came is another row.
    connect(table, &DictionaryTable::rowsReplaced, this, [this] { m_view->setEntry(-2, QString()); });
}

void DataLink::refresh()
{
    if (!m_grid || !m_label || !m_view)
        return;
    const int row = m_table->currentRow();
    m_grid->showRow(row);
    m_label->setText(row < 0 ? QString() : m_table->currentHeadword());
    m_label->adjustSize();
    const QString entry = row < 0 ? QString() : m_table->currentEntry();
    m_view->setEntry(row, m_filter && row >= 0 ? m_filter(row, entry) : entry);
}
