#include "FakeHeadwords.h"
#include "lexicon/Speller.h"
#include "lexicon/WordForms.h"

#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(Relation)

namespace {

const QStringList noun{QStringLiteral("noun")};
const QStringList verb{QStringLiteral("verb")};
const QStringList nounVerb{QStringLiteral("noun"), QStringLiteral("verb")};
const QStringList adjective{QStringLiteral("adjective")};

FakeHeadwords dictionary()
{
    FakeHeadwords words;
    for (const char *w : {"dog", "cat", "box", "city", "church", "baby", "fox", "kiss"})
        words.add(QLatin1String(w), noun);
    for (const char *w : {"eat", "study", "try", "carry", "hop", "hope", "agree"})
        words.add(QLatin1String(w), verb);
    for (const char *w : {"walk", "play", "watch", "stop"})
        words.add(QLatin1String(w), nounVerb);
    for (const char *w : {"happy", "tall", "large", "nice", "fast", "big"})
        words.add(QLatin1String(w), adjective);
    words.add(QStringLiteral("Paris"), noun);
    return words;
}

} // namespace

class TestWordForms final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_speller = openHunspell();
        if (!m_speller)
            QSKIP("Hunspell's en_US dictionary (hunspell-en-us) is not installed");
    }

    // Real analyses from the English affix file, read against a dictionary of headwords.
    void inflectedFormsFindTheirBase_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("base");
        QTest::addColumn<Relation>("relation");
        const auto row = [](const char *form, const char *base, Relation relation) {
            QTest::newRow(form) << QString::fromLatin1(form) << QString::fromLatin1(base) << relation;
        };
        row("dogs", "dog", Relation::Plural);
        row("cats", "cat", Relation::Plural);
        row("boxes", "box", Relation::Plural);
        row("cities", "city", Relation::Plural);
        row("churches", "church", Relation::Plural);
        row("babies", "baby", Relation::Plural);
        row("foxes", "fox", Relation::Plural);
        row("kisses", "kiss", Relation::Plural);
        // A word that is a noun as well reads as a plural; a verb alone as a third person.
        row("walks", "walk", Relation::Plural);
        row("eats", "eat", Relation::ThirdPerson);
        row("agrees", "agree", Relation::ThirdPerson);
        row("walked", "walk", Relation::PastTense);
        row("played", "play", Relation::PastTense);
        row("studied", "study", Relation::PastTense);
        row("tried", "try", Relation::PastTense);
        row("walking", "walk", Relation::PresentParticiple);
        row("carrying", "carry", Relation::PresentParticiple);
        row("watching", "watch", Relation::PresentParticiple);
        row("happier", "happy", Relation::Comparative);
        row("taller", "tall", Relation::Comparative);
        row("larger", "large", Relation::Comparative);
        row("nicer", "nice", Relation::Comparative);
        row("faster", "fast", Relation::Comparative);
        row("happiest", "happy", Relation::Superlative);
        row("tallest", "tall", Relation::Superlative);
        row("Dogs", "dog", Relation::Plural);
    }
    void inflectedFormsFindTheirBase()
    {
        QFETCH(QString, form);
        QFETCH(QString, base);
        QFETCH(Relation, relation);
        const QList<BaseForm> forms = baseForms(m_speller->analyze(form), dictionary());
        QCOMPARE(forms, QList<BaseForm>({BaseForm{base, relation}}));
    }

    // Irregular forms are rows of their own in the dictionary; the affix file knows them only whole. The
    // rest are derivations, undoubled spellings the affix file also allows, and words of no headword.
    void formsWithoutABaseToOffer_data()
    {
        QTest::addColumn<QString>("form");
        for (const char *form : {"geese", "children", "ran", "went", "bigger", "stopped", "walker", "hoped",
                                 "kindness", "unhappy", "recieve", "dog"})
            QTest::newRow(form) << QString::fromLatin1(form);
    }
    void formsWithoutABaseToOffer()
    {
        QFETCH(QString, form);
        QVERIFY(baseForms(m_speller->analyze(form), dictionary()).isEmpty());
    }

    void relationsReadAsTheLineShowsThem()
    {
        QCOMPARE(relationText(Relation::PastTense), QStringLiteral("past tense of"));
        QCOMPARE(relationText(Relation::ThirdPerson), QStringLiteral("third person of"));
    }

    void suggestionsAreKeptToHeadwordsBestFirst()
    {
        FakeHeadwords words;
        for (const char *w : {"receive", "relieve", "reverie", "Recife", "reprieve", "receiver", "recede", "reclaim"})
            words.add(QLatin1String(w));
        const QStringList offered{"receive", "Receive", "relive", "relieve", "reverie", "recife", "reprieve",
                                  "receiver", "recede", "reclaim"};
        // Not a headword ("relive"), a repeat in other case, the dictionary's spelling, six at most.
        QCOMPARE(headwordSuggestions(offered, words),
                 QStringList({"receive", "relieve", "reverie", "Recife", "reprieve", "receiver"}));
        QCOMPARE(headwordSuggestions(m_speller->suggest(QStringLiteral("recieve")), words).value(0), QStringLiteral("receive"));
    }

    void onlyWordsAreWorthTheSpellersTime()
    {
        QVERIFY(worthAnalysing(QStringLiteral("recieve")));
        QVERIFY(worthAnalysing(QStringLiteral("hot dogs")));
        QVERIFY(worthAnalysing(QStringLiteral("Ζεύς")));
        QVERIFY(!worthAnalysing(QString(32767, QLatin1Char('a'))));
        QVERIFY(!worthAnalysing(QStringLiteral("?!.,;:")));
        QVERIFY(!worthAnalysing(QStringLiteral("      ")));
        QVERIFY(!worthAnalysing(QStringLiteral("a b c d e")));
        QVERIFY(!worthAnalysing(QString(QChar(0xd800))));
    }

    // Whatever the text, the speller answers and does not fall over.
    void oddTextsDoNotUpsetTheSpeller()
    {
        for (const QString &text : {QString(QChar(0xd800)), QStringLiteral("e\u0301\u0301\u0301"), QStringLiteral("日本語"),
                                    QString(300, QLatin1Char('x')), QStringLiteral("'-'")}) {
            m_speller->analyze(text);
            m_speller->suggest(text);
        }
    }

    // Held to a few headwords, Hunspell still reduces forms to them and spells towards them, and knows
    // nothing else.
    void dictionaryKeptToHeadwords()
    {
        const QStringList headwords{QStringLiteral("dog"), QStringLiteral("happy"), QStringLiteral("receive"),
                                    QStringLiteral("relieve")};
        const auto speller = openHunspell(QStringLiteral("en_US"), [&headwords](QStringView word) {
            return headwords.contains(word.toString(), Qt::CaseInsensitive);
        });
        QVERIFY(speller);
        QVERIFY(speller->analyze(QStringLiteral("dogs")).join(QLatin1Char(' ')).contains(QLatin1String("st:dog")));
        QVERIFY(speller->analyze(QStringLiteral("happier")).join(QLatin1Char(' ')).contains(QLatin1String("st:happy")));
        QVERIFY(speller->analyze(QStringLiteral("cats")).isEmpty());
        const QStringList suggestions = speller->suggest(QStringLiteral("recieve"));
        QCOMPARE(suggestions.value(0), QStringLiteral("receive"));
        for (const QString &suggestion : suggestions)
            QVERIFY2(headwords.contains(suggestion), qPrintable(suggestion));
    }

    void brokenDictionariesAreNoDictionaries()
    {
        QTemporaryDir dir;
        const auto write = [&dir](const char *name, const QByteArray &content) {
            QFile file(dir.filePath(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        };
        QFile aff(QStringLiteral("/usr/share/hunspell/en_US.aff"));
        QFile dic(QStringLiteral("/usr/share/hunspell/en_US.dic"));
        QVERIFY(aff.open(QIODevice::ReadOnly) && dic.open(QIODevice::ReadOnly));
        const QByteArray affText = aff.readAll();
        const QByteArray dicText = dic.readAll();

        write("cut.aff", affText.left(affText.size() / 3));
        write("cut.dic", dicText.left(40));
        write("empty.aff", {});
        write("empty.dic", {});
        write("junk.aff", QByteArray(4096, '\xff'));
        write("junk.dic", "many\n\xff\xfe\n");
        for (const char *name : {"cut", "empty", "junk"}) {
            const QString base = dir.filePath(QLatin1String(name));
            QVERIFY2(!openHunspellFiles(base + ".aff", base + ".dic"), name);
            QVERIFY2(!openHunspellFiles(base + ".aff", base + ".dic", [](QStringView) { return true; }), name);
        }
        QVERIFY(!openHunspellFiles(dir.filePath("missing.aff"), dir.filePath("missing.dic")));
    }

private:
    std::unique_ptr<Speller> m_speller;
};

QTEST_GUILESS_MAIN(TestWordForms)
#include "test_wordforms.moc"
