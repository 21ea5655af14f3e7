#include "help/HelpViewer.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "help/HelpLocator.h"
#include "platform/AppError.h"

namespace {

constexpr int kTopicRole = Qt::UserRole;

QPointer<HelpViewer> &theViewer()
{
    static QPointer<HelpViewer> viewer;
    return viewer;
}

} // namespace

HelpViewer::HelpViewer(LinkOpener openLink, QWidget *parent)
    : QWidget(parent, Qt::Window), m_openLink(std::move(openLink))
{
    setWindowTitle(QStringLiteral("Verbarium Help"));
    setObjectName(QStringLiteral("HelpViewer"));
    resize(760, 520);

    m_contents = new QTreeWidget;
    m_contents->setHeaderHidden(true);
    m_contents->setObjectName(QStringLiteral("HelpContents"));

    auto *indexPage = new QWidget;
    m_filter = new QLineEdit;
    m_filter->setPlaceholderText(QStringLiteral("Type the first letters of a keyword"));
    m_filter->setClearButtonEnabled(true);
    m_filter->setObjectName(QStringLiteral("HelpIndexFilter"));
    m_index = new QListWidget;
    m_index->setObjectName(QStringLiteral("HelpIndex"));
    auto *indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(4, 4, 4, 4);
    indexLayout->addWidget(m_filter);
    indexLayout->addWidget(m_index);

    m_tabs = new QTabWidget;
    m_tabs->addTab(m_contents, QStringLiteral("Contents"));
    m_tabs->addTab(indexPage, QStringLiteral("Index"));

    m_browser = new QTextBrowser;
    m_browser->setObjectName(QStringLiteral("HelpTopic"));
    // Links are ours to follow: topic links here, web and mail links in the desktop's programs.
    m_browser->setOpenLinks(false);

    m_message = new QLabel;
    m_message->setObjectName(QStringLiteral("HelpMessage"));
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_message->hide();

    auto *splitter = new QSplitter;
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 520});

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_message);
    layout->addWidget(splitter, 1);

    connect(m_contents, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (item)
            showTopic(item->data(0, kTopicRole).toString());
    });
    connect(m_filter, &QLineEdit::textChanged, this, &HelpViewer::filterIndex);
    connect(m_filter, &QLineEdit::returnPressed, this, [this] { openIndexItem(m_index->currentItem()); });
    connect(m_index, &QListWidget::itemActivated, this, &HelpViewer::openIndexItem);
    connect(m_index, &QListWidget::itemClicked, this, &HelpViewer::openIndexItem);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpViewer::followLink);
}

HelpViewer *HelpViewer::instance()
{
    return theViewer();
}

HelpViewer *HelpViewer::showHelp(const HelpLocator &locator, LinkOpener openLink, QWidget *owner)
{
    QPointer<HelpViewer> &viewer = theViewer();
    if (!viewer) {
        viewer = new HelpViewer(std::move(openLink), owner);
        viewer->setAttribute(Qt::WA_DeleteOnClose);
    }
    const QString path = locator.locate();
    if (path.isEmpty()) {
        viewer->m_file.reset();
        viewer->m_path.clear();
        QStringList dirs;
        for (const QString &dir : locator.searchPath())
            dirs.append(QDir::toNativeSeparators(dir));
        viewer->showMessage(QStringLiteral("The help file \"%1\" was not found. It was looked for in: %2.")
                                .arg(QLatin1String(HelpLocator::kHelpFileName), dirs.join(QStringLiteral(", "))));
    } else if (path != viewer->m_path || !viewer->isLoaded()) {
        viewer->openFile(path);
    }
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

bool HelpViewer::openFile(const QString &path)
{
    m_path = path;
    try {
        m_file = HelpFile::load(path);
    } catch (const AppError &error) {
        m_file.reset();
        showMessage(error.message());
        return false;
    }
    m_message->hide();
    m_tabs->setEnabled(true);
    fillContents();
    fillIndex();
    if (!m_file->topics().isEmpty())
        showTopic(m_file->topics().first().id);
    return true;
}

void HelpViewer::showMessage(const QString &text)
{
    m_current.clear();
    m_contents->clear();
    m_index->clear();
    m_browser->clear();
    m_tabs->setEnabled(false);
    m_message->setText(text);
    m_message->show();
}

QString HelpViewer::message() const
{
    return m_message->isHidden() ? QString() : m_message->text();
}

bool HelpViewer::showTopic(const QString &id)
{
    const HelpTopic *topic = m_file ? m_file->topic(id) : nullptr;
    if (!topic)
        return false;
    m_current = id;
    m_browser->setHtml(QStringLiteral("<h2>%1</h2>\n").arg(topic->title.toHtmlEscaped()) + topic->html);
    // Keep the contents in step when a topic is reached by a link or the index.
    const QList<QTreeWidgetItem *> items = m_contents->findItems(QStringLiteral("*"), Qt::MatchWildcard | Qt::MatchRecursive);
    for (QTreeWidgetItem *item : items) {
        if (item->data(0, kTopicRole).toString() == id && m_contents->currentItem() != item) {
            const QSignalBlocker block(m_contents);
            m_contents->setCurrentItem(item);
            break;
        }
    }
    return true;
}

void HelpViewer::fillContents()
{
    const QSignalBlocker block(m_contents);
    m_contents->clear();
    addChildren(nullptr, QString());
    m_contents->expandAll();
}

void HelpViewer::addChildren(QTreeWidgetItem *parentItem, const QString &parentId)
{
    for (const HelpTopic *topic : m_file->children(parentId)) {
        auto *item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(m_contents);
        item->setText(0, topic->title);
        item->setData(0, kTopicRole, topic->id);
        addChildren(item, topic->id);
    }
}

void HelpViewer::fillIndex()
{
    m_index->clear();
    const QList<HelpIndexEntry> entries = m_file->index();
    for (int i = 0; i < entries.size(); ++i) {
        const HelpIndexEntry &entry = entries[i];
        const auto sameKeyword = [&](int j) {
            return j >= 0 && j < entries.size() && entries[j].keyword.compare(entry.keyword, Qt::CaseInsensitive) == 0;
        };
        QString text = entry.keyword;
        // A keyword that leads to several topics names the topic on each of its lines.
        if (sameKeyword(i - 1) || sameKeyword(i + 1))
            text += QStringLiteral(" \u2014 ") + m_file->topic(entry.topicId)->title;
        auto *item = new QListWidgetItem(text, m_index);
        item->setData(kTopicRole, entry.topicId);
    }
    filterIndex(m_filter->text());
}

void HelpViewer::filterIndex(const QString &text)
{
    const QString wanted = text.trimmed();
    QListWidgetItem *first = nullptr;
    QListWidgetItem *firstPrefix = nullptr;
    for (int i = 0; i < m_index->count(); ++i) {
        QListWidgetItem *item = m_index->item(i);
        const bool shown = item->text().contains(wanted, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (shown && !first)
            first = item;
        if (shown && !firstPrefix && item->text().startsWith(wanted, Qt::CaseInsensitive))
            firstPrefix = item;
    }
    // The keyword that begins with the typed letters is the one most likely wanted.
    m_index->setCurrentItem(firstPrefix ? firstPrefix : first);
}

void HelpViewer::openIndexItem(QListWidgetItem *item)
{
    if (item && !item->isHidden())
        showTopic(item->data(kTopicRole).toString());
}

void HelpViewer::followLink(const QUrl &url)
{
    if (url.scheme() == QLatin1String(HelpFile::kLinkScheme)) {
        showTopic(url.path());
        return;
    }
    if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")
        || url.scheme() == QLatin1String("mailto"))
        m_openLink(url);
}
