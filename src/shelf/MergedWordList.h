#pragma once

#include <QAnyStringView>
#include <QList>
#include <QString>

#include <functional>

class KeyFile;

// The word list of the built-in dictionary and the added ones together, in the built-in order. Every built-in
// headword is a row. An added headword joins the row spelt exactly alike, else the first row that differs from
// it only by case; only where no row is spelt so, case aside, does it make a row, and then one for all its case
// twins from every dictionary. A row is kept as one number: its source (0 built-in, n the n-th dictionary) and
// the index of the headword that spells it.
class MergedWordList final
{
public:
    using BaseAt = std::function<QAnyStringView(int)>;
    static constexpr int kMaxDictionaries = 31;

    MergedWordList() = default;
    // dictionaries in the user's order; a null entry is skipped. Safe on any thread while the sources stay.
    static MergedWordList build(int baseCount, BaseAt baseAt, const QList<const KeyFile *> &dictionaries);

    int count() const { return int(m_rows.size()); }
    QString headword(int row) const;
    // The row's headword without a copy, valid while the sources stay.
    QAnyStringView headwordView(int row) const;
    // The built-in dictionary's row shown at row, or -1 when the row comes from added dictionaries only.
    int baseRow(int row) const;
    // The first row >= text case aside (text cut to its search key); the last row when none is, 0 when empty.
    int nearest(QStringView text) const;
    // The row that shows the built-in row.
    int rowOfBase(int baseRow) const;
    // The records of dictionary d (1-based, as in build) that join row.
    QList<int> recordsFor(int row, int d) const;

private:
    int source(int row) const { return int(m_rows[row] >> 27); }
    int index(int row) const { return int(m_rows[row] & ((1u << 27) - 1)); }
    QStringView viewOf(int source, int index, QString *scratch) const;
    int compareIgnoringCase(int row, QStringView key) const;

    BaseAt m_baseAt;
    QList<const KeyFile *> m_dictionaries;
    QList<quint32> m_rows;
    // For each built-in row, the row showing it: built-in rows keep their order, so a search is enough.
    QList<int> m_baseRows;
};
