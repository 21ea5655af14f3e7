#include "app/DataLink.h"

#include "app/EntryView.h"
#include "app/HeadwordLabel.h"
#include "app/WordGrid.h"
#include "dictionary/DictionaryTable.h"

DataLink::DataLink(DictionaryTable *table, WordGrid *grid, HeadwordLabel *label, EntryView *view, QObject *parent)
    : QObject(parent), m_table(table), m_grid(grid), m_label(label), m_view(view)
{
    connect(table, &DictionaryTable::dataChanged, this, &DataLink::refresh);
}

void DataLink::refresh()
{
    if (!m_grid || !m_label || !m_view)
        return;
    const int row = m_table->currentRow();
    m_grid->showRow(row);
    m_label->setText(row < 0 ? QString() : m_table->currentHeadword());
    m_label->adjustSize();
    m_view->setEntry(row, row < 0 ? QString() : m_table->currentEntry());
}
