#pragma once

#include <QtGlobal>

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
