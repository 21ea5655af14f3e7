#pragma once

#include "platform/MessageBox.h"

#include <QApplication>

#include <exception>

// The Qt application with the framework's last line of defence: a failure that escapes an event
// handler on the GUI thread is shown in the error box and the loop goes on; one on another thread stops
// that thread and is written to standard error.
class VerbariumApplication final : public QApplication
{
    Q_OBJECT
public:
    VerbariumApplication(int &argc, char **argv, MessageBoxes messages);
    bool notify(QObject *receiver, QEvent *event) override;
    void reportFailure(std::exception_ptr failure);

private:
    MessageBoxes m_messages;
};
