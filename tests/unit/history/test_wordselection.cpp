// The double-click word rule, on plain strings and in a real text edit.
#include "app/WordSelection.h"

#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

class TestWordSelection final : public QObject
{
    Q_OBJECT

private slots:
    void span_data();
    void span();
    void clickOnWord_data();
    void clickOnWord();
    void clickOnBlank();
    void clickAfterScrolling();
    void clickInRichText();

private:
    // A point `fraction` of the way across the character at document position `pos`, in viewport coordinates.
    static QPoint charCenter(const QTextEdit &edit, int pos, double fraction = 0.5);
    static int find(const QTextEdit &edit, const QString &text);
    static void show(QTextEdit &edit);
};

void TestWordSelection::span_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("start");

    QTest::newRow("plain word") << "a plain word" << 4 << "plain" << 2;
    QTest::newRow("first letter") << "plain" << 0 << "plain" << 0;
    QTest::newRow("last letter") << "plain" << 4 << "plain" << 0;
    QTest::newRow("inner apostrophe") << "at o'clock." << 6 << "o'clock" << 3;
    QTest::newRow("on the apostrophe") << "at o'clock." << 4 << "o'clock" << 3;
    QTest::newRow("typographic apostrophe") << QString::fromUtf8("o’clock") << 0 << QString::fromUtf8("o’clock") << 0;
    QTest::newRow("inner hyphen") << "for well-being;" << 10 << "well-being" << 4;
    QTest::newRow("on the hyphen") << "well-being" << 4 << "well-being" << 0;
    QTest::newRow("several joiners") << "x-ray's" << 0 << "x-ray's" << 0;
    QTest::newRow("possessive kept") << "the dog's tail" << 5 << "dog's" << 4;
    QTest::newRow("trailing apostrophe") << "the dogs' tails" << 5 << "dogs" << 4;
    QTest::newRow("quoted") << "'quoted'," << 3 << "quoted" << 1;
    QTest::newRow("parenthesised") << "(word)," << 1 << "word" << 1;
    QTest::newRow("double hyphen splits") << "well--being" << 0 << "well" << 0;
    QTest::newRow("double hyphen itself") << "well--being" << 4 << "" << 4;
    QTest::newRow("spaced dash") << "a - b" << 2 << "" << 2;
    QTest::newRow("leading hyphen") << "-well" << 1 << "well" << 1;
    QTest::newRow("on leading hyphen") << "-well" << 0 << "" << 0;
    QTest::newRow("apostrophes around a word") << "rock 'n' roll" << 6 << "n" << 6;
    QTest::newRow("digits") << "the 1990s" << 5 << "1990s" << 4;
    QTest::newRow("period ends a word") << "e.g. this" << 0 << "e" << 0;
    QTest::newRow("on punctuation") << "word." << 4 << "" << 4;
    QTest::newRow("on a blank") << "two words" << 3 << "" << 3;
    QTest::newRow("accented") << QString::fromUtf8("a café") << 5 << QString::fromUtf8("café") << 2;
    QTest::newRow("combining accent") << QString::fromUtf8("cafe\u0301!") << 0 << QString::fromUtf8("cafe\u0301") << 0;
    QTest::newRow("past the end") << "word" << 4 << "" << 4;
    QTest::newRow("negative") << "word" << -1 << "" << 0;
    QTest::newRow("empty text") << "" << 0 << "" << 0;
}

void TestWordSelection::span()
{
    QFETCH(QString, text);
    QFETCH(int, index);
    QFETCH(QString, word);
    QFETCH(int, start);
    const WordSpan s = wordSpanAt(text, index);
    QCOMPARE(text.mid(s.start, s.length), word);
    QCOMPARE(s.start, qsizetype(start));
}

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

QTEST_MAIN(TestWordSelection)
#include "test_wordselection.moc"
