#include "search/FindPanel.h"

#include "dictionary/DictionaryTable.h"
#include "dictionary/HeadwordOrder.h"
#include "search/FullTextSearch.h"
#include "search/HeadwordPattern.h"
#include "search/StemTokenizer.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QTextEdit>
#include <QVBoxLayout>

#include <malloc.h>

#include <array>
#include <thread>

namespace {

constexpr int kRowRole = Qt::UserRole;
constexpr int kHeadwordRole = Qt::UserRole + 1;
// A pattern like "*" matches every headword; a list that long helps nobody.
constexpr qsizetype kMaxPatternRows = 2000;

// Hands the system back the pages that freed memory still holds.
void returnFreedMemory()
{
    // Small blocks this thread frees wait in its own cache for reuse, wherever they came from: those the search
    // thread allocated (the results) keep that thread's heap pages resident. Taken out of the cache and freed on a
    // thread that then ends, they go back to their heaps.
    constexpr std::size_t kCachedSizes = 64;
    constexpr int kCachedPerSize = 7;
    std::array<void *, kCachedSizes * kCachedPerSize> blocks{};
    for (std::size_t i = 0; i < blocks.size(); ++i)
        blocks[i] = std::malloc(16 + 16 * (i / kCachedPerSize));
    std::thread([&blocks] {
        for (void *block : blocks)
            std::free(block);
    }).join();
    malloc_trim(0);
}

} // namespace

FindPanel::FindPanel(DictionaryTable *table, SearchFactory searchFactory, QWidget *parent)
    : QWidget(parent, Qt::Tool), m_table(table), m_searchFactory(std::move(searchFactory))
{
    setObjectName(QStringLiteral("FindPanel"));
    setWindowTitle(QStringLiteral("Find in Entries"));
    resize(420, 360);

    m_query = new QLineEdit(this);
    m_query->setObjectName(QStringLiteral("FindQuery"));
    m_query->setPlaceholderText(QStringLiteral("Words the entry mentions, or a pattern: *phobia, c?t"));
    m_query->setAccessibleName(QStringLiteral("Find in entries"));
    m_query->setAccessibleDescription(
        QStringLiteral("Words that the entries should mention, or a headword pattern with * and ?"));
    m_query->setClearButtonEnabled(true);
    m_query->installEventFilter(this);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("FindStatus"));
    m_status->setWordWrap(true);
    m_status->setAccessibleDescription(QStringLiteral("How the search stands and how many words it found"));

    m_results = new QListWidget(this);
    m_results->setObjectName(QStringLiteral("FindResults"));
    m_results->setAccessibleName(QStringLiteral("Found words"));
    m_results->setAccessibleDescription(QStringLiteral("Enter or a double-click shows the word's entry"));
    m_results->setUniformItemSizes(true);
    m_results->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_results->setTextElideMode(Qt::ElideRight);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->addWidget(m_query);
    column->addWidget(m_status);
    column->addWidget(m_results, 1);

    connect(m_query, &QLineEdit::textChanged, this, &FindPanel::queryChanged);
    connect(m_query, &QLineEdit::returnPressed, this, [this] {
        choose(m_results->currentItem() ? m_results->currentItem() : m_results->item(0));
    });
    connect(m_results, &QListWidget::itemActivated, this, &FindPanel::choose);

    m_release.setSingleShot(true);
    m_release.setInterval(kReleaseAfter);
    connect(&m_release, &QTimer::timeout, this, &FindPanel::releaseSearch);
}

FindPanel::~FindPanel() = default;

void FindPanel::queryChanged(const QString &text)
{
    m_results->clear();
    m_status->clear();
    m_words.clear();
    if (m_search)
        m_search->cancel();
    if (text.trimmed().isEmpty())
        return;
    if (HeadwordPattern::isPattern(text)) {
        // The headwords are in memory: a pattern is answered here and now, in dictionary order.
        qsizetype total = 0;
        const QList<int> rows = HeadwordPattern(text.trimmed()).matchingRows(*m_table, kMaxPatternRows, &total);
        for (const int row : rows) {
            const QString headword = m_table->headwordAt(row);
            auto *item = new QListWidgetItem(headword, m_results);
            item->setData(kRowRole, row);
            item->setData(kHeadwordRole, headword);
        }
        m_status->setText(total == 0 ? QStringLiteral("No headword matches.")
                          : total > rows.size()
                              ? QStringLiteral("%1 headwords match; the first %2 are listed.")
                                    .arg(QLocale().toString(total), QLocale().toString(rows.size()))
                              : QStringLiteral("%1 headwords match.").arg(QLocale().toString(total)));
        m_results->setCurrentRow(0);
        return;
    }
    if (!m_unavailable.isEmpty()) {
        m_status->setText(m_unavailable);
        return;
    }
    const FullTextQuery query = buildFullTextQuery(text);
    if (query.isEmpty()) {
        // Only punctuation: nothing the index holds.
        m_status->setText(QStringLiteral("Type a word to search for."));
        return;
    }
    if (!m_search) {
        m_search = m_searchFactory();
        connect(m_search.get(), &FullTextSearch::found, this, &FindPanel::showFound);
        connect(m_search.get(), &FullTextSearch::unavailable, this, &FindPanel::showUnavailable);
    }
    m_words = query.words;
    m_status->setText(QStringLiteral("Searching\u2026"));
    m_search->search(query);
}

void FindPanel::showFound(quint64 query, const QList<FoundEntry> &batch, bool first, bool last, int total,
                          bool provisional)
{
    // Batches of a query that a newer keystroke replaced arrive late: drop them.
    if (!m_search || query != m_search->latest())
        return;
    if (first)
        m_results->clear();
    for (const FoundEntry &found : batch) {
        auto *item = new QListWidgetItem(found.headword + QStringLiteral(" \u2014 ") + found.excerpt, m_results);
        item->setData(kRowRole, rowOf(found.rowId, found.headword));
        item->setData(kHeadwordRole, found.headword);
        item->setToolTip(found.excerpt);
    }
    // The final ranking replaces the provisional one from the top: Enter takes the best result.
    if (first)
        m_results->setCurrentRow(0);
    const QString count = QLocale().toString(total);
    if (provisional)
        m_status->setText(QStringLiteral("Ranking %1 entries so far\u2026").arg(count));
    else if (total == 0)
        m_status->setText(QStringLiteral("No entry mentions all of these words."));
    else if (!last)
        m_status->setText(QStringLiteral("%1 entries found\u2026").arg(count));
    else if (total > m_results->count())
        m_status->setText(QStringLiteral("%1 entries found; the best %2 are listed.").arg(count, QLocale().toString(m_results->count())));
    else
        m_status->setText(total == 1 ? QStringLiteral("1 entry found.") : QStringLiteral("%1 entries found.").arg(count));
    // Headword patterns cover every dictionary shown; the entries' words are indexed for the built-in one only.
    if (!provisional && m_table->overlay())
        m_status->setText(m_status->text() + QStringLiteral(" Entries of the built-in dictionary only."));
}

void FindPanel::showUnavailable(const QString &reason)
{
    m_unavailable = reason;
    if (!HeadwordPattern::isPattern(m_query->text()))
        m_status->setText(reason);
}

int FindPanel::rowOf(qint64 rowId, const QString &headword) const
{
    // Files with the index number their rows in dictionary order; anything else is found by its headword.
    const int row = int(rowId - 1);
    if (row >= 0 && row < m_table->recordCount() && m_table->headwordAt(row) == headword)
        return row;
    int nearest = m_table->nearestRow(headword);
    while (nearest >= 0 && nearest + 1 < m_table->recordCount() && m_table->headwordAt(nearest) != headword
           && compareHeadwordsIgnoringCase(m_table->headwordAt(nearest + 1), headword) == 0)
        ++nearest;
    return nearest;
}

void FindPanel::choose(QListWidgetItem *item)
{
    if (!item)
        return;
    emit chosen(item->data(kRowRole).toInt(), item->data(kHeadwordRole).toString(), m_words);
}

void FindPanel::highlightIn(QTextEdit *view, const QStringList &words)
{
    QList<QTextEdit::ExtraSelection> marks;
    if (!words.isEmpty()) {
        if (!m_highlighter)
            m_highlighter = std::make_unique<StemTokenizer>();
        const QStringList stems = m_highlighter->stems(words);
        QTextCharFormat format;
        format.setBackground(QColor(255, 230, 90));
        for (const StemTokenizer::Token &token : m_highlighter->tokens(view->document()->toPlainText())) {
            if (!stems.contains(token.stem))
                continue;
            QTextCursor cursor(view->document());
            cursor.setPosition(int(token.start));
            cursor.setPosition(int(token.end), QTextCursor::KeepAnchor);
            marks.append({cursor, format});
        }
    }
    view->setExtraSelections(marks);
}

bool FindPanel::eventFilter(QObject *watched, QEvent *event)
{
    // The arrows and page keys in the query box walk the results, so the hands stay on the keyboard.
    if (watched == m_query && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Down || key == Qt::Key_Up || key == Qt::Key_PageDown || key == Qt::Key_PageUp) {
            QCoreApplication::sendEvent(m_results, event);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FindPanel::showEvent(QShowEvent *event)
{
    m_release.stop();
    QWidget::showEvent(event);
    if (m_released) {
        m_released = false;
        queryChanged(m_query->text());
    }
}

void FindPanel::hideEvent(QHideEvent *event)
{
    m_release.start();
    QWidget::hideEvent(event);
}

void FindPanel::releaseSearch()
{
    if (isVisible() || !m_search)
        return;
    // The thread, its connection and the pages it kept go, and the results with their excerpts; the query
    // stays, and is run again when the panel comes back.
    m_search.reset();
    m_results->clear();
    m_released = true;
    // The window's image shared with the display server goes too; showing the panel makes it again.
    destroy();
    returnFreedMemory();
}

void FindPanel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
