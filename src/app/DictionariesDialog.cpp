#include "app/DictionariesDialog.h"

#include "app/AddedDictionaries.h"
#include "shelf/AddedDictionary.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

DictionariesDialog::DictionariesDialog(AddedDictionaries *dictionaries, QWidget *parent)
    : QDialog(parent), m_dictionaries(dictionaries)
{
    setObjectName(QStringLiteral("DictionariesDialog"));
    setWindowTitle(tr("Dictionaries"));
    resize(640, 480);

    auto *listLabel = new QLabel(tr("&Dictionaries, in the order their sections follow the entry:"), this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("DictionaryList"));
    m_list->setAccessibleName(tr("Dictionaries"));
    listLabel->setBuddy(m_list);
    m_up = new QPushButton(tr("Move &Up"), this);
    m_down = new QPushButton(tr("Move Do&wn"), this);
    m_up->setObjectName(QStringLiteral("MoveUp"));
    m_down->setObjectName(QStringLiteral("MoveDown"));
    auto *detailsLabel = new QLabel(tr("A&bout the dictionary:"), this);
    m_details = new QPlainTextEdit(this);
    m_details->setObjectName(QStringLiteral("DictionaryDetails"));
    m_details->setReadOnly(true);
    m_details->setAccessibleName(tr("About the dictionary"));
    detailsLabel->setBuddy(m_details);
    auto *foldersLabel = new QLabel(tr("&Folders you added (searched with their subfolders):"), this);
    m_folders = new QListWidget(this);
    m_folders->setObjectName(QStringLiteral("FolderList"));
    m_folders->setAccessibleName(tr("Folders you added"));
    m_folders->setMaximumHeight(90);
    foldersLabel->setBuddy(m_folders);
    auto *addFolder = new QPushButton(tr("&Add Folder..."), this);
    addFolder->setObjectName(QStringLiteral("AddFolder"));
    m_removeFolder = new QPushButton(tr("&Remove Folder"), this);
    m_removeFolder->setObjectName(QStringLiteral("RemoveFolder"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("DictionariesStatus"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);

    auto *orderButtons = new QVBoxLayout;
    orderButtons->addWidget(m_up);
    orderButtons->addWidget(m_down);
    orderButtons->addStretch();
    auto *listRow = new QHBoxLayout;
    listRow->addWidget(m_list, 1);
    listRow->addLayout(orderButtons);
    auto *folderButtons = new QVBoxLayout;
    folderButtons->addWidget(addFolder);
    folderButtons->addWidget(m_removeFolder);
    folderButtons->addStretch();
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folders, 1);
    folderRow->addLayout(folderButtons);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(listLabel);
    layout->addLayout(listRow, 2);
    layout->addWidget(detailsLabel);
    layout->addWidget(m_details, 2);
    layout->addWidget(foldersLabel);
    layout->addLayout(folderRow);
    layout->addWidget(m_status);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::currentRowChanged, this, &DictionariesDialog::showDetails);
    connect(m_list, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        if (!m_filling)
            toggle(m_list->row(item), item->checkState() == Qt::Checked);
    });
    connect(m_up, &QPushButton::clicked, this, [this] { move(-1); });
    connect(m_down, &QPushButton::clicked, this, [this] { move(1); });
    connect(addFolder, &QPushButton::clicked, this, &DictionariesDialog::addFolder);
    connect(m_removeFolder, &QPushButton::clicked, this, &DictionariesDialog::removeFolder);
    connect(m_folders, &QListWidget::currentRowChanged, this, [this](int row) { m_removeFolder->setEnabled(row >= 0); });
    connect(m_dictionaries, &AddedDictionaries::changed, this, &DictionariesDialog::reload);
    connect(m_dictionaries, &AddedDictionaries::progress, m_status, &QLabel::setText);
    reload();
}

void DictionariesDialog::reload()
{
    const int current = std::max(m_list->currentRow(), 0);
    m_filling = true;
    m_list->clear();
    for (const AddedDictionaries::Found &found : m_dictionaries->found()) {
        const AddedDictionary &d = *found.dictionary;
        QString text = d.name();
        if (!found.enabled)
            text += tr(" (off)");
        else if (!d.isReady() && !d.error().isEmpty())
            text += tr(" (cannot be read)");
        auto *item = new QListWidgetItem(text, m_list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(found.enabled ? Qt::Checked : Qt::Unchecked);
    }
    if (m_list->count() == 0)
        m_details->setPlainText(tr("No dictionary was found. Install dict-gcide or a FreeDict pair "
                                   "(dict-freedict-eng-deu, ...), or add a folder that holds dictd or StarDict files."));
    m_folders->clear();
    m_folders->addItems(m_dictionaries->settings().folders);
    m_removeFolder->setEnabled(m_folders->currentRow() >= 0);
    m_filling = false;
    m_list->setCurrentRow(std::min(current, m_list->count() - 1));
    showDetails();
}

void DictionariesDialog::showDetails()
{
    const int row = m_list->currentRow();
    const auto &found = m_dictionaries->found();
    m_up->setEnabled(row > 0);
    m_down->setEnabled(row >= 0 && row + 1 < found.size());
    if (row < 0 || row >= found.size())
        return;
    const AddedDictionary &d = *found[row].dictionary;
    const QLocale locale;
    QStringList lines;
    lines << d.name();
    if (!found[row].enabled)
        lines << tr("Off: its words and sections are not shown.");
    if (d.isReady())
        lines << tr("%1 headwords").arg(locale.toString(d.headwordCount()));
    else if (!d.error().isEmpty())
        lines << tr("It cannot be read: %1").arg(d.error());
    lines << tr("%1 on disk, in %2").arg(locale.formattedDataSize(d.sizeOnDisk()), d.source().folder());
    for (const QString &warning : d.warnings())
        lines << tr("Note: %1").arg(warning);
    if (!d.description().isEmpty())
        lines << QString() << d.description();
    if (!d.licence().isEmpty())
        lines << QString() << d.licence();
    m_details->setPlainText(lines.join(u'\n'));
}

// The choices as they now stand: those last kept, over the dictionaries last found (a read may be under way).
static QList<ShelfSettings::Choice> currentChoices(const AddedDictionaries *dictionaries)
{
    QList<DictionarySource> sources;
    for (const auto &found : dictionaries->found())
        sources.append(found.dictionary->source());
    return dictionaries->settings().arrange(sources);
}

static qsizetype indexOfId(const QList<ShelfSettings::Choice> &choices, const QString &id)
{
    for (qsizetype i = 0; i < choices.size(); ++i) {
        if (choices[i].id == id)
            return i;
    }
    return -1;
}

void DictionariesDialog::toggle(int row, bool on)
{
    const auto &all = m_dictionaries->found();
    if (row < 0 || row >= all.size())
        return;
    ShelfSettings settings = m_dictionaries->settings();
    settings.choices = currentChoices(m_dictionaries);
    const qsizetype at = indexOfId(settings.choices, all[row].dictionary->source().id);
    if (at < 0)
        return;
    settings.choices[at].enabled = on;
    if (!m_dictionaries->apply(settings))
        m_status->setText(tr("Your choice could not be saved in the settings file; it holds until the program ends."));
}

void DictionariesDialog::move(int by)
{
    const int row = m_list->currentRow();
    const auto &all = m_dictionaries->found();
    if (row < 0 || row + by < 0 || row + by >= all.size())
        return;
    ShelfSettings settings = m_dictionaries->settings();
    settings.choices = currentChoices(m_dictionaries);
    const qsizetype from = indexOfId(settings.choices, all[row].dictionary->source().id);
    const qsizetype to = indexOfId(settings.choices, all[row + by].dictionary->source().id);
    if (from < 0 || to < 0)
        return;
    settings.choices.swapItemsAt(from, to);
    m_list->setCurrentRow(row + by);
    if (!m_dictionaries->apply(settings))
        m_status->setText(tr("Your choice could not be saved in the settings file; it holds until the program ends."));
}

void DictionariesDialog::addFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Add Folder"));
    if (folder.isEmpty())
        return;
    ShelfSettings settings = m_dictionaries->settings();
    if (!settings.folders.contains(folder))
        settings.folders.append(folder);
    m_dictionaries->apply(settings);
    reload();
}

void DictionariesDialog::removeFolder()
{
    const int row = m_folders->currentRow();
    ShelfSettings settings = m_dictionaries->settings();
    if (row < 0 || row >= settings.folders.size())
        return;
    settings.folders.removeAt(row);
    m_dictionaries->apply(settings);
    reload();
}
