#pragma once

#include "tray/TrayShell.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

#include <map>

// The notification area of the desktop, over QSystemTrayIcon. The icon's mouse activations are
// turned into the callback messages of the icon's record and sent to its window.
// Where the desktop has no notification area yet, an added icon is kept and shown once one appears.
//
// Desktops hold icons in one of two ways. An XEmbed tray embeds a window of the program, which sees every
// press. A status-notifier host (KDE, XFCE, GNOME's AppIndicator, Wayland panels) is told over D-Bus that the
// user activated the icon, once per click and never as a double click, and opens the icon's menu itself.
class SystemTrayShell final : public QObject, public TrayShell
{
    Q_OBJECT
public:
    static constexpr int TrayPollInterval = 2000; // ms between looks for a notification area
    enum class Host { Probe, XEmbed, StatusNotifier };

    // Probe: ask the session bus, once, which way this desktop holds icons, just as the toolkit does.
    explicit SystemTrayShell(QObject *parent = nullptr, Host host = Host::Probe);
    ~SystemTrayShell() override;

    bool add(const NotifyIconData &data) override;
    bool modify(const NotifyIconData &data) override;
    bool remove(const NotifyIconData &data) override;
    bool hasNotificationArea() const override;
    void setMenu(const NotifyIconData &data, QMenu *menu) override;

    // True while icons wait for a notification area to appear.
    bool isWaitingForTray() const { return m_trayPoll.isActive(); }
    // The desktop icon behind an added record (for tests and diagnostics).
    QSystemTrayIcon *iconFor(quintptr uID) const;

    // The mouse messages one activation stands for, in the order the shell would send them.
    static QList<quint32> mouseMessagesFor(QSystemTrayIcon::ActivationReason reason);
    // Whether a status-notifier host runs on the session bus.
    static bool statusNotifierHostRegistered();

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

    bool statusNotifier();

    std::map<quintptr, Entry> m_entries;
    QTimer m_trayPoll;
    Host m_host;
    QElapsedTimer m_lastActivation;
};
