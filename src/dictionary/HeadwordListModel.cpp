#include "dictionary/HeadwordListModel.h"

#include "dictionary/DictionaryTable.h"

HeadwordListModel::HeadwordListModel(DictionaryTable *table, QObject *parent)
    : QAbstractListModel(parent), m_table(table)
{
    if (!table)
        return;
    // A table about to open may bring other words: drop the old rows before it does.
    connect(table, &DictionaryTable::beforeOpen, this, [this] { resetTo(0); });
    connect(table, &DictionaryTable::afterClose, this, [this] { resetTo(0); });
    // Opening ends with a row change, which is also where the new rows first show.
    connect(table, &DictionaryTable::dataChanged, this, &HeadwordListModel::sync);
    // Other rows of the same number are still other rows.
    connect(table, &DictionaryTable::rowsReplaced, this, [this] {
        beginResetModel();
        m_rows = (m_table && m_table->isOpen()) ? m_table->recordCount() : 0;
        endResetModel();
    });
    sync();
}

void HeadwordListModel::resetTo(int rows)
{
    if (rows == m_rows && rows == 0)
        return;
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

void HeadwordListModel::sync()
{
    const int rows = (m_table && m_table->isOpen()) ? m_table->recordCount() : 0;
    if (rows != m_rows)
        resetTo(rows);
}

int HeadwordListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

QVariant HeadwordListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.column() != 0 || index.row() >= m_rows)
        return {};
    // The table may have closed before its signal reached us.
    if (!m_table || !m_table->isOpen() || index.row() >= m_table->recordCount())
        return {};
    return m_table->headwordAt(index.row());
}

Qt::ItemFlags HeadwordListModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}
