// The four view commands on the real window: the words explorer, the toolbar, the status bar, always on top.

#include "WidgetFixture.h"

#include "app/EntryView.h"
#include "app/HeadwordLabel.h"
#include "app/SearchEdit.h"
#include "app/WordGrid.h"
#include "platform/ImageList.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QWindow>

namespace {

constexpr int kExplorerWidth = 164;

struct EntryFace
{
    int richEdit, headword, caption, rule;
    bool operator==(const EntryFace &) const = default;
};

EntryFace entryFace(const TLexivoAppForm *f)
{
    return {f->RichEdit1->x(), f->WordDBText1->x(), f->DefSynLabel1->x(), f->Shape2->x()};
}

EntryFace entryFaceFrom(int left)
{
    return {left + 12, left + 20, left + 20, left + 9};
}

QStringList visibleItems(const QMenu *menu)
{
    QStringList items;
    for (const QAction *a : menu->actions()) {
        if (a->isVisible())
            items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    return items;
}

// Which of the three edit buttons the toolbar carries on screen.
QStringList editButtonsShown(const TLexivoAppForm *f)
{
    QStringList shown;
    for (const char *name : {"EditPaste1", "EditCopy1", "EditCut1"}) {
        const QWidget *button = f->ToolBar1->widgetForAction(f->findChild<QAction *>(QLatin1String(name)));
        if (button && button->isVisibleTo(f->ToolBar1))
            shown << QLatin1String(name);
    }
    return shown;
}

bool sameImage(const QIcon &a, const QIcon &b)
{
    return a.pixmap(16, 16).toImage() == b.pixmap(16, 16).toImage();
}

bool staysOnTop(const TLexivoAppForm *f)
{
    if (const QWindow *w = f->windowHandle())
        return w->flags().testFlag(Qt::WindowStaysOnTopHint);
    return f->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

} // namespace

class TestView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void hideAndShowWordsExplorer();
    void roundTripsKeepTheirWidths();
    void explorerCommandTexts();
    void resizeWhileHiddenKeepsMargins();
    void toolbarAndStatusBarToggle_data();
    void toolbarAndStatusBarToggle();
    void toolbarFollowsControlBarAfterResize();
    void alwaysOnTopBothWays();

private:
    std::unique_ptr<WindowFixture> m_fixture;
    TLexivoAppForm *f = nullptr;
};

void TestView::init()
{
    m_fixture = std::make_unique<WindowFixture>(sampleRows());
    f = m_fixture->form.get();
    m_fixture->app->showForm();
    QVERIFY(QTest::qWaitForWindowExposed(f));
}

void TestView::cleanup()
{
    f = nullptr;
    m_fixture.reset();
}

void TestView::hideAndShowWordsExplorer()
{
    QAction *toggle = f->action(Command::ShowHideLeftAction);
    QVERIFY(!toggle->isChecked());
    const int windowWidth = f->formWidth();
    const int entryWidth = f->RichEdit1->width();
    QCOMPARE(windowWidth, 543);
    QCOMPARE(entryFace(f), entryFaceFrom(kExplorerWidth));
    QMenu *edit = f->findChild<QMenu *>(QStringLiteral("Edit1"));
    QVERIFY(edit);
    const QStringList fullEditMenu = visibleItems(edit);

    toggle->trigger();
    QVERIFY(toggle->isChecked());
    QVERIFY(f->DBGrid1->isHidden());
    QVERIFY(f->SEdit1->isHidden());
    QVERIFY(f->WordsListPanel1->isHidden());
    QCOMPARE(entryFace(f), entryFaceFrom(0));
    // The window shrinks to the entry view and its margins; the entry view keeps its width.
    QCOMPARE(f->RichEdit1->width(), entryWidth);
    QCOMPARE(f->Shape2->width(), entryWidth);
    QCOMPARE(f->ScrollBox1->width(), entryWidth + 24);
    QCOMPARE(f->formWidth(), entryWidth + 24 + 8);
    QCOMPARE(visibleItems(edit), QStringList({"&Copy", "-", "&Undo"}));
    QTRY_COMPARE(editButtonsShown(f), QStringList({"EditCopy1"}));

    toggle->trigger();
    QVERIFY(!toggle->isChecked());
    QVERIFY(!f->DBGrid1->isHidden());
    QVERIFY(!f->SEdit1->isHidden());
    QVERIFY(!f->WordsListPanel1->isHidden());
    QCOMPARE(entryFace(f), entryFaceFrom(kExplorerWidth));
    QCOMPARE(f->formWidth(), windowWidth);
    QCOMPARE(f->RichEdit1->width(), entryWidth);
    // The rule under the headword takes the entry view's width.
    QCOMPARE(f->Shape2->width(), entryWidth);
    QCOMPARE(visibleItems(edit), fullEditMenu);
    QTRY_COMPARE(editButtonsShown(f), QStringList({"EditPaste1", "EditCopy1", "EditCut1"}));
    // The scroll-bar cover stays in line with the list.
    QCOMPARE(f->ScrollPanel1->y(), f->DBGrid1->y());
    QCOMPARE(f->ScrollPanel1->height(), f->DBGrid1->height());
    QVERIFY(m_fixture->boxes.isEmpty());
}

void TestView::roundTripsKeepTheirWidths()
{
    // Widen the window first: the entry view follows the scroll box, and every round trip returns to it.
    f->setFormWidth(700);
    QTRY_COMPARE(f->ScrollBox1->width(), 692);
    const int entryWidth = f->RichEdit1->width();
    QCOMPARE(entryWidth, 345 + 700 - 543);
    QAction *toggle = f->action(Command::ShowHideLeftAction);
    for (int round = 0; round < 3; ++round) {
        toggle->trigger();
        QCOMPARE(f->formWidth(), entryWidth + 32);
        QCOMPARE(f->RichEdit1->width(), entryWidth);
        toggle->trigger();
        QCOMPARE(f->formWidth(), 700);
        QCOMPARE(f->RichEdit1->width(), entryWidth);
        QCOMPARE(f->RichEdit1->x() + f->RichEdit1->width(), f->ScrollBox1->width() - 14);
    }
}

void TestView::explorerCommandTexts()
{
    QAction *toggle = f->action(Command::ShowHideLeftAction);
    auto expect = [&](const char *text, int image, bool checked) {
        const QString caption = QLatin1String(text);
        QCOMPARE(toggle->text(), caption);
        QCOMPARE(toggle->property("hint").toString(), caption + QLatin1Char('|') + caption);
        QCOMPARE(toggle->toolTip(), caption);
        QCOMPARE(toggle->statusTip(), caption);
        QCOMPARE(toggle->property("imageIndex").toInt(), image);
        QVERIFY(sameImage(toggle->icon(), f->ImageList1->icon(image)));
        QVERIFY(!sameImage(toggle->icon(), f->ImageList1->icon(image == 35 ? 34 : 35)));
        QCOMPARE(toggle->isChecked(), checked);
    };
    // A failed comparison inside the lambda only leaves the lambda.
    expect("Hide Words Explorer", 35, false);
    QVERIFY(!QTest::currentTestFailed());
    toggle->trigger();
    expect("Show Words Explorer", 34, true);
    QVERIFY(!QTest::currentTestFailed());
    toggle->trigger();
    expect("Hide Words Explorer", 35, false);
}

void TestView::resizeWhileHiddenKeepsMargins()
{
    QAction *toggle = f->action(Command::ShowHideLeftAction);
    toggle->trigger();
    // The user widens the narrow window: the entry view grows with it and keeps that width when the list returns.
    f->setFormWidth(f->formWidth() + 100);
    QTRY_COMPARE(f->RichEdit1->width(), 445);
    toggle->trigger();
    QCOMPARE(f->RichEdit1->width(), 445);
    QCOMPARE(f->formWidth(), 643);
    QCOMPARE(entryFace(f), entryFaceFrom(kExplorerWidth));
}

void TestView::toolbarAndStatusBarToggle_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("bar");
    QTest::newRow("toolbar") << "ToolbarAction" << "ControlBar1";
    QTest::newRow("status bar") << "StatusBarAction" << "StatusBar";
}

void TestView::toolbarAndStatusBarToggle()
{
    QFETCH(QString, command);
    QFETCH(QString, bar);
    QAction *a = f->findChild<QAction *>(command, Qt::FindDirectChildrenOnly);
    QWidget *w = bar == u"StatusBar" ? static_cast<QWidget *>(f->StatusBar) : f->ControlBar1;
    QVERIFY(a->isChecked());
    QVERIFY(w->isVisible());
    const int boxHeight = f->ScrollBox1->height();

    a->trigger();
    QVERIFY(!a->isChecked());
    QVERIFY(!w->isVisible());
    // The room the bar left goes to the entry area.
    QTRY_VERIFY(f->ScrollBox1->height() > boxHeight);

    a->trigger();
    QVERIFY(a->isChecked());
    QVERIFY(w->isVisible());
    QTRY_COMPARE(f->ScrollBox1->height(), boxHeight);
    QCOMPARE(f->ToolBar1->width(), f->ControlBar1->width());
    QCOMPARE(f->ScrollPanel1->height(), f->DBGrid1->height());
}

void TestView::toolbarFollowsControlBarAfterResize()
{
    QAction *a = f->action(Command::ToolbarAction);
    a->trigger();
    f->setFormWidth(640);
    a->trigger();
    QTRY_COMPARE(f->ControlBar1->width(), 632);
    QCOMPARE(f->ToolBar1->width(), f->ControlBar1->width());
    // And the narrow layout without the word list.
    f->action(Command::ShowHideLeftAction)->trigger();
    QCOMPARE(f->ToolBar1->width(), f->ControlBar1->width());
}

void TestView::alwaysOnTopBothWays()
{
    // The first run puts the window on top.
    QAction *a = f->action(Command::AoTAction1);
    QVERIFY(a->isChecked());
    QVERIFY(staysOnTop(f));
    a->trigger();
    QVERIFY(!a->isChecked());
    QVERIFY(!staysOnTop(f));
    // Changing the hint keeps the window on screen.
    QVERIFY(f->isVisible());
    a->trigger();
    QVERIFY(a->isChecked());
    QVERIFY(staysOnTop(f));
    QVERIFY(f->isVisible());
}

QTEST_MAIN(TestView)
#include "test_view.moc"
