// What an added dictionary's entry looks like: GCIDE's codes, references and safe markup.
#include "shelf/DictdText.h"
#include "shelf/SafeMarkup.h"
#include "shelf/StarDict.h"

#include <QTest>

class TestEntryText final : public QObject
{
    Q_OBJECT

private slots:
    void gcideCodesBecomeLetters();
    void referencesReadAsWords();
    void markupKeepsOnlySimpleFormatting();
    void starDictPartsByType();
};

void TestEntryText::gcideCodesBecomeLetters()
{
    QCOMPARE(replaceGcideCodes(QStringLiteral("([th][=e]), [eth][ae] [Obs.] [x")), QStringLiteral("(thē), ðæ [Obs.] [x"));
    QCOMPARE(replaceGcideCodes(QStringLiteral("l[imac]t\"hous`")), QStringLiteral("līt\"hous`"));
}

void TestEntryText::referencesReadAsWords()
{
    const RenderedEntry entry = renderDictdEntry(
        QStringLiteral("The \\The\\ ([th][=e]), definite article. See {That}, pron. {unclosed"), true);
    QCOMPARE(entry.plainText, QStringLiteral("The The (thē), definite article. See That, pron. {unclosed"));
    QVERIFY(entry.html.contains(u"<b>The</b>"));
    QVERIFY(entry.html.contains(u">That</span>"));
    QCOMPARE(dictdPronunciation(QStringLiteral("lighthouse /lˈaɪthaʊs/\nLeuchtturm")), QStringLiteral("lˈaɪthaʊs"));
    QCOMPARE(dictdPronunciation(QStringLiteral("word\n/not/ on the first line")), QString());
}

void TestEntryText::markupKeepsOnlySimpleFormatting()
{
    const SafeMarkup safe = sanitizeMarkup(QStringLiteral(
        "<b onclick=\"x()\">bold</b><script>alert(1)</script><img src=\"file:///etc/passwd\">"
        "<a href=\"http://example.com/\">link</a> <font color=\"red\">red</font>"
        "<span style=\"background:url(http://x/)\">s</span> &amp; &bogus <style>b{}</style><i>open"));
    QCOMPARE(safe.html, QStringLiteral("<b>bold</b><span>link</span> <span style=\"color:red\">red</span>"
                                       "<span>s</span> &amp; &amp;bogus <i>open</i>"));
    QCOMPARE(safe.plainText, QStringLiteral("boldlink reds & &bogus open"));
    for (const char *forbidden : {"script", "img", "href", "url(", "file:", "http:"})
        QVERIFY2(!safe.html.contains(QLatin1StringView(forbidden)), forbidden);
}

void TestEntryText::starDictPartsByType()
{
    // Without a type sequence each part carries its type: text to a NUL, or a sized block.
    QByteArray data = QByteArray("mplain\0t", 8) + QByteArray("f\xc9\x99\0", 4) + QByteArray("h<b>x</b>\0W", 11);
    data += QByteArray("\0\0\0\2ab", 6);
    const RenderedEntry entry = renderStarDictEntry(data, QString());
    QCOMPARE(entry.plainText, QStringLiteral("plain\n[fə]\nx\n(a part of type 'W' that this program does not show)"));
    // With a sequence, the last part runs to the end; a sized part that claims more than there is stops there.
    QCOMPARE(renderStarDictEntry("one", QStringLiteral("m")).plainText, QStringLiteral("one"));
    const RenderedEntry cut = renderStarDictEntry(QByteArray("\0\0\xff\xff", 4), QStringLiteral("Wm"));
    QVERIFY(cut.plainText.contains(u"damaged"));
}

QTEST_GUILESS_MAIN(TestEntryText)
#include "test_entrytext.moc"
