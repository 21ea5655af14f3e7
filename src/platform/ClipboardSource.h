#pragma once

#include <QObject>
#include <QString>

class QClipboard;

// The clipboard as the watcher sees it: plain text or not, the text, and whether the owner marked it secret.
class ClipboardSource
{
public:
    virtual ~ClipboardSource();

    virtual bool hasText() = 0;
    virtual QString text() = 0;
    // A password manager's copy (the format "x-kde-passwordManagerHint" holding "secret").
    virtual bool isSecret() = 0;
};

// The system clipboard. Under X every question is a round trip to the owner (0.1-3.6 ms, more for a large
// text), too slow for a tick that runs twice a second; so what was read is kept until Qt reports a change.
class QtClipboardSource final : public QObject, public ClipboardSource
{
    Q_OBJECT
public:
    // Null: the application's clipboard.
    explicit QtClipboardSource(QClipboard *clipboard = nullptr, QObject *parent = nullptr);

    bool hasText() override;
    QString text() override;
    bool isSecret() override;

private:
    void refresh();

    QClipboard *m_clipboard;
    bool m_stale = true;
    bool m_hasText = false;
    bool m_secret = false;
    QString m_text;
};
