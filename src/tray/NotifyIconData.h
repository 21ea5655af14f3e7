#pragma once

#include "tray/TrayWindow.h"

#include <QIcon>
#include <QPointer>
#include <QString>

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
