#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "editing/KeyRouter.h"

class TestKeyRouter : public QObject
{
    Q_OBJECT

    static QAction *make(QObject *owner, const char *name, const char *key, bool enabled)
    {
        auto *a = new QAction(QString::fromLatin1(name), owner);
        a->setObjectName(QString::fromLatin1(name));
        if (*key)
            a->setShortcut(QKeySequence(QString::fromLatin1(key)));
        a->setEnabled(enabled);
        return a;
    }

private slots:
    void decide_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("layout"); // menus separated by "|", items by ",", "!" marks a disabled item
        QTest::addColumn<QString>("commands");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("holder");

        using O = KeyRouter::Outcome;
        QTest::newRow("disabled Delete in context menu swallows Del")
            << "Del" << "undo=Ctrl+Z,!delete=Del|!delete2=Del" << "" << int(O::MenuItemIdle) << "delete";
        QTest::newRow("key held by no menu and no enabled command reaches the control")
            << "Ctrl+A" << "copy=Ctrl+C|cut=Ctrl+X" << "!selectall=Ctrl+A" << int(O::NotTaken) << "selectall";
        QTest::newRow("only the first matching command is tried")
            << "Ctrl+B" << "" << "other=Ctrl+I,!bold=Ctrl+B,bold2=Ctrl+B" << int(O::NotTaken) << "bold";
        QTest::newRow("first enabled command runs, later ones untouched")
            << "Ctrl+B" << "" << "bold=Ctrl+B,bold2=Ctrl+B" << int(O::CommandRan) << "bold";
        QTest::newRow("disabled item of an earlier menu beats an enabled one later")
            << "Ctrl+C" << "!copy=Ctrl+C|copy2=Ctrl+C" << "copy3=Ctrl+C" << int(O::MenuItemIdle) << "copy";
        QTest::newRow("main menu after a context menu without the key")
            << "Ctrl+T" << "copy=Ctrl+C|speak=Ctrl+T" << "speak2=Ctrl+T" << int(O::MenuItemRan) << "speak";
        QTest::newRow("menus come before the command table")
            << "Ctrl+O" << "stop=Ctrl+O" << "stop2=Ctrl+O" << int(O::MenuItemRan) << "stop";
        QTest::newRow("nothing carries the key") << "Ctrl+Q" << "copy=Ctrl+C" << "x=Ctrl+X" << int(O::NotTaken) << "";
        QTest::newRow("item without a shortcut never matches an empty key")
            << "" << "plain=" << "plain2=" << int(O::NotTaken) << "";
    }

    void decide()
    {
        QFETCH(QString, key);
        QFETCH(QString, layout);
        QFETCH(QString, commands);
        QFETCH(int, outcome);
        QFETCH(QString, holder);

        QObject owner;
        auto parseList = [&](const QString &text) {
            QList<QAction *> list;
            for (const QString &item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                const bool disabled = item.startsWith(QLatin1Char('!'));
                const QStringList parts = item.mid(disabled ? 1 : 0).split(QLatin1Char('='));
                list << make(&owner, parts[0].toLatin1().constData(), parts[1].toLatin1().constData(), !disabled);
            }
            return list;
        };
        QList<QList<QAction *>> menus;
        for (const QString &menu : layout.split(QLatin1Char('|'), Qt::SkipEmptyParts))
            menus << parseList(menu);
        const QList<QAction *> table = parseList(commands);

        QList<QSignalSpy *> spies;
        for (QAction *a : owner.findChildren<QAction *>())
            spies << new QSignalSpy(a, &QAction::triggered);

        const KeyRouter::Decision d = KeyRouter::decide(QKeySequence(key), menus, table);
        QCOMPARE(int(d.outcome), outcome);
        QCOMPARE(d.action ? d.action->objectName() : QString(), holder);
        // Deciding never runs anything.
        for (QSignalSpy *spy : spies)
            QCOMPARE(spy->count(), 0);
        qDeleteAll(spies);
    }

    void menuItemsFlattensSubmenusInOrder()
    {
        QMenuBar bar;
        QMenu *file = bar.addMenu(QStringLiteral("&File"));
        file->addAction(QStringLiteral("Send"));
        file->addSeparator();
        file->addAction(QStringLiteral("Close"));
        QMenu *edit = bar.addMenu(QStringLiteral("&Edit"));
        QMenu *sub = edit->addMenu(QStringLiteral("More"));
        sub->addAction(QStringLiteral("Deep"));
        edit->addAction(QStringLiteral("Undo"));
        QStringList texts;
        for (QAction *a : KeyRouter::menuItems(&bar))
            texts << a->text();
        QCOMPARE(texts, (QStringList{"Send", "Close", "Deep", "Undo"}));
    }

    void routeAsksFocusedControlThenParentsThenMainMenu()
    {
        QWidget window;
        auto *panel = new QWidget(&window);
        auto *edit = new QLineEdit(panel);
        QMenuBar bar;
        QMenu *editMenu = bar.addMenu(QStringLiteral("&Edit"));

        QMenu editPopup, panelPopup;
        QAction *inEdit = make(&window, "inEdit", "Ctrl+C", true);
        QAction *inPanel = make(&window, "inPanel", "Ctrl+C", true);
        QAction *panelOnly = make(&window, "panelOnly", "Ctrl+K", true);
        QAction *mainOnly = make(&window, "mainOnly", "Ctrl+M", true);
        editPopup.addAction(inEdit);
        panelPopup.addAction(inPanel);
        panelPopup.addAction(panelOnly);
        editMenu->addAction(mainOnly);

        KeyRouter router(&window);
        router.setMainMenu(&bar);
        router.setContextMenu(edit, &editPopup);
        router.setContextMenu(panel, &panelPopup);

        QSignalSpy editSpy(inEdit, &QAction::triggered), panelSpy(inPanel, &QAction::triggered),
            panelOnlySpy(panelOnly, &QAction::triggered), mainSpy(mainOnly, &QAction::triggered);
        QCOMPARE(router.route(QKeySequence("Ctrl+C"), edit).action, inEdit);
        QCOMPARE(router.route(QKeySequence("Ctrl+K"), edit).action, panelOnly);
        QCOMPARE(router.route(QKeySequence("Ctrl+M"), edit).action, mainOnly);
        // Focus on the panel itself skips the child's menu.
        QCOMPARE(router.route(QKeySequence("Ctrl+C"), panel).action, inPanel);
        QCOMPARE(editSpy.count(), 1);
        QCOMPARE(panelSpy.count(), 1);
        QCOMPARE(panelOnlySpy.count(), 1);
        QCOMPARE(mainSpy.count(), 1);
    }

    void aboutToRouteRefreshesEnabledStatesFirst()
    {
        QWidget window;
        QAction *command = make(&window, "late", "Ctrl+L", false);
        KeyRouter router(&window);
        router.setCommands({command});
        QSignalSpy ran(command, &QAction::triggered);
        connect(&router, &KeyRouter::aboutToRoute, command, [command](const QKeySequence &key, QWidget *) {
            if (key == QKeySequence("Ctrl+L"))
                command->setEnabled(true);
        });
        QVERIFY(router.route(QKeySequence("Ctrl+L"), &window).runs());
        QCOMPARE(ran.count(), 1);
    }

    // The real key path: the filter must keep Qt's own shortcuts from firing and let untaken keys through.
    void eventFilterGlue()
    {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *edit = new QLineEdit(QStringLiteral("abc"));
        layout->addWidget(edit);
        QMenuBar bar(&window);
        QMenu *editMenu = bar.addMenu(QStringLiteral("&Edit"));
        QMenu popup;

        QAction *del = make(&window, "delete", "Del", false);
        QAction *speak = make(&window, "speak", "Ctrl+T", true);
        QAction *selectAll = make(&window, "selectAll", "Ctrl+A", false);
        QAction *heldIdle = make(&window, "heldIdle", "Ctrl+K", false);
        QAction *later = make(&window, "later", "Ctrl+K", true);
        popup.addAction(del);
        popup.addAction(heldIdle);
        editMenu->addAction(speak);
        window.addAction(later);
        // Added to the window as well, so Qt's shortcut map knows the key too.
        window.addAction(speak);

        KeyRouter router(&window);
        router.setMainMenu(&bar);
        router.setContextMenu(edit, &popup);
        router.setCommands({selectAll, del, speak, later});
        router.install();

        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), edit);
        edit->setCursorPosition(0);

        QSignalSpy spoken(speak, &QAction::triggered);
        QTest::keyClick(edit, Qt::Key_Delete);
        QCOMPARE(edit->text(), QStringLiteral("abc")); // swallowed by the disabled item
        QTest::keyClick(edit, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(spoken.count(), 1);                   // once, not again by Qt's shortcut map
        QSignalSpy laterRan(later, &QAction::triggered);
        QTest::keyClick(edit, Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(laterRan.count(), 0);                 // the disabled item holds the key; Qt must not fire it
        QCOMPARE(edit->text(), QStringLiteral("abc"));
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(edit->selectedText(), QStringLiteral("abc")); // reached the control
        QTest::keyClick(edit, Qt::Key_X);
        QCOMPARE(edit->text(), QStringLiteral("x"));   // ordinary typing is untouched

        del->setEnabled(true);
        QSignalSpy deleted(del, &QAction::triggered);
        QTest::keyClick(edit, Qt::Key_Delete);
        QCOMPARE(deleted.count(), 1);
        QCOMPARE(edit->text(), QStringLiteral("x"));   // the command ran instead of the control's own Del
    }
};

QTEST_MAIN(TestKeyRouter)
#include "test_keyrouter.moc"
