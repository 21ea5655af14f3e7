#pragma once

#include <QAbstractListModel>
#include <QPointer>

class DictionaryTable;

// The word list's rows: one headword per row of the table, read from the table's own in-memory list on
// demand, so the model holds no copy of the words. It resets when the table opens or closes.
class HeadwordListModel final : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit HeadwordListModel(DictionaryTable *table, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    void resetTo(int rows);
    void sync();

    QPointer<DictionaryTable> m_table;
    // The row count last announced to the views; it follows the table only through a reset.
    int m_rows = 0;
};
