#include "platform/WorkerThread.h"

#include <QElapsedTimer>
#include <QSemaphore>
#include <QTest>

#include <memory>

class TestWorkerThread final : public QObject
{
    Q_OBJECT

private slots:
    void stopIsBoundedForAWorkerThatNeverReturns()
    {
        // A job stuck for good (a read from a pipe nobody writes): the stop gives up after its wait.
        auto started = std::make_shared<QSemaphore>();
        auto release = std::make_shared<QSemaphore>();
        auto *worker = new QObject;
        WorkerThread thread(QStringLiteral("Stuck"));
        thread.start(worker);
        QMetaObject::invokeMethod(worker, [started, release] {
            started->release();
            release->acquire();
        });
        started->acquire();
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!thread.stop(std::chrono::milliseconds(100)));
        QVERIFY(clock.elapsed() < 1000);
        // Abandoned, not destroyed: the job may still finish, and the process ends normally.
        release->release();
    }
};

QTEST_GUILESS_MAIN(TestWorkerThread)
#include "test_workerthread.moc"
