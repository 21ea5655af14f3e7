#include "tray/TrayWindow.h"

#include <QGuiApplication>
#include <QSessionManager>

TrayWindow::TrayWindow(WindowProc proc, QObject *parent) : QObject(parent), m_proc(std::move(proc))
{
#ifndef QT_NO_SESSIONMANAGER
    // The desktop's question before logging out reaches the window as the session-end query.
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &manager) {
            if (send(Win::WM_QUERYENDSESSION) == 0)
                manager.cancel();
        });
    }
#endif
}

qintptr TrayWindow::send(quint32 msg, quintptr wParam, qintptr lParam)
{
    TMessage message{msg, wParam, lParam, 0};
    if (m_proc)
        m_proc(message);
    return message.Result;
}
