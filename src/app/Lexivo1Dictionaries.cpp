// The dictionaries the user has beside the built-in one: their rows in the word list, their sections under the
// entry, the progress of their first read and the Dictionaries window.
#include "app/Lexivo1.h"

#include "app/AddedDictionaries.h"
#include "app/DataLink.h"
#include "app/DictionariesDialog.h"
#include "app/SearchEdit.h"
#include "app/WordGrid.h"
#include "dictionary/DictionaryTable.h"

#include <QLabel>

void TLexivoAppForm::createAddedDictionaries()
{
    m_added = new AddedDictionaries(Table1, m_platform.configFolder, this);
    m_added->setObjectName(QStringLiteral("AddedDictionaries1"));
    DataSource1->setEntryFilter([this](int row, const QString &entry) { return m_added->entryWithSections(row, entry); });
    connect(m_added, &AddedDictionaries::progress, this, [this](const QString &text) {
        // The panel also shows hints: give back its text only if it still shows ours.
        if (!text.isEmpty())
            StatusPanels[0]->setText(text);
        else if (StatusPanels[0]->text() == m_addedProgress)
            StatusPanels[0]->setText(QStringLiteral("Verbarium"));
        m_addedProgress = text;
    });
    // The row a typed text finds may be one the dictionaries brought: look it up again, unless the user is
    // moving through the list. The position stays blank until the first lookup.
    connect(m_added, &AddedDictionaries::changed, this, [this] {
        if (!DBGrid1->hasFocus() && !SEdit1->text().isEmpty()) {
            Table1->findNearest(SEdit1->text());
            DBGrid1->centerCurrent();
        }
        if (!StatusPanels[1]->text().isEmpty())
            writePosition();
    });
}

void TLexivoAppForm::startAddedDictionaries()
{
    m_added->start();
}

void TLexivoAppForm::DictionariesAction1Execute()
{
    // One window, raised again when the command is given while it is open.
    auto *dialog = findChild<DictionariesDialog *>(QString(), Qt::FindDirectChildrenOnly);
    if (!dialog) {
        dialog = new DictionariesDialog(m_added, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}
