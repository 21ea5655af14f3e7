#include "search/HeadwordPattern.h"

#include "dictionary/DictionaryTable.h"

namespace {

inline char16_t folded(QChar c)
{
    // Nearly every headword is ASCII: skip the Unicode tables for it.
    const char16_t u = c.unicode();
    if (u < 0x80)
        return (u >= 'A' && u <= 'Z') ? char16_t(u + 32) : u;
    return c.toCaseFolded().unicode();
}

} // namespace

bool HeadwordPattern::isPattern(QStringView text)
{
    return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?'));
}

HeadwordPattern::HeadwordPattern(QStringView pattern)
{
    m_folded.reserve(pattern.size());
    for (const QChar c : pattern) {
        // Runs of "*" mean what one does, and cost backtracking.
        if (c == QLatin1Char('*') && m_folded.endsWith(QLatin1Char('*')))
            continue;
        m_folded.append(QChar(folded(c)));
    }
    m_minLength = m_folded.size() - m_folded.count(QLatin1Char('*'));
    if (!m_folded.isEmpty() && m_folded.back() != QLatin1Char('*') && m_folded.back() != QLatin1Char('?'))
        m_last = m_folded.back().unicode();
}

template <typename View>
bool HeadwordPattern::matchesView(View headword) const
{
    // The classic wildcard walk: on a mismatch go back to just after the last "*" and let it take one
    // character more. Linear in practice, never exponential.
    const qsizetype n = headword.size();
    if (n < m_minLength || (m_last && (n == 0 || folded(QChar(headword[n - 1])) != m_last)))
        return false;
    const qsizetype m = m_folded.size();
    const QChar *p = m_folded.constData();
    qsizetype i = 0;
    qsizetype j = 0;
    qsizetype starAt = -1;
    qsizetype resumeAt = 0;
    while (i < n) {
        if (j < m && p[j] == QLatin1Char('*')) {
            starAt = j++;
            resumeAt = i;
        } else if (j < m && (p[j] == QLatin1Char('?') || p[j].unicode() == folded(QChar(headword[i])))) {
            ++i;
            ++j;
        } else if (starAt >= 0) {
            j = starAt + 1;
            i = ++resumeAt;
        } else {
            return false;
        }
    }
    while (j < m && p[j] == QLatin1Char('*'))
        ++j;
    return j == m;
}

bool HeadwordPattern::matches(QAnyStringView headword) const
{
    return headword.visit([this](auto view) {
        if constexpr (std::is_same_v<decltype(view), QUtf8StringView>)
            return matchesView(QStringView(view.toString()));
        else
            return matchesView(view);
    });
}

QList<int> HeadwordPattern::matchingRows(const DictionaryTable &table, qsizetype limit, qsizetype *total) const
{
    QList<int> rows;
    qsizetype count = 0;
    const int all = table.recordCount();
    for (int row = 0; row < all; ++row) {
        if (!matches(table.headwordView(row)))
            continue;
        if (rows.size() < limit)
            rows.append(row);
        ++count;
    }
    if (total)
        *total = count;
    return rows;
}
