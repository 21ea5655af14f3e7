#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QMenu;

// The window messages the tray component exchanges with the shell and the application window.
namespace Win {
inline constexpr quint32 WM_QUERYENDSESSION = 0x0011;
inline constexpr quint32 WM_ENDSESSION = 0x0016;
inline constexpr quint32 WM_SYSCOMMAND = 0x0112;
inline constexpr quint32 WM_MOUSEMOVE = 0x0200;
inline constexpr quint32 WM_LBUTTONDOWN = 0x0201;
inline constexpr quint32 WM_LBUTTONUP = 0x0202;
inline constexpr quint32 WM_LBUTTONDBLCLK = 0x0203;
inline constexpr quint32 WM_RBUTTONDOWN = 0x0204;
inline constexpr quint32 WM_RBUTTONUP = 0x0205;
inline constexpr quint32 WM_RBUTTONDBLCLK = 0x0206;
inline constexpr quint32 WM_MBUTTONDOWN = 0x0207;
inline constexpr quint32 WM_MBUTTONUP = 0x0208;
inline constexpr quint32 WM_MBUTTONDBLCLK = 0x0209;
inline constexpr quint32 WM_USER = 0x0400;

inline constexpr quintptr SC_MINIMIZE = 0xF020;
inline constexpr quintptr SC_RESTORE = 0xF120;

inline constexpr quint32 NIF_MESSAGE = 0x1;
inline constexpr quint32 NIF_ICON = 0x2;
inline constexpr quint32 NIF_TIP = 0x4;
} // namespace Win

struct TMessage
{
    quint32 Msg = 0;
    quintptr WParam = 0;
    qintptr LParam = 0;
    qintptr Result = 0;
};

// The component's hidden window: every message sent to it goes to its window procedure.
class TrayWindow final : public QObject
{
    Q_OBJECT
public:
    using WindowProc = std::function<void(TMessage &)>;

    explicit TrayWindow(WindowProc proc, QObject *parent = nullptr);

    // Like SendMessage: runs the window procedure at once and returns its answer.
    qintptr send(quint32 msg, quintptr wParam = 0, qintptr lParam = 0);

private:
    WindowProc m_proc;
};

// The record handed to the shell with every call.
struct NotifyIconData
{
    static constexpr quint32 ShellSize = 488; // the shell 5.0 ANSI layout
    static constexpr int MaxTip = 127;        // 128-byte tip field, zero-terminated

    quint32 cbSize = 0;
    QPointer<TrayWindow> hWnd;
    quintptr uID = 0;
    quint32 uFlags = 0;
    quint32 uCallbackMessage = 0;
    QIcon hIcon;
    QString szTip;
};

// The notification area: add, modify and remove one icon, each answering whether the shell took it.
class TrayShell
{
public:
    virtual ~TrayShell() = default;
    virtual bool add(const NotifyIconData &data) = 0;
    virtual bool modify(const NotifyIconData &data) = 0;
    virtual bool remove(const NotifyIconData &data) = 0;
    // Whether the desktop shows icons at all just now; a panel may come and go.
    virtual bool hasNotificationArea() const { return true; }
    // The menu of the icon, for a desktop that opens icons' menus itself (none: the component opens its own).
    virtual void setMenu(const NotifyIconData &, QMenu *) { }
};
