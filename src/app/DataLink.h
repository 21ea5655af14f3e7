#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

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
    // What the entry view shows of a row's entry (the entry itself unless set).
    void setEntryFilter(std::function<QString(int row, const QString &entry)> filter) { m_filter = std::move(filter); }

private:
    std::function<QString(int, const QString &)> m_filter;
    DictionaryTable *m_table;
    // Controls may go before the table does (a window taken down half-built): a refresh then skips them.
    QPointer<WordGrid> m_grid;
    QPointer<HeadwordLabel> m_label;
    QPointer<EntryView> m_view;
};
