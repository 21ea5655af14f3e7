// "--define": entries as plain text for a terminal, the headword found exactly or case aside, and a miss told on
// the error stream with what may have been meant.
#include "define/DefineCommand.h"
#include "define/EntryText.h"
#include "dictionary/DictionarySession.h"
#include "dictionary/DictionaryTable.h"
#include "dictionary/DictionaryWriter.h"
#include "lexicon/Speller.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

namespace {

// An entry as the dictionary builder writes it.
const QString kEntry = QStringLiteral(
    "<p><b>noun</b></p><ol><li>a building where   books are kept<br><i>\"went to the library\"</i>"
    "<br>synonyms: athenaeum, reading room</li><li>a collection &amp; its &lt;catalogue&gt;</li></ol>"
    "<p><b>verb</b></p><ol><li>to lend&#233;</li></ol>");

class FakeSpeller final : public Speller
{
public:
    QStringList analyze(const QString &word) override
    {
        return word == u"libraries" ? QStringList{QStringLiteral(" st:library fl:S")} : QStringList();
    }
    QStringList suggest(const QString &word) override
    {
        return word == u"libary" ? QStringList{QStringLiteral("library"), QStringLiteral("liberty"), QStringLiteral("Library")}
                                 : QStringList();
    }
};

QString readAll(std::FILE *file)
{
    std::rewind(file);
    QByteArray bytes;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, qsizetype(n));
    std::fclose(file);
    return QString::fromUtf8(bytes);
}

} // namespace

class TestDefine : public QObject
{
    Q_OBJECT
private slots:
    void entryAsLines();
    void wrapsUnderItsIndent();
    void definesHitsAndTellsMisses();
};

void TestDefine::entryAsLines()
{
    const QList<EntryLine> expected = {
        {QStringLiteral("noun"), 0, 0},
        {QStringLiteral("1. a building where books are kept"), 2, 5},
        {QStringLiteral("\"went to the library\""), 5, 5},
        {QStringLiteral("synonyms: athenaeum, reading room"), 5, 5},
        {QStringLiteral("2. a collection & its <catalogue>"), 2, 5},
        {QStringLiteral("verb"), 0, 0},
        {QStringLiteral("1. to lend\u00e9"), 2, 5},
    };
    QCOMPARE(entryLines(kEntry), expected);
    QCOMPARE(entryLines(QStringLiteral("<p>plural of dog</p><p>&bogus; 5 &lt 6</p>")),
             (QList<EntryLine>{{QStringLiteral("plural of dog"), 0, 0}, {QStringLiteral("&bogus; 5 &lt 6"), 0, 0}}));
}

void TestDefine::wrapsUnderItsIndent()
{
    const QList<EntryLine> lines = {{QStringLiteral("1. a building where books are kept"), 2, 5},
                                    {QStringLiteral("an-unbreakable-word-longer-than-the-line here"), 0, 0}};
    QCOMPARE(layOut(lines, 20), QStringLiteral("  1. a building\n"
                                               "     where books are\n"
                                               "     kept\n"
                                               "an-unbreakable-word-longer-than-the-line\n"
                                               "here\n"));
    QCOMPARE(layOut(lines, 0), QStringLiteral("  1. a building where books are kept\n"
                                              "an-unbreakable-word-longer-than-the-line here\n"));
}

void TestDefine::definesHitsAndTellsMisses()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.dat"));
    writeDictionary(path, {{QStringLiteral("library"), kEntry, QStringLiteral("\u02c8la\u026abr\u0259ri")},
                           {QStringLiteral("Library"), QStringLiteral("<p>a place name</p>")},
                           {QStringLiteral("liberty"), QStringLiteral("<p>freedom</p>")}});
    DictionarySession session;
    session.addPassword(QStringLiteral("marbol47quen"));
    DictionaryTable table(&session);
    table.setTableName(path);
    table.open();

    std::FILE *out = std::tmpfile();
    std::FILE *err = std::tmpfile();
    int spellerLoads = 0;
    {
        DefineCommand command(&table, out, err);
        command.setSpeller([&spellerLoads] {
            ++spellerLoads;
            return std::make_unique<FakeSpeller>();
        });
        command.setSectionSource([](const QString &word) {
            return word == u"liberty" ? QList<DefineSection>{{QStringLiteral("GCIDE"), QStringLiteral("Liberty, n.")}}
                                      : QList<DefineSection>{};
        });
        QVERIFY(command.define(QStringLiteral("LIBRARY")));
        QVERIFY(command.define(QStringLiteral("liberty")));
        QCOMPARE(spellerLoads, 0);
        QVERIFY(!command.define(QStringLiteral("libary")));
        QVERIFY(!command.define(QStringLiteral("libraries")));
        QVERIFY(!command.define(QStringLiteral("qqq")));
    }
    QCOMPARE(spellerLoads, 1);
    QCOMPARE(readAll(out), QStringLiteral("Library\n"
                                          "a place name\n"
                                          "liberty\n"
                                          "freedom\n"
                                          "\n"
                                          "GCIDE\n"
                                          "Liberty, n.\n"));
    QCOMPARE(readAll(err), QStringLiteral("No entry for \"libary\".\n"
                                          "Did you mean: library, liberty, Library\n"
                                          "No entry for \"libraries\".\n"
                                          "Did you mean: library\n"
                                          "No entry for \"qqq\".\n"));

    // The exact spelling, with its pronunciation after the headword.
    out = std::tmpfile();
    err = std::tmpfile();
    DefineCommand command(&table, out, err);
    QVERIFY(command.define(QStringLiteral("library")));
    const QString text = readAll(out);
    QVERIFY2(text.startsWith(QStringLiteral("library  \u02c8la\u026abr\u0259ri\nnoun\n  1. a building")), qPrintable(text));
    std::fclose(err);
}

QTEST_GUILESS_MAIN(TestDefine)
#include "test_define.moc"
