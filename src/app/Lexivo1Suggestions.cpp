// The line over the entry that says what a search text that is no headword may have meant, and the
// pronunciation beside the headword.
#include "app/Lexivo1.h"

#include "app/AddedDictionaries.h"

#include "app/EntryView.h"
#include "app/HeadwordLabel.h"
#include "app/SearchEdit.h"
#include "app/WordGrid.h"
#include "dictionary/DictionaryTable.h"
#include "dictionary/HeadwordOrder.h"
#include "lexicon/SpellingAssistant.h"
#include "lexicon/SuggestionLine.h"
#include "lexicon/TableHeadwords.h"
#include "platform/Application.h"

#include <QEvent>
#include <QLabel>
#include <QScrollBar>

namespace {

// Keeps the line across the top of the entry view and the pronunciation beside the headword, shown
// and hidden with them.
class Follower final : public QObject
{
public:
    Follower(EntryView *view, SuggestionLine *line, QLabel *headword, QLabel *pronunciation)
        : QObject(view), m_view(view), m_line(line), m_headword(headword), m_pronunciation(pronunciation)
    {
        view->installEventFilter(this);
        line->installEventFilter(this);
        headword->installEventFilter(this);
    }

    void place()
    {
        const int height = m_line->isVisibleTo(m_view) ? m_line->sizeHint().height() + 4 : 0;
        m_view->setTopMargin(height);
        m_line->setGeometry(4, 2, m_view->width() - m_view->verticalScrollBar()->sizeHint().width() - 8, height - 4);
        m_pronunciation->adjustSize();
        m_pronunciation->move(m_headword->geometry().right() + 10,
                              m_headword->y() + m_headword->fontMetrics().ascent() - m_pronunciation->fontMetrics().ascent());
        m_pronunciation->setVisible(m_headword->isVisibleTo(m_headword->parentWidget()) && !m_pronunciation->text().isEmpty());
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::Resize:
        case QEvent::Move:
            place();
            break;
        default:
            break;
        }
        return false;
    }

private:
    EntryView *m_view;
    SuggestionLine *m_line;
    QLabel *m_headword;
    QLabel *m_pronunciation;
};

// A palette, not a style sheet: a style sheet would bring its own style into play before the first paint.
void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

QString spellingNotice()
{
    return QStringLiteral("Suggestions need the hunspell-en-us package.");
}

QString spellingFailure(const QString &why)
{
    return QStringLiteral("Suggestions stopped: %1").arg(why);
}

} // namespace

void TLexivoAppForm::createSuggestionLine()
{
    SuggestionLine1 = new SuggestionLine(RichEdit1);
    SuggestionLine1->setFont(RichEdit1->font());
    setTextColor(SuggestionLine1, QColor(0x55, 0x55, 0x55));
    WordPronLabel1 = new QLabel(WordDBText1->parentWidget());
    WordPronLabel1->setObjectName(QStringLiteral("WordPronLabel1"));
    WordPronLabel1->setTextFormat(Qt::PlainText);
    WordPronLabel1->setFont(RichEdit1->font());
    // Quieter than the headword: its size, not its weight or colour.
    setTextColor(WordPronLabel1, QColor(0x6a, 0x6a, 0x8a));
    WordPronLabel1->hide();
    auto *follower = new Follower(RichEdit1, SuggestionLine1, WordDBText1, WordPronLabel1);
    m_placeSuggestionLine = [follower] { follower->place(); };
    connect(Table1, &DictionaryTable::dataChanged, follower, [this] { showPronunciation(); });
    setTabOrder(SEdit1, SuggestionLine1);
    setTabOrder(SuggestionLine1, DBGrid1);

    m_headwords = std::make_unique<TableHeadwords>(Table1);
    m_spelling = new SpellingAssistant(m_headwords.get(), this);
    connect(m_spelling, &SpellingAssistant::found, this,
            [this](const QString &text, const QList<BaseForm> &forms, const QStringList &suggestions) {
                SuggestionLine1->offer(text, forms, suggestions);
            });
    connect(m_spelling, &SpellingAssistant::loaded, this, [this] {
        // What was typed while the dictionary loaded gets its answer now.
        updateSuggestionLine();
    });
    // Said once, where the suggestions would have been; the line goes with the next keystroke as usual.
    connect(m_spelling, &SpellingAssistant::failed, this, [this](const QString &why) {
        SuggestionLine1->withdraw();
        SuggestionLine1->setText(spellingFailure(why).toHtmlEscaped());
        SuggestionLine1->show();
    });
    connect(SuggestionLine1, &SuggestionLine::chosen, this, [this](const QString &word) {
        const bool hadFocus = SuggestionLine1->hasFocus();
        followWord(word);
        if (hadFocus)
            SEdit1->setFocus();
    });
}

void TLexivoAppForm::startSpelling()
{
    // Hunspell holds only headwords: nothing else is ever offered, and the rest would cost memory.
    const HeadwordSet headwords = Table1->headwordSet();
    m_spelling->start(m_env.speller ? m_env.speller : [headwords] {
        return openHunspell(QStringLiteral("en_US"), [&headwords](QStringView word) { return headwords.containsIgnoringCase(word); });
    });
    showPronunciation();
}

void TLexivoAppForm::updateSuggestionLine()
{
    // Start-up looks a word up before the line exists.
    if (!m_spelling)
        return;
    const QString text = SEdit1->text();
    const QString nearest = Table1->currentHeadword();
    if (text.isEmpty() || (text.size() <= kMaxHeadwordLength && compareHeadwordsIgnoringCase(nearest, text) == 0)) {
        m_spelling->clear();
        SuggestionLine1->withdraw();
        return;
    }
    const bool spellingMiss = !nearest.startsWith(searchKey(text), Qt::CaseInsensitive);
    // Without a spelling dictionary the line says why it stays empty, once, at the first word it would have
    // had suggestions for, and keeps saying it while the text is misspelt.
    if (m_spelling->isLoaded() && !m_spelling->isAvailable()) {
        if (!spellingMiss)
            SuggestionLine1->withdraw();
        else if (!SuggestionLine1->showsNote())
            SuggestionLine1->showNoteOnce(spellingNotice());
        return;
    }
    SuggestionLine1->withdraw();
    m_spelling->lookUp(text, spellingMiss);
}

void TLexivoAppForm::showPronunciation()
{
    // IPA sends the font machinery looking for fallback glyphs: not before the first entry is painted.
    // Nor once the window is going (the spelling thread has stopped by then).
    if (m_spelling && m_spelling->isStarted()) {
        const QString own = Table1->currentPronunciation();
        WordPronLabel1->setText(own.isEmpty() && m_added ? m_added->pronunciation(Table1->currentRow()) : own);
        m_placeSuggestionLine();
    }
}

void TLexivoAppForm::followWord(const QString &word)
{
    SEdit1->setText(word);
    m_app->processMessages();
    recordFollowedWord();
}
