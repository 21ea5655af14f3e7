#include "shelf/MergedWordList.h"

#include "dictionary/HeadwordOrder.h"
#include "shelf/KeyFile.h"

#include <algorithm>
#include <queue>

QStringView MergedWordList::viewOf(int src, int idx, QString *scratch) const
{
    if (src > 0)
        return m_dictionaries[src - 1]->keyAt(idx);
    *scratch = m_baseAt(idx).toString();
    return *scratch;
}

MergedWordList MergedWordList::build(int baseCount, BaseAt baseAt, const QList<const KeyFile *> &dictionaries)
{
    MergedWordList list;
    list.m_baseAt = std::move(baseAt);
    list.m_dictionaries = dictionaries.mid(0, kMaxDictionaries);
    const int sources = int(list.m_dictionaries.size()) + 1;
    QList<int> position(sources, 0);
    QList<int> ends(sources, 0);
    ends[0] = baseCount;
    qsizetype total = baseCount;
    for (int s = 1; s < sources; ++s) {
        ends[s] = list.m_dictionaries[s - 1] ? std::min(list.m_dictionaries[s - 1]->count(), (1 << 27) - 1) : 0;
        total += ends[s];
    }
    list.m_rows.reserve(total);
    list.m_baseRows.reserve(baseCount);

    // The current headword of every source that has one, smallest case aside first; ties in source order.
    QList<QString> scratch(sources);
    QList<QStringView> current(sources);
    const auto load = [&](int s) { current[s] = list.viewOf(s, position[s], &scratch[s]); };
    const auto later = [&](int a, int b) {
        const int c = compareHeadwordsIgnoringCase(current[a], current[b]);
        return c != 0 ? c > 0 : a > b;
    };
    std::priority_queue<int, std::vector<int>, decltype(later)> queue(later);
    for (int s = 0; s < sources; ++s) {
        if (position[s] < ends[s]) {
            load(s);
            queue.push(s);
        }
    }
    QString groupKey;
    while (!queue.empty()) {
        const int lead = queue.top();
        groupKey = current[lead].toString();
        bool baseRows = false;
        int firstAdded = -1;
        int firstAddedIndex = 0;
        // Take every source's headwords equal to the lead case aside: they form one group of rows.
        while (!queue.empty() && compareHeadwordsIgnoringCase(current[queue.top()], groupKey) == 0) {
            const int s = queue.top();
            queue.pop();
            do {
                if (s == 0) {
                    list.m_baseRows.append(int(list.m_rows.size()));
                    list.m_rows.append(quint32(position[0]));
                    baseRows = true;
                } else if (firstAdded < 0) {
                    firstAdded = s;
                    firstAddedIndex = position[s];
                }
                ++position[s];
                if (position[s] < ends[s])
                    load(s);
            } while (position[s] < ends[s] && compareHeadwordsIgnoringCase(current[s], groupKey) == 0);
            if (position[s] < ends[s])
                queue.push(s);
        }
        if (!baseRows && firstAdded > 0)
            list.m_rows.append((quint32(firstAdded) << 27) | quint32(firstAddedIndex));
    }
    return list;
}

QString MergedWordList::headword(int row) const
{
    if (row < 0 || row >= count())
        return {};
    QString scratch;
    return viewOf(source(row), index(row), &scratch).toString();
}

QAnyStringView MergedWordList::headwordView(int row) const
{
    if (row < 0 || row >= count())
        return {};
    return source(row) == 0 ? m_baseAt(index(row)) : QAnyStringView(m_dictionaries[source(row) - 1]->keyAt(index(row)));
}

int MergedWordList::baseRow(int row) const
{
    return row >= 0 && row < count() && source(row) == 0 ? index(row) : -1;
}

int MergedWordList::rowOfBase(int base) const
{
    return base >= 0 && base < m_baseRows.size() ? m_baseRows[base] : -1;
}

int MergedWordList::compareIgnoringCase(int row, QStringView key) const
{
    QString scratch;
    return compareHeadwordsIgnoringCase(viewOf(source(row), index(row), &scratch), key);
}

int MergedWordList::nearest(QStringView text) const
{
    if (m_rows.isEmpty())
        return 0;
    const QStringView key = searchKey(text);
    int low = 0;
    int high = count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (compareIgnoringCase(middle, key) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return std::min(low, count() - 1);
}

QList<int> MergedWordList::recordsFor(int row, int d) const
{
    QList<int> records;
    if (row < 0 || row >= count() || d < 1 || d > m_dictionaries.size() || !m_dictionaries[d - 1])
        return records;
    const KeyFile &keys = *m_dictionaries[d - 1];
    const QString spelling = headword(row);
    // The rows of the group, spelt alike case aside; built-in twins lie side by side.
    int first = row;
    while (first > 0 && compareIgnoringCase(first - 1, spelling) == 0)
        --first;
    int last = row;
    while (last + 1 < count() && compareIgnoringCase(last + 1, spelling) == 0)
        ++last;
    for (int i = keys.lowerBound(spelling); i < keys.count(); ++i) {
        const QStringView key = keys.keyAt(i);
        if (compareHeadwordsIgnoringCase(key, spelling) != 0)
            break;
        if (key == spelling) {
            records.append(i);
            continue;
        }
        if (row != first)
            continue;
        bool ownRow = false;
        for (int r = first; r <= last && !ownRow; ++r)
            ownRow = r != row && headword(r) == key;
        if (!ownRow)
            records.append(i);
    }
    return records;
}
