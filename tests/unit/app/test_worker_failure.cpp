// A failure that escapes an event handler: on the GUI thread it is shown in the error box and the loop goes on;
// on another thread no box is built there, and only that thread stops.
#include "app/VerbariumApplication.h"

#include <QTest>
#include <QThread>

#include <new>

namespace {

struct Shown
{
    QString text;
    bool onGuiThread;
};

QList<Shown> shown;

class Thrower final : public QObject
{
public:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::User)
            throw std::bad_alloc();
        return QObject::event(event);
    }
};

} // namespace

class TestWorkerFailure final : public QObject
{
    Q_OBJECT

private slots:
    void aWorkerThatThrowsStopsAloneAndQuietly()
    {
        QThread thread;
        auto *thrower = new Thrower;
        thrower->moveToThread(&thread);
        connect(&thread, &QThread::finished, thrower, &QObject::deleteLater);
        thread.start();
        QCoreApplication::postEvent(thrower, new QEvent(QEvent::User));
        QVERIFY(thread.wait(5000));
        QVERIFY(shown.isEmpty());
        QVERIFY(QApplication::topLevelWidgets().isEmpty());

        // The GUI thread's own failures are still shown, there, and its loop goes on.
        Thrower local;
        QEvent failing(QEvent::User);
        QCoreApplication::sendEvent(&local, &failing);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text, QStringLiteral("Out of memory."));
        QVERIFY(shown.first().onGuiThread);
    }
};

int main(int argc, char **argv)
{
    VerbariumApplication app(argc, argv, MessageBoxes([](MessageBoxes::Kind, const QString &, const QString &text) {
        shown.append({text, QThread::currentThread() == qApp->thread()});
    }));
    TestWorkerFailure test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_worker_failure.moc"
