#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QClipboard;
class WaylandClipboardReader;
class X11ClipboardReader;

// The clipboard as the watcher and the edit commands see it: plain text or not, the text, and whether the
// owner marked it secret.
class ClipboardSource : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~ClipboardSource() override;

    virtual bool hasText() = 0;
    virtual QString text() = 0;
    // A password manager's copy (the format "x-kde-passwordManagerHint" holding "secret").
    virtual bool isSecret() = 0;

signals:
    // What the clipboard offers may have changed.
    void changed();
};

// The clipboard through Qt, for platforms other than X (Wayland, offscreen). Under X every question is a
// round trip to the owner (0.1-3.6 ms, more for a large text), too slow for a tick that runs twice a second;
// so what was read is kept until Qt reports a change. Only plain text counts: a list of files is not a word.
class QtClipboardSource final : public ClipboardSource
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

// The system clipboard as the window asks it: never waits for the owner. Under X it answers from what a
// reader on its own thread last heard, and asks again when Qt reports a change; elsewhere it is Qt's. Under
// XWayland with a compositor that offers data control, the reader is a Wayland one that hears of every copy.
// It reports changed() on a new answer from the owner, or a new copy through Qt.
class SystemClipboard final : public ClipboardSource
{
    Q_OBJECT
public:
    // The application's one system clipboard, created on first use; it lives as long as the application.
    static SystemClipboard *instance();
    ~SystemClipboard() override;

    bool hasText() override;
    QString text() override;
    bool isSecret() override;

private:
    explicit SystemClipboard(QObject *parent);
    void takeAnswer(bool hasText, const QString &text, bool secret, bool answered);

    std::unique_ptr<X11ClipboardReader> m_reader;
    std::unique_ptr<WaylandClipboardReader> m_wayland;
    QtClipboardSource *m_fallback = nullptr;
    bool m_hasText = false;
    bool m_secret = false;
    bool m_answered = true;
    bool m_reading = false;
    QString m_text;
};
