#pragma once

#include "tray/TrayShell.h"

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

#include <map>

// The notification area of the desktop, over QSystemTrayIcon. The icon's mouse activations are
// turned into the callback messages of the icon's record and sent to its window.
// Where the desktop has no notification area yet, an added icon is kept and shown once one appears.
class SystemTrayShell final : public QObject, public TrayShell
{
    Q_OBJECT
public:
    static constexpr int TrayPollInterval = 2000; // ms between looks for a notification area

    explicit SystemTrayShell(QObject *parent = nullptr);
    ~SystemTrayShell() override;

    bool add(const NotifyIconData &data) override;
    bool modify(const NotifyIconData &data) override;
    bool remove(const NotifyIconData &data) override;

    // True while icons wait for a notification area to appear.
    bool isWaitingForTray() const { return m_trayPoll.isActive(); }
    // The desktop icon behind an added record (for tests and diagnostics).
    QSystemTrayIcon *iconFor(quintptr uID) const;

    // The mouse messages one activation stands for, in the order the shell would send them.
    static QList<quint32> mouseMessagesFor(QSystemTrayIcon::ActivationReason reason);

private:
    struct Entry
    {
        QPointer<QSystemTrayIcon> icon;
        QPointer<TrayWindow> window;
        quint32 callbackMessage = 0;
    };

    void apply(Entry &entry, const NotifyIconData &data);
    void activated(quintptr uID, QSystemTrayIcon::ActivationReason reason);
    void pollTray();

    std::map<quintptr, Entry> m_entries;
    QTimer m_trayPoll;
};
