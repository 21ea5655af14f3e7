#include "app/VerbariumApplication.h"

#include "platform/AppError.h"

#include <exception>

VerbariumApplication::VerbariumApplication(int &argc, char **argv, MessageBoxes messages)
    : QApplication(argc, argv), m_messages(std::move(messages))
{
}

bool VerbariumApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const AppError &error) {
        m_messages.exception(error.message());
    } catch (const std::exception &error) {
        m_messages.exception(QString::fromLocal8Bit(error.what()));
    }
    return false;
}
