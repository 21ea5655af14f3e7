#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>

#include "editing/EditCommands.h"
#include "platform/ClipboardSource.h"

using EditCommands::Edit;

namespace {

// The application's clipboard as the commands see it; it goes with the application.
ClipboardSource *clipboard()
{
    static ClipboardSource *source = new QtClipboardSource(nullptr, qApp);
    return source;
}

// Enabled states in the order cut, copy, paste, delete, undo, select all, as a string of 0/1.
QString states(const QWidget *focused)
{
    QString s;
    for (Edit c : EditCommands::kAll)
        s += EditCommands::isEnabled(c, focused, clipboard()) ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

void setClipboardText(const QString &text)
{
    if (text.isNull())
        QGuiApplication::clipboard()->clear();
    else
        QGuiApplication::clipboard()->setText(text);
}

} // namespace

class TestEditCommands : public QObject
{
    Q_OBJECT
private slots:
    void enabledRules_data()
    {
        QTest::addColumn<QString>("kind");      // line, text, readonly, grid, none
        QTest::addColumn<QString>("content");
        QTest::addColumn<bool>("selectSome");
        QTest::addColumn<bool>("typed");        // changed by typing, so undo is possible
        QTest::addColumn<QString>("clipboard"); // null: empty clipboard
        QTest::addColumn<QString>("expected");

        QTest::newRow("empty search box") << "line" << "" << false << false << QString() << "000000";
        QTest::newRow("search box, clipboard text") << "line" << "" << false << false << "x" << "001000";
        QTest::newRow("search box set by the program") << "line" << "lamp" << false << false << QString() << "000001";
        QTest::newRow("search box with a selection") << "line" << "lamp" << true << false << QString() << "110101";
        QTest::newRow("search box after typing") << "line" << "lamp" << false << true << QString() << "000011";
        QTest::newRow("entry view with a selection") << "readonly" << "a source of light" << true << false << "x"
                                                     << "111101";
        QTest::newRow("entry view, nothing selected") << "readonly" << "light" << false << false << QString()
                                                      << "000001";
        QTest::newRow("empty entry view") << "text" << "" << false << false << QString() << "000000";
        QTest::newRow("word list focused") << "grid" << "" << false << false << "x" << "000000";
        QTest::newRow("nothing focused") << "none" << "" << false << false << "x" << "000000";
    }

    void enabledRules()
    {
        QFETCH(QString, kind);
        QFETCH(QString, content);
        QFETCH(bool, selectSome);
        QFETCH(bool, typed);
        QFETCH(QString, clipboard);
        QFETCH(QString, expected);

        setClipboardText(clipboard);
        QLineEdit line;
        QTextEdit text;
        QTableView grid;
        QWidget *focused = nullptr;
        if (kind == QLatin1String("line")) {
            if (typed)
                QTest::keyClicks(&line, content);
            else
                line.setText(content);
            if (selectSome)
                line.setSelection(0, 2);
            focused = &line;
        } else if (kind == QLatin1String("text") || kind == QLatin1String("readonly")) {
            text.setReadOnly(kind == QLatin1String("readonly"));
            text.setPlainText(content);
            if (selectSome) {
                QTextCursor c = text.textCursor();
                c.setPosition(2);
                c.setPosition(8, QTextCursor::KeepAnchor);
                text.setTextCursor(c);
            }
            focused = &text;
        } else if (kind == QLatin1String("grid")) {
            focused = &grid;
        }
        QCOMPARE(states(focused), expected);
    }

    void copyFromEntryViewGivesPlainAndRichText()
    {
        QTextEdit view;
        view.setReadOnly(true);
        view.setHtml(QStringLiteral("a <b>bold</b> word"));
        view.selectAll();
        EditCommands::execute(Edit::Copy, &view, clipboard());
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data);
        QCOMPARE(data->text(), QStringLiteral("a bold word"));
        QVERIFY(data->hasHtml());
        QVERIFY(data->html().contains(QStringLiteral("font-weight")));
    }

    void copyFromSearchBoxIsPlainText()
    {
        QLineEdit edit(QStringLiteral("lamp"));
        edit.selectAll();
        EditCommands::execute(Edit::Copy, &edit, clipboard());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("lamp"));
        QVERIFY(!QGuiApplication::clipboard()->mimeData()->hasHtml());
    }

    void readOnlyViewTextNeverChanges()
    {
        QTextEdit view;
        view.setReadOnly(true);
        view.setHtml(QStringLiteral("a <i>source</i> of light"));
        const QString text = view.toPlainText();
        setClipboardText(QStringLiteral("pasted"));
        view.selectAll();
        for (Edit c : {Edit::Cut, Edit::Paste, Edit::Delete, Edit::Undo}) {
            EditCommands::execute(c, &view, clipboard());
            QCOMPARE(view.toPlainText(), text);
        }
        // A text change sneaked into the undo history is not undone through the view either.
        QTextCursor c(view.document());
        c.insertText(QStringLiteral("x"));
        const QString changed = view.toPlainText();
        EditCommands::execute(Edit::Undo, &view, clipboard());
        QCOMPARE(view.toPlainText(), changed);
    }

    void searchBoxCommandsChangeTheText()
    {
        QLineEdit edit;
        QTest::keyClicks(&edit, QStringLiteral("lamps"));
        edit.setSelection(4, 1);
        EditCommands::execute(Edit::Delete, &edit, clipboard());
        QCOMPARE(edit.text(), QStringLiteral("lamp"));
        // Delete without a selection is disabled and leaves the character after the cursor alone.
        edit.setCursorPosition(0);
        EditCommands::execute(Edit::Delete, &edit, clipboard());
        QCOMPARE(edit.text(), QStringLiteral("lamp"));
        edit.selectAll();
        EditCommands::execute(Edit::Cut, &edit, clipboard());
        QCOMPARE(edit.text(), QString());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("lamp"));
        EditCommands::execute(Edit::Paste, &edit, clipboard());
        QCOMPARE(edit.text(), QStringLiteral("lamp"));
        EditCommands::execute(Edit::Undo, &edit, clipboard());
        QCOMPARE(edit.text(), QString());
    }

    void copyWordAfterTypingUndoesTheTyping()
    {
        QLineEdit edit;
        QTest::keyClicks(&edit, QStringLiteral("word"));
        EditCommands::copyWord(&edit);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("word"));
        QCOMPARE(edit.text(), QString());
    }

    void copyWordAfterProgramSetTextKeepsItSelected()
    {
        QLineEdit edit;
        edit.setText(QStringLiteral("lamp"));
        EditCommands::copyWord(&edit);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("lamp"));
        QCOMPARE(edit.text(), QStringLiteral("lamp"));
        QCOMPARE(edit.selectedText(), QStringLiteral("lamp"));
    }

    void bindingFollowsTheFocus()
    {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *edit = new QLineEdit;
        auto *view = new QTextEdit;
        auto *grid = new QTableView;
        layout->addWidget(edit);
        layout->addWidget(view);
        layout->addWidget(grid);
        view->setReadOnly(true);
        view->setPlainText(QStringLiteral("light"));

        std::array<QAction *, 6> actions{};
        for (QAction *&a : actions)
            a = new QAction(&window);
        setClipboardText(QString());
        StandardEditCommands commands(&window, clipboard(), actions);
        auto enabled = [&] {
            QString s;
            for (QAction *a : actions)
                s += a->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
            return s;
        };
        QCOMPARE(enabled(), QStringLiteral("000000"));

        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        view->setFocus();
        QTRY_COMPARE(enabled(), QStringLiteral("000001"));
        view->selectAll();
        QTRY_COMPARE(enabled(), QStringLiteral("110101"));
        edit->setFocus();
        QTRY_COMPARE(enabled(), QStringLiteral("000000"));
        QTest::keyClicks(edit, QStringLiteral("ab"));
        QTRY_COMPARE(enabled(), QStringLiteral("000011"));
        setClipboardText(QStringLiteral("x"));
        QTRY_COMPARE(enabled(), QStringLiteral("001011"));
        grid->setFocus();
        QTRY_COMPARE(enabled(), QStringLiteral("000000"));

        // Triggering acts on the focused control of the window.
        edit->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), edit);
        actions[5]->trigger();
        QCOMPARE(edit->selectedText(), QStringLiteral("ab"));
    }
};

QTEST_MAIN(TestEditCommands)
#include "test_editcommands.moc"
