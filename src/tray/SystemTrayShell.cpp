#include "tray/SystemTrayShell.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QGuiApplication>
#include <QStyleHints>

namespace {
constexpr char watcherService[] = "org.kde.StatusNotifierWatcher";
}

SystemTrayShell::SystemTrayShell(QObject *parent, Host host) : QObject(parent), m_host(host)
{
    m_trayPoll.setInterval(TrayPollInterval);
    connect(&m_trayPoll, &QTimer::timeout, this, &SystemTrayShell::pollTray);
}

SystemTrayShell::~SystemTrayShell()
{
    for (auto &[id, entry] : m_entries)
        delete entry.icon.data();
}

bool SystemTrayShell::add(const NotifyIconData &data)
{
    if (m_entries.count(data.uID))
        return false; // the shell refuses a second icon with the same id
    // Asked before the first desktop icon exists, the moment the toolkit makes the same choice for good.
    statusNotifier();
    Entry entry;
    entry.icon = new QSystemTrayIcon(this);
    const quintptr id = data.uID;
    // Queued, so that whatever the component does in answer (even destroying this shell) runs
    // outside the tray icon's own mouse handler.
    connect(entry.icon, &QSystemTrayIcon::activated, this,
            [this, id](QSystemTrayIcon::ActivationReason reason) { activated(id, reason); }, Qt::QueuedConnection);
    apply(entry, data);
    // With no notification area, showing merely records the wish; Qt embeds the icon into an XEmbed
    // tray that appears later, and the poll below makes sure it is shown then.
    entry.icon->show();
    m_entries.emplace(id, entry);
    if (!QSystemTrayIcon::isSystemTrayAvailable() && !m_trayPoll.isActive())
        m_trayPoll.start();
    return true;
}

bool SystemTrayShell::modify(const NotifyIconData &data)
{
    const auto it = m_entries.find(data.uID);
    if (it == m_entries.end() || !it->second.icon)
        return false;
    apply(it->second, data);
    return true;
}

bool SystemTrayShell::remove(const NotifyIconData &data)
{
    const auto it = m_entries.find(data.uID);
    if (it == m_entries.end())
        return false;
    if (QSystemTrayIcon *icon = it->second.icon) {
        icon->hide();
        // Removal may be asked for from inside the icon's own activation: let that finish first.
        icon->deleteLater();
    }
    m_entries.erase(it);
    if (m_entries.empty())
        m_trayPoll.stop();
    return true;
}

bool SystemTrayShell::hasNotificationArea() const
{
    // The toolkit's own answer opens a new bus connection at every question; the host's name is enough.
    if (m_host == Host::StatusNotifier)
        return QDBusConnection::sessionBus().interface()->isServiceRegistered(QLatin1String(watcherService));
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTrayShell::setMenu(const NotifyIconData &data, QMenu *menu)
{
    // An XEmbed tray leaves the menu to the component, which opens it on its own mouse message.
    const auto it = m_entries.find(data.uID);
    if (it != m_entries.end() && it->second.icon && statusNotifier())
        it->second.icon->setContextMenu(menu);
}

bool SystemTrayShell::statusNotifierHostRegistered()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(QLatin1String(watcherService)))
        return false;
    QDBusInterface watcher(QLatin1String(watcherService), QStringLiteral("/StatusNotifierWatcher"),
                           QLatin1String(watcherService), bus);
    return watcher.property("IsStatusNotifierHostRegistered").toBool();
}

bool SystemTrayShell::statusNotifier()
{
    if (m_host == Host::Probe)
        m_host = statusNotifierHostRegistered() ? Host::StatusNotifier : Host::XEmbed;
    return m_host == Host::StatusNotifier;
}

QSystemTrayIcon *SystemTrayShell::iconFor(quintptr uID) const
{
    const auto it = m_entries.find(uID);
    return it == m_entries.end() ? nullptr : it->second.icon.data();
}

QList<quint32> SystemTrayShell::mouseMessagesFor(QSystemTrayIcon::ActivationReason reason)
{
    // Qt reports one activation per press; the shell reports press and release. A double click
    // reaches Qt as Trigger then DoubleClick, so the whole reads down, up, double click, up.
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return {Win::WM_LBUTTONDOWN, Win::WM_LBUTTONUP};
    case QSystemTrayIcon::DoubleClick:
        return {Win::WM_LBUTTONDBLCLK, Win::WM_LBUTTONUP};
    case QSystemTrayIcon::Context:
        return {Win::WM_RBUTTONDOWN, Win::WM_RBUTTONUP};
    case QSystemTrayIcon::MiddleClick:
        return {Win::WM_MBUTTONDOWN, Win::WM_MBUTTONUP};
    case QSystemTrayIcon::Unknown:
        break;
    }
    return {};
}

void SystemTrayShell::apply(Entry &entry, const NotifyIconData &data)
{
    entry.window = data.hWnd;
    entry.callbackMessage = (data.uFlags & Win::NIF_MESSAGE) ? data.uCallbackMessage : 0;
    if ((data.uFlags & Win::NIF_ICON) && !data.hIcon.isNull())
        entry.icon->setIcon(data.hIcon);
    entry.icon->setToolTip((data.uFlags & Win::NIF_TIP) ? data.szTip.left(NotifyIconData::MaxTip) : QString());
}

void SystemTrayShell::activated(quintptr uID, QSystemTrayIcon::ActivationReason reason)
{
    QList<quint32> messages = mouseMessagesFor(reason);
    if (reason == QSystemTrayIcon::Trigger && statusNotifier()) {
        // The host's activation is the user's wish to open the program: it stands for the whole double
        // click, and a second one within the double-click interval is the rest of the same double click.
        const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
        if (m_lastActivation.isValid() && m_lastActivation.elapsed() <= interval) {
            m_lastActivation.invalidate();
            return;
        }
        m_lastActivation.start();
        messages = {Win::WM_LBUTTONDOWN, Win::WM_LBUTTONUP, Win::WM_LBUTTONDBLCLK, Win::WM_LBUTTONUP};
    }
    const QPointer<SystemTrayShell> self(this);
    for (const quint32 mouseMessage : messages) {
        // Each message may remove the icon or destroy its window; look again before the next.
        if (!self)
            return;
        const auto it = m_entries.find(uID);
        if (it == m_entries.end() || !it->second.window || it->second.callbackMessage == 0)
            return;
        QPointer<TrayWindow> window = it->second.window;
        window->send(it->second.callbackMessage, uID, qintptr(mouseMessage));
    }
}

void SystemTrayShell::pollTray()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_trayPoll.stop();
    // Show again so the icon is installed into the tray that has just appeared.
    for (auto &[id, entry] : m_entries) {
        if (entry.icon) {
            entry.icon->hide();
            entry.icon->show();
        }
    }
}
