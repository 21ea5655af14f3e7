#include "app/WindowPlacement.h"

#include <QtTest>

// A stored position is kept unless part of the title bar would be off every screen; then the window moves the
// shortest way that puts the whole title bar on one screen.
class TestWindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    void placement_data()
    {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QPoint>("expected");
        // One 1280 x 800 screen, and a 1600 x 900 one to its left whose top is 100 px lower.
        QTest::newRow("inside") << QRect(96, 120, 545, 400) << QPoint(96, 120);
        QTest::newRow("body below the bottom, title bar on") << QRect(300, 770, 545, 400) << QPoint(300, 770);
        QTest::newRow("title bar across both screens") << QRect(-200, 300, 545, 400) << QPoint(-200, 300);
        QTest::newRow("a sliver at the corner") << QRect(1275, 795, 545, 400) << QPoint(1280 - 545, 800 - 30);
        QTest::newRow("title bar above the top") << QRect(96, -340, 545, 400) << QPoint(96, 0);
        QTest::newRow("off the left edge of the left screen") << QRect(-1700, 500, 545, 400) << QPoint(-1600, 500);
        // Above the lower left screen, next to the right one: the right one is the shorter way.
        QTest::newRow("above the left screen near the right one") << QRect(-100, 20, 545, 400) << QPoint(0, 20);
        QTest::newRow("wider than every screen") << QRect(3000, 10, 4000, 400) << QPoint(0, 10);
    }

    void placement()
    {
        QFETCH(QRect, frame);
        QFETCH(QPoint, expected);
        const QList<QRect> screens{QRect(0, 0, 1280, 800), QRect(-1600, 100, 1600, 900)};
        QCOMPARE(titleBarOnScreen(frame, 30, screens), expected);
        // Placed once, the window stays put at every later start.
        QCOMPARE(titleBarOnScreen(QRect(expected, frame.size()), 30, screens), expected);
    }
};

QTEST_GUILESS_MAIN(TestWindowPlacement)
#include "test_window_placement.moc"
