// The double-click word in a real text edit, and the text a view offers to be spoken.
#include "editing/WordSelection.h"

#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

class TestWordSelection final : public QObject
{
    Q_OBJECT

private slots:
    void clickOnWord_data();
    void clickOnWord();
    void clickOnBlank();
    void clickAfterScrolling();
    void clickInRichText();
    void selectedTextOrAllTakesSelectionOrAll();

private:
    // A point `fraction` of the way across the character at document position `pos`, in viewport coordinates.
    static QPoint charCenter(const QTextEdit &edit, int pos, double fraction = 0.5);
    static int find(const QTextEdit &edit, const QString &text);
    static void show(QTextEdit &edit);
};

QPoint TestWordSelection::charCenter(const QTextEdit &edit, int pos, double fraction)
{
    QTextCursor c(edit.document());
    c.setPosition(pos);
    const QRect left = edit.cursorRect(c);
    c.setPosition(pos + 1);
    const QRect right = edit.cursorRect(c);
    return QPoint(qRound(left.x() + (right.x() - left.x()) * fraction), left.center().y());
}

int TestWordSelection::find(const QTextEdit &edit, const QString &text)
{
    const int pos = edit.document()->toPlainText().indexOf(text);
    Q_ASSERT(pos >= 0);
    return pos;
}

void TestWordSelection::show(QTextEdit &edit)
{
    // Large type: the edges of a blank are then several pixels apart.
    QFont font = edit.font();
    font.setPixelSize(30);
    edit.setFont(font);
    edit.resize(1600, 400);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
}

void TestWordSelection::clickOnWord_data()
{
    QTest::addColumn<QString>("target");   // where to click: the first character of this text...
    QTest::addColumn<int>("offset");       // ...plus this many characters
    QTest::addColumn<double>("fraction");  // how far across that character
    QTest::addColumn<QString>("word");

    QTest::newRow("middle of a word") << "entry" << 2 << 0.5 << "entry";
    QTest::newRow("first letter") << "entry" << 0 << 0.5 << "entry";
    QTest::newRow("last letter") << "entry" << 4 << 0.5 << "entry";
    QTest::newRow("right edge of the last letter") << "entry" << 4 << 0.9 << "entry";
    QTest::newRow("left edge of the blank after") << "entry " << 5 << 0.1 << "";
    QTest::newRow("right edge of the blank before") << " entry" << 0 << 0.9 << "";
    QTest::newRow("apostrophe word") << "o'clock" << 5 << 0.5 << "o'clock";
    QTest::newRow("hyphen word") << "well-being" << 0 << 0.5 << "well-being";
    QTest::newRow("before a comma") << "comma," << 4 << 0.9 << "comma";
    QTest::newRow("on the comma") << "comma," << 5 << 0.2 << "";
    QTest::newRow("blank after a word") << "entry " << 5 << 0.5 << "";
    QTest::newRow("second line") << "second" << 1 << 0.5 << "second";
}

void TestWordSelection::clickOnWord()
{
    QFETCH(QString, target);
    QFETCH(int, offset);
    QFETCH(double, fraction);
    QFETCH(QString, word);

    QTextEdit edit;
    edit.setReadOnly(true);
    edit.setPlainText(QStringLiteral("An entry at o'clock for well-being, comma, and more.\nsecond line"));
    show(edit);
    const QTextCursor c = wordCursorAt(&edit, charCenter(edit, find(edit, target) + offset, fraction));
    QCOMPARE(c.selectedText(), word);
}

void TestWordSelection::clickOnBlank()
{
    QTextEdit edit;
    edit.setReadOnly(true);
    edit.setPlainText(QStringLiteral("short\n\nlonger line here"));
    show(edit);
    const QPoint onShort = charCenter(edit, 2);

    // Far right of a short line: the nearest character is the last letter, but the point is on nothing.
    QVERIFY(!wordCursorAt(&edit, QPoint(edit.viewport()->width() - 5, onShort.y())).hasSelection());
    // Just past the last letter.
    const QPoint past = charCenter(edit, 4) + QPoint(edit.fontMetrics().horizontalAdvance(QLatin1Char('t')), 0);
    QVERIFY(!wordCursorAt(&edit, past).hasSelection());
    // The empty line and the area below the text.
    QVERIFY(!wordCursorAt(&edit, QPoint(onShort.x(), charCenter(edit, 6).y())).hasSelection());
    QVERIFY(!wordCursorAt(&edit, QPoint(onShort.x(), edit.viewport()->height() - 3)).hasSelection());
    // Left of the text, in the document margin.
    QVERIFY(!wordCursorAt(&edit, QPoint(1, onShort.y())).hasSelection());
    QCOMPARE(wordCursorAt(&edit, onShort).selectedText(), QStringLiteral("short"));

    QTextEdit empty;
    show(empty);
    QVERIFY(!wordCursorAt(&empty, QPoint(10, 10)).hasSelection());
}

void TestWordSelection::clickAfterScrolling()
{
    QTextEdit edit;
    edit.setReadOnly(true);
    edit.setLineWrapMode(QTextEdit::NoWrap);
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << QStringLiteral("line%1 %2word%1").arg(i).arg(QString(200, QLatin1Char('x')));
    edit.setPlainText(lines.join(QLatin1Char('\n')));
    show(edit);

    QTextCursor c(edit.document());
    c.setPosition(find(edit, QStringLiteral("xword150")) + 3);
    edit.setTextCursor(c);
    edit.ensureCursorVisible();
    QVERIFY(edit.verticalScrollBar()->value() > 0);
    QVERIFY(edit.horizontalScrollBar()->value() > 0);

    const QTextCursor hit = wordCursorAt(&edit, charCenter(edit, find(edit, QStringLiteral("word150"))));
    QCOMPARE(hit.selectedText(), QString(200, QLatin1Char('x')) + QStringLiteral("word150"));
    QCOMPARE(hit.block().blockNumber(), 150);
}

void TestWordSelection::clickInRichText()
{
    QTextEdit edit;
    edit.setReadOnly(true);
    edit.setHtml(QStringLiteral("<p><b>noun</b></p><p>1. the <i>well</i>-being of a <b>dog's</b> life</p>"
                                "<ul><li>listed item</li></ul>"));
    show(edit);
    QCOMPARE(wordCursorAt(&edit, charCenter(edit, find(edit, QStringLiteral("being")))).selectedText(),
             QStringLiteral("well-being"));
    QCOMPARE(wordCursorAt(&edit, charCenter(edit, find(edit, QStringLiteral("dog's")))).selectedText(),
             QStringLiteral("dog's"));
    // A paragraph end is no joiner: the heading stays one word.
    QCOMPARE(wordCursorAt(&edit, charCenter(edit, find(edit, QStringLiteral("noun")) + 3)).selectedText(),
             QStringLiteral("noun"));
    QCOMPARE(wordCursorAt(&edit, charCenter(edit, find(edit, QStringLiteral("item")))).selectedText(),
             QStringLiteral("item"));
    QVERIFY(!wordCursorAt(&edit, charCenter(edit, find(edit, QStringLiteral("1.")) + 1)).hasSelection());
}

void TestWordSelection::selectedTextOrAllTakesSelectionOrAll()
{
    QTextEdit view;
    view.setHtml(QStringLiteral("<p><b>run</b> verb</p><p>move fast</p>"));
    QCOMPARE(selectedTextOrAll(&view), QStringLiteral("run verb\nmove fast"));

    QTextCursor cursor(view.document());
    cursor.setPosition(4);
    cursor.setPosition(13, QTextCursor::KeepAnchor);
    view.setTextCursor(cursor);
    QCOMPARE(selectedTextOrAll(&view), QStringLiteral("verb\nmove"));

    cursor.setPosition(4);
    cursor.setPosition(8, QTextCursor::KeepAnchor);
    view.setTextCursor(cursor);
    QCOMPARE(selectedTextOrAll(&view), QStringLiteral("verb"));
}

QTEST_MAIN(TestWordSelection)
#include "test_wordselection.moc"
