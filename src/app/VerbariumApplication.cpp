#include "app/VerbariumApplication.h"

#include "app/Accessibility.h"
#include "platform/AppError.h"

#include <exception>

VerbariumApplication::VerbariumApplication(int &argc, char **argv, MessageBoxes messages)
    : QApplication(argc, argv), m_messages(std::move(messages))
{
    // Before any window exists: a screen reader may ask for the application's children at once.
    Accessibility::installFactory();
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
