#pragma once

#include <QObject>

class DictionaryTable;
class EntryView;
class HeadwordLabel;
class WordGrid;

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
