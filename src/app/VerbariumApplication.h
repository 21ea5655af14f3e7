#pragma once

#include "platform/MessageBox.h"

#include <QApplication>

// The Qt application with the framework's last line of defence: a failure that escapes an event
// handler is shown in the error box and the loop goes on.
class VerbariumApplication final : public QApplication
{
    Q_OBJECT
public:
    VerbariumApplication(int &argc, char **argv, MessageBoxes messages);
    bool notify(QObject *receiver, QEvent *event) override;

private:
    MessageBoxes m_messages;
};
