#pragma once

#include <QPointer>
#include <QWidget>

#include <optional>

#include "help/HelpFile.h"
#include "platform/LinkOpener.h"

class HelpLocator;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

// The help window: contents and index of the help file beside the topic they lead to.
class HelpViewer final : public QWidget
{
    Q_OBJECT
public:
    // Links out of the help (web, mail) go to openLink.
    explicit HelpViewer(LinkOpener openLink, QWidget *parent = nullptr);

    // Opens the viewer for the help file the locator finds, or brings the open one forward.
    // Non-modal; the one viewer is reused while it is open.
    static HelpViewer *showHelp(const HelpLocator &locator, LinkOpener openLink, QWidget *owner = nullptr);
    static HelpViewer *instance();

    // Loads a help file; on failure the viewer shows why and returns false.
    bool openFile(const QString &path);
    void showMessage(const QString &text);
    bool showTopic(const QString &id);

    bool isLoaded() const { return m_file.has_value(); }
    QString path() const { return m_path; }
    QString currentTopic() const { return m_current; }
    QString message() const;

    QTabWidget *tabs() const { return m_tabs; }
    QTreeWidget *contents() const { return m_contents; }
    QLineEdit *indexFilter() const { return m_filter; }
    QListWidget *indexList() const { return m_index; }
    QTextBrowser *browser() const { return m_browser; }

private:
    void fillContents();
    void fillIndex();
    void addChildren(QTreeWidgetItem *parentItem, const QString &parentId);
    void filterIndex(const QString &text);
    void openIndexItem(QListWidgetItem *item);
    void followLink(const QUrl &url);

    std::optional<HelpFile> m_file;
    QString m_path;
    LinkOpener m_openLink;
    QString m_current;
    QTabWidget *m_tabs = nullptr;
    QTreeWidget *m_contents = nullptr;
    QLineEdit *m_filter = nullptr;
    QListWidget *m_index = nullptr;
    QTextBrowser *m_browser = nullptr;
    QLabel *m_message = nullptr;
};
