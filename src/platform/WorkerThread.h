#pragma once

#include "platform/AppError.h"

#include <QObject>
#include <QString>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <exception>
#include <new>

// A thread for one worker object, stopped with a bounded wait: a worker stuck in a call it cannot leave (a read
// that never returns, a library gone astray) is left behind rather than holding up the program's end.
// Header only: the index module, which the dictionary builder links, needs no more than Qt Core.
class WorkerThread final
{
public:
    // Long enough for any one job a worker is given; a worker still busy after it is not coming back.
    static constexpr std::chrono::milliseconds kStopWait{1500};

    explicit WorkerThread(const QString &name) : m_thread(new QThread) { m_thread->setObjectName(name); }
    ~WorkerThread() { stop(); }
    WorkerThread(const WorkerThread &) = delete;
    WorkerThread &operator=(const WorkerThread &) = delete;

    // Takes worker (which has no parent) over, moves it to the thread and starts the thread.
    void start(QObject *worker, QThread::Priority priority = QThread::LowPriority)
    {
        m_worker = worker;
        m_worker->moveToThread(m_thread);
        m_thread->start(priority);
    }

    // Ends the thread's loop and deletes the worker once the thread has ended. False when the thread did not end
    // within patience: it and its worker are then abandoned to run on until the process ends.
    bool stop(std::chrono::milliseconds patience = kStopWait)
    {
        if (!m_thread)
            return true;
        m_thread->quit();
        if (!m_thread->wait(QDeadlineTimer(patience))) {
            std::fprintf(stderr, "verbarium: the %s thread does not answer; leaving it behind.\n",
                         qPrintable(m_thread->objectName()));
            // Deleting a running thread aborts the process, and its worker is still in use: both stay.
            m_thread = nullptr;
            m_worker = nullptr;
            return false;
        }
        // The thread has ended: nothing else can touch the worker now.
        delete m_worker;
        m_worker = nullptr;
        delete m_thread;
        m_thread = nullptr;
        return true;
    }

private:
    QThread *m_thread;
    QObject *m_worker = nullptr;
};

// Runs job and returns what it threw, as a line for the user; empty when it returned normally. A worker wraps
// each of its jobs in it, so that a failure ends its own feature and nothing else.
template <typename Job>
QString failureOf(Job &&job)
{
    try {
        job();
        return {};
    } catch (const AppError &error) {
        return error.message();
    } catch (const std::bad_alloc &) {
        return QStringLiteral("Out of memory.");
    } catch (const std::exception &error) {
        const QString what = QString::fromLocal8Bit(error.what());
        return what.isEmpty() ? QStringLiteral("Unexpected error.") : what;
    } catch (...) {
        return QStringLiteral("Unexpected error.");
    }
}
