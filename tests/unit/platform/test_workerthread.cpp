#include "platform/WorkerThread.h"

#include <QElapsedTimer>
#include <QSemaphore>
#include <QTest>

#include <memory>
#include <stdexcept>

class TestWorkerThread final : public QObject
{
    Q_OBJECT

private slots:
    void failuresBecomeOneLine()
    {
        QCOMPARE(failureOf([] {}), QString());
        QCOMPARE(failureOf([] { throw std::bad_alloc(); }), QStringLiteral("Out of memory."));
        QCOMPARE(failureOf([] { throw AppError(QStringLiteral("Disk gone.")); }), QStringLiteral("Disk gone."));
        QCOMPARE(failureOf([] { throw std::runtime_error("bad table"); }), QStringLiteral("bad table"));
        QCOMPARE(failureOf([] { throw 42; }), QStringLiteral("Unexpected error."));
    }

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

    void stopDeletesTheWorkerOfAThreadThatEnded()
    {
        auto *worker = new QObject;
        bool deleted = false;
        connect(worker, &QObject::destroyed, this, [&deleted] { deleted = true; }, Qt::DirectConnection);
        WorkerThread thread(QStringLiteral("Quick"));
        thread.start(worker);
        QVERIFY(thread.stop());
        QVERIFY(deleted);
    }
};

QTEST_GUILESS_MAIN(TestWorkerThread)
#include "test_workerthread.moc"
