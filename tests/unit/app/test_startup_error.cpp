// Whatever escapes the building of the main window ends the start with a message and a failing status.
#include "app/StartupError.h"
#include "platform/AppError.h"
#include "platform/MessageBox.h"

#include <QTest>

#include <new>
#include <stdexcept>

using Build = std::function<void()>;
using Kind = MessageBoxes::Kind;

class TestStartupError : public QObject
{
    Q_OBJECT
private slots:
    void everyFailureIsShownAndFails_data();
    void everyFailureIsShownAndFails();
};

void TestStartupError::everyFailureIsShownAndFails_data()
{
    QTest::addColumn<Build>("build");
    QTest::addColumn<QStringList>("shown"); // kind number and text of each box
    QTest::addColumn<int>("status");        // -1: the window was built

    const QString ownerless = QString::number(int(Kind::Ownerless));
    const QString exception = QString::number(int(Kind::Exception));
    QTest::newRow("built") << Build([] {}) << QStringList() << -1;
    QTest::newRow("own start-up failure") << Build([] { throw StartupError{QStringLiteral("No engine."), 1}; })
                                          << QStringList{ownerless, QStringLiteral("No engine.")} << 1;
    QTest::newRow("own error") << Build([] { throw AppError(QStringLiteral("No table.")); })
                               << QStringList{exception, QStringLiteral("No table.")} << 1;
    QTest::newRow("out of memory") << Build([] { throw std::bad_alloc(); })
                                   << QStringList{exception, QStringLiteral("Out of memory.")} << 1;
    QTest::newRow("library's exception") << Build([] { throw std::runtime_error("bad font"); })
                                         << QStringList{exception, QStringLiteral("bad font")} << 1;
    QTest::newRow("anything") << Build([] { throw 7; })
                              << QStringList{exception, QStringLiteral("Unexpected error while starting.")} << 1;
}

void TestStartupError::everyFailureIsShownAndFails()
{
    QFETCH(Build, build);
    QFETCH(QStringList, shown);
    QFETCH(int, status);

    QStringList boxes;
    const MessageBoxes recorded([&boxes](Kind kind, const QString &, const QString &text) {
        boxes << QString::number(int(kind)) << text;
    });
    const std::optional<int> result = buildOrReport(build, recorded);

    QCOMPARE(result.value_or(-1), status);
    QCOMPARE(boxes, shown);
}

QTEST_GUILESS_MAIN(TestStartupError)
#include "test_startup_error.moc"
