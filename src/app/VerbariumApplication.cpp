#include "app/VerbariumApplication.h"

#include "app/Accessibility.h"
#include "platform/AppError.h"

#include <QThread>

#include <cstdio>
#include <exception>
#include <new>

namespace {

QString messageOf(std::exception_ptr failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const AppError &error) {
        return error.message();
    } catch (const std::bad_alloc &) {
        return QStringLiteral("Out of memory.");
    } catch (const std::exception &error) {
        return QString::fromLocal8Bit(error.what());
    } catch (...) {
        return QStringLiteral("Unexpected error.");
    }
}

} // namespace

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
    } catch (...) {
        reportFailure(std::current_exception());
    }
    return false;
}

void VerbariumApplication::reportFailure(std::exception_ptr failure)
{
    const QString message = messageOf(failure);
    if (QThread::currentThread() == thread()) {
        m_messages.exception(message);
        return;
    }
    // A box may only be built on the GUI thread, and a worker that threw is in a state nobody knows: its thread
    // stops taking work, which ends that worker's feature and nothing else.
    const QString name = QThread::currentThread()->objectName();
    std::fprintf(stderr, "verbarium: the %s thread failed and was stopped: %s\n",
                 name.isEmpty() ? "worker" : qPrintable(name), qPrintable(message));
    QThread::currentThread()->quit();
}
