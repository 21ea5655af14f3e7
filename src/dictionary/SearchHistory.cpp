#include "dictionary/SearchHistory.h"

SearchHistory::SearchHistory(QObject *parent) : QObject(parent)
{
}

void SearchHistory::setSearchBox(SetText setText, GetText text)
{
    m_setText = std::move(setText);
    m_text = std::move(text);
}

void SearchHistory::setProcessMessages(ProcessMessages processMessages)
{
    m_processMessages = std::move(processMessages);
}

void SearchHistory::setSearchText(const QString &word)
{
    if (m_setText)
        m_setText(word);
}

QString SearchHistory::searchText() const
{
    return m_text ? m_text() : QString();
}

int SearchHistory::firstMatch(const QString &word) const
{
    for (int i = 0; i < m_words.size(); ++i) {
        if (m_words.at(i).compare(word, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void SearchHistory::record(QString word)
{
    m_words.append(word);
    m_position = lastIndex();
    m_backEnabled = true;
    emit changed();

    // The new entry gets painted here; a timer tick or a command may run meanwhile and change the box.
    if (m_processMessages)
        m_processMessages();

    m_backMenu.prepend(m_text ? searchText() : word);
    emit changed();
}

void SearchHistory::back()
{
    if (m_position > 0) {
        --m_position;
        const QString word = m_words.at(m_position);
        setSearchText(word);
        m_forwardMenu.prepend(word);
        if (!m_backMenu.isEmpty())
            m_backMenu.removeFirst();
        m_nextEnabled = true;
    }
    if (m_position <= 0) {
        m_position = 0;
        m_backEnabled = false;
    }
    emit changed();
}

void SearchHistory::next()
{
    if (m_position < lastIndex()) {
        // A menu choice that matched no word leaves the position at -1; the step then goes to the first word.
        ++m_position;
        const QString word = m_words.at(m_position);
        setSearchText(word);
        m_backMenu.prepend(word);
        if (!m_forwardMenu.isEmpty())
            m_forwardMenu.removeFirst();
        m_backEnabled = true;
    }
    if (m_position >= lastIndex()) {
        m_position = lastIndex();
        m_nextEnabled = false;
    }
    emit changed();
}

void SearchHistory::backMenuClick(int n)
{
    if (n < 0 || n >= m_backMenu.size())
        return;
    const QString word = m_backMenu.at(n);
    setSearchText(word);
    m_position = firstMatch(word);
    // The chosen item and those above it move over, arriving in reverse order.
    for (int i = 0; i <= n && !m_backMenu.isEmpty(); ++i) {
        m_forwardMenu.prepend(m_backMenu.takeFirst());
        m_nextEnabled = true;
    }
    if (m_position <= 0) {
        m_position = 0;
        m_backEnabled = false;
    }
    emit changed();
}

void SearchHistory::forwardMenuClick(int n)
{
    if (n < 0 || n >= m_forwardMenu.size())
        return;
    const QString word = m_forwardMenu.at(n);
    setSearchText(word);
    m_position = firstMatch(word);
    for (int i = 0; i <= n && !m_forwardMenu.isEmpty(); ++i) {
        m_backMenu.prepend(m_forwardMenu.takeFirst());
        m_backEnabled = true;
    }
    if (m_position >= lastIndex()) {
        m_position = lastIndex();
        m_nextEnabled = false;
    }
    emit changed();
}

QString SearchHistory::actionText(const QString &caption)
{
    QString text = caption;
    text.replace(QLatin1Char('&'), QLatin1String("&&"));
    // A tab would split the item into a caption and a shortcut column.
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return text;
}
