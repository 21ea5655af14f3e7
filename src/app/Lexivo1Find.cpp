// "Find in Entries": the panel that finds words by what their entries say, or headwords by a pattern.
#include "app/Lexivo1.h"

#include "app/EntryView.h"
#include "app/SearchEdit.h"
#include "dictionary/DictionarySession.h"
#include "dictionary/DictionaryTable.h"
#include "search/FindPanel.h"
#include "search/FullTextSearch.h"

#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>

void TLexivoAppForm::FindEntries1Execute()
{
    if (!m_findPanel) {
        // The index is opened only now, on a thread of its own: start-up and typing never wait for it.
        const QString path = QDir::current().absoluteFilePath(Table1->tableName());
        const QStringList passwords = Session1->passwords();
        m_findPanel = new FindPanel(
            Table1, [path, passwords] { return std::make_unique<FullTextSearch>(path, passwords); }, this);
        connect(m_findPanel, &FindPanel::chosen, this, &TLexivoAppForm::showFoundEntry);
        // Beside the window when the screen has room, over its right half otherwise.
        const QRect frame = frameGeometry();
        const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect();
        QPoint at(frame.right() + 8, frame.top());
        if (!screen.isEmpty() && at.x() + m_findPanel->width() > screen.right())
            at.setX(std::max(screen.left(), frame.right() - m_findPanel->width()));
        m_findPanel->move(at);
    }
    m_findPanel->show();
    m_findPanel->raise();
    m_findPanel->activateWindow();
    m_findPanel->queryBox()->setFocus();
    m_findPanel->queryBox()->selectAll();
}

void TLexivoAppForm::showFoundEntry(int row, const QString &headword, const QStringList &words)
{
    if (row < 0 || !Table1->isOpen())
        return;
    // As a move in the word list does: the search box takes the headword (no history entry).
    SEdit1->setText(headword);
    // Headwords that differ only in case share a lookup; the row chosen is the one meant.
    if (Table1->currentRow() != row)
        Table1->moveTo(row);
    showEntryFace();
    m_findPanel->highlightIn(RichEdit1, words);
}
