#pragma once

#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTextEdit;

class DictionaryTable;
class FullTextSearch;
class StemTokenizer;
struct FoundEntry;

// "Find in Entries": a query box and a list of results. Words find the entries that mention them,
// ranked best first; a text with "*" or "?" lists the headwords it matches, in dictionary order.
// Choosing a result (Enter, double click) reports it; the window moves to it.
class FindPanel final : public QWidget
{
    Q_OBJECT
public:
    // searchFactory makes the full-text search the first time words are looked for.
    using SearchFactory = std::function<std::unique_ptr<FullTextSearch>()>;
    FindPanel(DictionaryTable *table, SearchFactory searchFactory, QWidget *parent = nullptr);
    ~FindPanel() override;

    QLineEdit *queryBox() const { return m_query; }
    QListWidget *results() const { return m_results; }
    QLabel *status() const { return m_status; }

    // Marks the query's words in view's text (the entry shown), as the index stems them.
    void highlightIn(QTextEdit *view, const QStringList &words);

    // How long the panel stays closed before the search's connection and its cache are given back.
    static constexpr std::chrono::milliseconds kReleaseAfter{30000};
    void setReleaseDelay(std::chrono::milliseconds delay) { m_release.setInterval(delay); }
    // Whether a full-text search (its thread, connection and cache) is held now.
    bool holdsSearch() const { return m_search != nullptr; }

signals:
    // row: the headword's position in dictionary order; words: the query's, to highlight.
    void chosen(int row, const QString &headword, const QStringList &words);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void queryChanged(const QString &text);
    void showFound(quint64 query, const QList<FoundEntry> &batch, bool first, bool last, int total, bool provisional);
    void showUnavailable(const QString &reason);
    void choose(QListWidgetItem *item);
    int rowOf(qint64 rowId, const QString &headword) const;
    void releaseSearch();

    DictionaryTable *m_table;
    SearchFactory m_searchFactory;
    std::unique_ptr<FullTextSearch> m_search;
    std::unique_ptr<StemTokenizer> m_highlighter;
    QLineEdit *m_query;
    QLabel *m_status;
    QListWidget *m_results;
    QStringList m_words;
    QString m_unavailable;
    QTimer m_release;
    bool m_released = false;
};
