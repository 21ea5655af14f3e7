#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

// The words followed by double-click, the back and forward menus offered over them, and the states of
// "B&ack Search" and "N&ext Search". Pure logic: the window supplies the search box through callbacks and
// rebuilds its two menus and two actions from this object whenever changed() is emitted.
class SearchHistory final : public QObject
{
    Q_OBJECT
public:
    using SetText = std::function<void(const QString &)>;
    using GetText = std::function<QString()>;
    using ProcessMessages = std::function<void()>;

    explicit SearchHistory(QObject *parent = nullptr);

    // Setting the box looks the word up; reading it back must return the box's current text.
    void setSearchBox(SetText setText, GetText text);
    // Runs the window's pending messages in the middle of a recording.
    void setProcessMessages(ProcessMessages processMessages);

    // A double-click lookup of `word` has just run.
    void record(QString word);
    void back();
    void next();
    // The user chose item n (0 = top) of the back or the forward menu; out-of-range choices do nothing.
    void backMenuClick(int n);
    void forwardMenuClick(int n);

    const QStringList &words() const { return m_words; }
    int position() const { return m_position; }
    const QStringList &backMenu() const { return m_backMenu; }        // item 0 is the top item
    const QStringList &forwardMenu() const { return m_forwardMenu; }  // item 0 is the top item
    bool backEnabled() const { return m_backEnabled; }
    bool nextEnabled() const { return m_nextEnabled; }

    // The text of a menu action that shows `caption` exactly as recorded, without an access key.
    static QString actionText(const QString &caption);

signals:
    // Any of the menus, the position or the two enabled states may have changed.
    void changed();

private:
    void setSearchText(const QString &word);
    QString searchText() const;
    int firstMatch(const QString &word) const;
    int lastIndex() const { return int(m_words.size()) - 1; }

    SetText m_setText;
    GetText m_text;
    ProcessMessages m_processMessages;

    QStringList m_words;
    int m_position = 0;
    QStringList m_backMenu;
    QStringList m_forwardMenu;
    bool m_backEnabled = false;
    bool m_nextEnabled = false;
};
