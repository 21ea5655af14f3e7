#include "app/WindowPlacement.h"

#include <QtTest>

// A stored position is kept as long as the title bar can be grabbed; otherwise the window moves the shortest way
// that puts the whole title bar in one screen's free area.
class TestWindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    void placement_data()
    {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QPoint>("expected");
        // A 1280 x 800 screen with a 28 px panel along its top, and a 1600 x 900 one to its left whose top is
        // 100 px lower.
        QTest::newRow("inside") << QRect(96, 120, 545, 400) << QPoint(96, 120);
        QTest::newRow("under the top panel") << QRect(0, 0, 545, 400) << QPoint(0, 0);
        QTest::newRow("body below the bottom, title bar on") << QRect(300, 770, 545, 400) << QPoint(300, 770);
        QTest::newRow("title bar across both screens") << QRect(-200, 300, 545, 400) << QPoint(-200, 300);
        QTest::newRow("left 50 px off the left screen") << QRect(-1650, 500, 545, 400) << QPoint(-1650, 500);
        QTest::newRow("100 px on the screen") << QRect(1180, 300, 545, 400) << QPoint(1180, 300);
        QTest::newRow("99 px on the screen") << QRect(1181, 300, 545, 400) << QPoint(1280 - 545, 300);
        QTest::newRow("narrow, a third of it on") << QRect(1200, 300, 240, 200) << QPoint(1200, 300);
        QTest::newRow("narrow, less than a third on") << QRect(1201, 300, 240, 200) << QPoint(1280 - 240, 300);
        QTest::newRow("a sliver at the corner") << QRect(1275, 795, 545, 400) << QPoint(1280 - 545, 800 - 30);
        QTest::newRow("top edge just above the screens") << QRect(96, -5, 545, 400) << QPoint(96, 28);
        QTest::newRow("title bar above the top") << QRect(96, -340, 545, 400) << QPoint(96, 28);
        // Above the lower left screen's top, but grabbed on the right one.
        QTest::newRow("over the left screen's top, on the right one") << QRect(-100, 20, 545, 400) << QPoint(-100, 20);
        QTest::newRow("above the left screen only") << QRect(-1000, 50, 545, 400) << QPoint(-1000, 100);
        QTest::newRow("wider than every screen") << QRect(3000, 10, 4000, 400) << QPoint(0, 28);
    }

    void placement()
    {
        QFETCH(QRect, frame);
        QFETCH(QPoint, expected);
        const QList<ScreenArea> screens{{QRect(0, 0, 1280, 800), QRect(0, 28, 1280, 772)},
                                        {QRect(-1600, 100, 1600, 900), QRect(-1600, 100, 1600, 900)}};
        QCOMPARE(titleBarOnScreen(frame, 30, screens), expected);
        // Placed once, the window stays put at every later start.
        QCOMPARE(titleBarOnScreen(QRect(expected, frame.size()), 30, screens), expected);
    }
};

QTEST_GUILESS_MAIN(TestWindowPlacement)
#include "test_window_placement.moc"
