#pragma once

#include "tray/TrayMessages.h"

#include <QObject>

#include <functional>

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
