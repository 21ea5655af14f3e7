// The word list places its rows by arithmetic: keys, clicks, the wheel and scrolling must land on the
// same rows a list laid out row by row would, and painting must show the selected row where it is.
#include "app/WordGrid.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTest>
#include <QWheelEvent>

namespace {

struct Grid
{
    explicit Grid(int rows)
    {
        QStringList words;
        for (int i = 0; i < rows; ++i)
            words << QStringLiteral("word%1").arg(i, 5, 10, QLatin1Char('0'));
        model.setStringList(words);
        grid.setModel(&model);
        grid.setColumnWidthPx(120);
        grid.resize(140, 200);
        grid.show();
    }
    bool ready() { return QTest::qWaitForWindowExposed(&grid); }
    int shown() const { return grid.viewport()->height() / grid.rowHeight(); }
    int current() const { return grid.currentIndex().row(); }
    // The current row lies wholly inside the viewport.
    bool currentInSight() const
    {
        const QRect rect = grid.visualRect(grid.currentIndex());
        return rect.top() >= 0 && rect.bottom() < grid.viewport()->height();
    }

    QStringListModel model;
    WordGrid grid;
};

} // namespace

class TestWordGrid : public QObject
{
    Q_OBJECT
private slots:
    void keysMoveAndKeepTheRowInSight_data();
    void keysMoveAndKeepTheRowInSight();
    void indexAtIsTheInverseOfVisualRect();
    void scrollHints_data();
    void scrollHints();
    void clickAndWheel();
    void shortList();
    void paintsTheSelectedRowWhereItIs();
};

void TestWordGrid::keysMoveAndKeepTheRowInSight_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected"); // -1: one page below start, -2: one page above, else a row

    QTest::newRow("down") << 10 << int(Qt::Key_Down) << 11;
    QTest::newRow("up") << 10 << int(Qt::Key_Up) << 9;
    QTest::newRow("up at the top") << 0 << int(Qt::Key_Up) << 0;
    QTest::newRow("down at the end") << 999 << int(Qt::Key_Down) << 999;
    QTest::newRow("page down") << 100 << int(Qt::Key_PageDown) << -1;
    QTest::newRow("page up") << 100 << int(Qt::Key_PageUp) << -2;
    QTest::newRow("page up near the top") << 2 << int(Qt::Key_PageUp) << 0;
    QTest::newRow("page down near the end") << 997 << int(Qt::Key_PageDown) << 999;
    QTest::newRow("home") << 500 << int(Qt::Key_Home) << 0;
    QTest::newRow("end") << 5 << int(Qt::Key_End) << 999;
}

void TestWordGrid::keysMoveAndKeepTheRowInSight()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, expected);
    Grid g(1000);
    QVERIFY(g.ready());
    g.grid.setCurrentIndex(g.model.index(start));
    g.grid.scrollTo(g.grid.currentIndex());
    if (expected == -1)
        expected = start + g.shown();
    else if (expected == -2)
        expected = start - g.shown();
    QTest::keyClick(&g.grid, Qt::Key(key));
    QCOMPARE(g.current(), expected);
    QVERIFY(g.currentInSight());
    QVERIFY(g.grid.selectionModel()->isSelected(g.grid.currentIndex()));
}

void TestWordGrid::indexAtIsTheInverseOfVisualRect()
{
    Grid g(1000);
    QVERIFY(g.ready());
    g.grid.verticalScrollBar()->setValue(250);
    for (int row = 250; row < 250 + g.shown(); ++row) {
        const QRect rect = g.grid.visualRect(g.model.index(row));
        QCOMPARE(rect.height(), g.grid.rowHeight());
        QCOMPARE(g.grid.indexAt(rect.center()).row(), row);
        QCOMPARE(g.grid.indexAt(rect.topLeft()).row(), row);
        QCOMPARE(g.grid.indexAt(rect.bottomRight()).row(), row);
    }
    // Beside the column, above the list, or a row that is scrolled away.
    QVERIFY(!g.grid.indexAt(QPoint(125, 5)).isValid());
    QVERIFY(!g.grid.indexAt(QPoint(5, -1)).isValid());
    QVERIFY(g.grid.visualRect(g.model.index(249)).bottom() < 0);
}

void TestWordGrid::scrollHints_data()
{
    QTest::addColumn<int>("hint");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("slot"); // where the row must end up among the rows shown; -1: the last one

    QTest::newRow("top") << int(QAbstractItemView::PositionAtTop) << 300 << 0;
    QTest::newRow("bottom") << int(QAbstractItemView::PositionAtBottom) << 300 << -1;
    QTest::newRow("visible from above") << int(QAbstractItemView::EnsureVisible) << 300 << -1;
    QTest::newRow("top clamps at the start") << int(QAbstractItemView::PositionAtTop) << 0 << 0;
}

void TestWordGrid::scrollHints()
{
    QFETCH(int, hint);
    QFETCH(int, row);
    QFETCH(int, slot);
    Grid g(1000);
    QVERIFY(g.ready());
    g.grid.scrollTo(g.model.index(row), QAbstractItemView::ScrollHint(hint));
    const int top = g.grid.visualRect(g.model.index(row)).top();
    QCOMPARE(top / g.grid.rowHeight(), slot == -1 ? g.shown() - 1 : slot);

    // Centred, and as far as the end allows near the end.
    g.grid.scrollTo(g.model.index(500), QAbstractItemView::PositionAtCenter);
    QCOMPARE(g.grid.verticalScrollBar()->value(), 500 - g.shown() / 2);
    g.grid.scrollTo(g.model.index(999), QAbstractItemView::PositionAtCenter);
    QCOMPARE(g.grid.verticalScrollBar()->value(), g.grid.verticalScrollBar()->maximum());
    QCOMPARE(g.grid.verticalScrollBar()->maximum(), 1000 - g.shown());
}

void TestWordGrid::clickAndWheel()
{
    Grid g(1000);
    QVERIFY(g.ready());
    g.grid.verticalScrollBar()->setValue(40);
    const QRect third = g.grid.visualRect(g.model.index(42));
    QTest::mouseClick(g.grid.viewport(), Qt::LeftButton, {}, third.center());
    QCOMPARE(g.current(), 42);

    const QPoint at = g.grid.viewport()->rect().center();
    QWheelEvent wheel(at, g.grid.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(g.grid.viewport(), &wheel);
    QCOMPARE(g.grid.verticalScrollBar()->value(), 40 + QApplication::wheelScrollLines());
    QCOMPARE(g.grid.indexAt(QPoint(5, 1)).row(), 40 + QApplication::wheelScrollLines());
}

void TestWordGrid::shortList()
{
    Grid g(3);
    QVERIFY(g.ready());
    QCOMPARE(g.grid.verticalScrollBar()->maximum(), 0);
    QVERIFY(!g.grid.indexAt(QPoint(5, 3 * g.grid.rowHeight() + 1)).isValid());
    g.grid.setCurrentIndex(g.model.index(0));
    QTest::keyClick(&g.grid, Qt::Key_PageDown);
    QCOMPARE(g.current(), 2);
    g.model.setStringList({});
    QCOMPARE(g.grid.verticalScrollBar()->maximum(), 0);
    QTest::keyClick(&g.grid, Qt::Key_Down);
    QVERIFY(!g.grid.currentIndex().isValid());
}

void TestWordGrid::paintsTheSelectedRowWhereItIs()
{
    Grid g(1000);
    QPalette palette = g.grid.palette();
    palette.setColor(QPalette::Base, Qt::black);
    palette.setColor(QPalette::Highlight, Qt::red);
    palette.setColor(QPalette::Inactive, QPalette::Highlight, Qt::red);
    g.grid.setPalette(palette);
    QVERIFY(g.ready());
    g.grid.setCurrentIndex(g.model.index(700));
    g.grid.scrollTo(g.grid.currentIndex(), QAbstractItemView::PositionAtCenter);
    const QImage image = g.grid.viewport()->grab().toImage();
    const QRect selected = g.grid.visualRect(g.grid.currentIndex());
    // The far end of the row has no text over it: the highlight shows there, and nowhere a row away.
    // (The style may shade the highlight a little.)
    auto highlighted = [&image](QPoint p) {
        const QColor c(image.pixel(p));
        return c.red() > 200 && c.green() < 80 && c.blue() < 80;
    };
    const QPoint inside(selected.right() - 2, selected.center().y());
    QVERIFY(highlighted(inside));
    QVERIFY(!highlighted(inside - QPoint(0, g.grid.rowHeight())));
    QVERIFY(!highlighted(inside + QPoint(0, g.grid.rowHeight())));
}

QTEST_MAIN(TestWordGrid)
#include "test_wordgrid.moc"
