// Lookup at every keystroke, the word list and the search box following each other.
#include "app/Lexivo1.h"

#include "app/EntryView.h"
#include "app/SearchEdit.h"
#include "app/WordGrid.h"
#include "dictionary/DictionarySession.h"
#include "dictionary/DictionaryTable.h"
#include "platform/Application.h"

#include <QAction>
#include <QLabel>

QString TLexivoAppForm::tablePassword()
{
    return QStringLiteral("marbol47quen");
}

void TLexivoAppForm::Table1BeforeOpen()
{
    Session1->addPassword(tablePassword());
}

void TLexivoAppForm::Table1AfterClose()
{
    Session1->removeAllPasswords();
}

void TLexivoAppForm::SEdit1Change()
{
    Table1->findNearest(SEdit1->text());
    DBGrid1->centerCurrent();
    writePosition();
    showEntryFace();
    updateSuggestionLine();
}

void TLexivoAppForm::SEdit1KeyDown()
{
    // The search box has only the keys of an ordinary one-line edit.
}

void TLexivoAppForm::WordDBText1Click()
{
}

void TLexivoAppForm::Table1AfterScroll()
{
    writePosition();
    if (!DBGrid1->hasFocus())
        return;
    const int chosen = Table1->currentRow();
    const QString headword = Table1->currentHeadword();
    SEdit1->setText(headword);
    // Case twins share one search key, so the lookup lands on the first of them: go back to the
    // row the list moved to, or arrowing could never pass the first twin.
    if (Table1->currentRow() != chosen && Table1->currentHeadword() != headword) {
        Table1->moveTo(chosen);
        DBGrid1->centerCurrent();
    }
}

void TLexivoAppForm::DBGrid1Enter()
{
    SEdit1->setText(Table1->currentHeadword());
}

void TLexivoAppForm::DataSetNext1Execute()
{
    Table1->next();
}

void TLexivoAppForm::DataSetPrior1Execute()
{
    Table1->prior();
}

void TLexivoAppForm::RichEdit1DblClick()
{
    followWord(RichEdit1->textCursor().selectedText());
}

void TLexivoAppForm::writePosition()
{
    StatusPanels[1]->setText(QStringLiteral("%1/%2").arg(Table1->recNo()).arg(Table1->recordCount()));
}

// The data-navigation rule: "&Next" while open and not past the end, "&Back" while not before the start.
void TLexivoAppForm::updateNavigationCommands()
{
    action(Command::DataSetNext1)->setEnabled(Table1->isOpen() && !Table1->eof());
    action(Command::DataSetPrior1)->setEnabled(Table1->isOpen() && !Table1->bof());
}
