#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include "editing/EmphasisCommand.h"
#include "editing/KeyRouter.h"

namespace {

// A press of the shortcut: prepare, then (when live) execute. Returns "-", "add" or "remove".
QString press(EmphasisCommand &command, bool viewFocused, bool selectionHasStyle)
{
    command.prepare(viewFocused, selectionHasStyle);
    if (!command.enabled())
        return QStringLiteral("-");
    return command.execute() ? QStringLiteral("add") : QStringLiteral("remove");
}

void select(QTextEdit &view, int start, int end)
{
    QTextCursor c = view.textCursor();
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    view.setTextCursor(c);
}

QTextCharFormat formatAt(QTextEdit &view, int pos)
{
    QTextCursor c(view.document());
    c.setPosition(pos + 1);
    return c.charFormat();
}

const char *kEntry = "<span style=\"font-family:'Arial'; font-size:13px; color:#000080;\">"
                     "plain <b>bold</b> <s>gone</s> <u>under</u></span>";

} // namespace

class TestEmphasis : public QObject
{
    Q_OBJECT
private slots:
    void machine_data()
    {
        QTest::addColumn<bool>("startEnabled");
        // Each press: "F" focused on the entry view or "o" elsewhere, then "+" selection has the style or "0".
        QTest::addColumn<QStringList>("presses");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("focused toggles") << true << QStringList{"F0", "F+", "F0"}
                                         << QStringList{"add", "remove", "add"};
        QTest::newRow("unfocused first press adds, and keeps adding") << true << QStringList{"o0", "o+", "o0"}
                                                                       << QStringList{"add", "add", "add"};
        QTest::newRow("unfocused repeats the last focused removal") << true << QStringList{"F+", "o0", "o0"}
                                                                   << QStringList{"remove", "remove", "remove"};
        QTest::newRow("unfocused repeats the last focused addition") << true << QStringList{"F0", "o+", "o0"}
                                                                    << QStringList{"add", "add", "add"};
        QTest::newRow("bold is inert until pressed in the view") << false << QStringList{"o0", "o+", "F0", "o0"}
                                                                << QStringList{"-", "-", "add", "add"};
        QTest::newRow("bold once live stays live") << false << QStringList{"F+", "o+", "F0"}
                                                  << QStringList{"remove", "remove", "add"};
    }

    void machine()
    {
        QFETCH(bool, startEnabled);
        QFETCH(QStringList, presses);
        QFETCH(QStringList, expected);
        EmphasisCommand command(startEnabled);
        QStringList got;
        for (const QString &p : presses)
            got << press(command, p[0] == QLatin1Char('F'), p[1] == QLatin1Char('+'));
        QCOMPARE(got, expected);
    }

    void readsStylesAsCommonToTheSelection()
    {
        QTextEdit view;
        view.setHtml(QString::fromLatin1(kEntry));
        select(view, 6, 10); // "bold"
        QCOMPARE(selectionStyles(&view), (TextStyles{true, false, false, false}));
        select(view, 0, 10); // "plain bold": mixed bold reads as absent
        QCOMPARE(selectionStyles(&view), (TextStyles{}));
        select(view, 11, 15); // "gone"
        QCOMPARE(selectionStyles(&view), (TextStyles{false, false, false, true}));
        select(view, 8, 8);   // empty selection inside "bold": the insertion point's styles
        QVERIFY(selectionStyles(&view).bold);
    }

    void writesAllFourStylesAndNothingElse()
    {
        QTextEdit view;
        view.setReadOnly(true);
        view.setHtml(QString::fromLatin1(kEntry));
        const QString text = view.toPlainText();
        const QTextCharFormat before = formatAt(view, 0);

        // "plain bold gone": bold and strike-out are mixed, so they come out uniform and off.
        select(view, 0, 15);
        TextStyles styles = selectionStyles(&view);
        setStyle(styles, Emphasis::Italic, true);
        setSelectionStyles(&view, styles);

        QCOMPARE(view.toPlainText(), text);
        for (int pos = 0; pos < 15; ++pos) {
            if (view.document()->characterAt(pos) == QLatin1Char(' '))
                continue;
            const QTextCharFormat f = formatAt(view, pos);
            QVERIFY2(f.fontItalic(), qPrintable(QString::number(pos)));
            QVERIFY(f.fontWeight() <= QFont::Normal);
            QVERIFY(!f.fontStrikeOut());
            QCOMPARE(f.font().family(), before.font().family());
            QCOMPARE(f.fontPointSize(), before.fontPointSize());
            QCOMPARE(f.property(QTextFormat::FontPixelSize), before.property(QTextFormat::FontPixelSize));
            QCOMPARE(f.foreground().color(), QColor(0, 0, 128));
        }
        // Outside the selection nothing moved.
        QVERIFY(formatAt(view, 16).fontUnderline());
        QVERIFY(!formatAt(view, 16).fontItalic());
    }

    void uniformSelectionKeepsItsOtherStyles()
    {
        QTextEdit view;
        view.setHtml(QString::fromLatin1(kEntry));
        select(view, 16, 21); // "under"
        TextStyles styles = selectionStyles(&view);
        setStyle(styles, Emphasis::Bold, true);
        setSelectionStyles(&view, styles);
        QCOMPARE(selectionStyles(&view), (TextStyles{true, false, true, false}));
    }

    // Through the key router, as the window uses it.
    void bindingOnTheKeyPath()
    {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *search = new QLineEdit;
        auto *view = new QTextEdit;
        view->setReadOnly(true);
        layout->addWidget(search);
        layout->addWidget(view);
        view->setHtml(QString::fromLatin1(kEntry));

        auto *bold = new QAction(&window);
        bold->setShortcut(QKeySequence("Ctrl+B"));
        bold->setEnabled(false);
        auto *italic = new QAction(&window);
        italic->setShortcut(QKeySequence("Ctrl+I"));
        KeyRouter router(&window);
        router.setCommands({bold, italic});
        EmphasisBinding boldBinding(Emphasis::Bold, bold, view, &router);
        EmphasisBinding italicBinding(Emphasis::Italic, italic, view, &router);

        select(*view, 0, 5); // "plain", kept while the search box has the focus
        const QString text = view->toPlainText();

        // Ctrl+B first pressed outside the view: nothing happens and the key goes on.
        QVERIFY(!router.route(QKeySequence("Ctrl+B"), search).taken());
        QVERIFY(!selectionStyles(view).bold);

        // Ctrl+I outside the view before any use inside: italic, and again italic.
        QVERIFY(router.route(QKeySequence("Ctrl+I"), search).runs());
        QVERIFY(selectionStyles(view).italic);
        QVERIFY(router.route(QKeySequence("Ctrl+I"), search).runs());
        QVERIFY(selectionStyles(view).italic);

        // In the view each press toggles.
        QVERIFY(router.route(QKeySequence("Ctrl+I"), view).runs());
        QVERIFY(!selectionStyles(view).italic);
        QVERIFY(router.route(QKeySequence("Ctrl+I"), view).runs());
        QVERIFY(selectionStyles(view).italic);
        QVERIFY(router.route(QKeySequence("Ctrl+B"), view).runs());
        QCOMPARE(selectionStyles(view), (TextStyles{true, true, false, false}));
        QCOMPARE(view->toPlainText(), text);

        // Loading an entry again drops the emphasis.
        view->setHtml(QString::fromLatin1(kEntry));
        select(*view, 0, 5);
        QCOMPARE(selectionStyles(view), TextStyles{});
    }
};

QTEST_MAIN(TestEmphasis)
#include "test_emphasis.moc"
