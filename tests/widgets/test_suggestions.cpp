// The suggestion line over the entry and the pronunciation beside the headword, in the real window.

#include "WidgetFixture.h"

#include "app/EntryView.h"
#include "app/SearchEdit.h"
#include "dictionary/DictionaryTable.h"
#include "dictionary/SearchHistory.h"
#include "lexicon/SpellingAssistant.h"
#include "lexicon/SuggestionLine.h"

#include <QLabel>
#include <QContextMenuEvent>
#include <QSignalSpy>
#include <QTimer>

namespace {

// Knows one inflection, as the English affix file would analyse it.
class OneFormSpeller final : public Speller
{
public:
    QStringList analyze(const QString &word) override
    {
        return word.compare(QLatin1String("dogs"), Qt::CaseInsensitive) == 0 ? QStringList{" st:dog fl:S"} : QStringList{};
    }
    QStringList suggest(const QString &) override { return {}; }
};

} // namespace

class TestSuggestions : public QObject
{
    Q_OBJECT

    // The window shown and painted, then what the program does after its first paint.
    static void showAndStartSpelling(WindowFixture &fixture)
    {
        fixture.app->showForm();
        QVERIFY(QTest::qWaitForWindowExposed(fixture.form.get()));
        QSignalSpy loaded(fixture.form->spelling(), &SpellingAssistant::loaded);
        fixture.form->startSpelling();
        QVERIFY(loaded.wait());
    }

private slots:
    void aBaseFormIsOfferedFollowedAndRecorded()
    {
        FormEnvironment env;
        env.speller = [] { return std::make_unique<OneFormSpeller>(); };
        WindowFixture fixture({{"dog", "<p><b>noun</b></p><ol><li>a canine</li></ol>", QStringLiteral("/d\u02c8\u0252\u0261/")},
                               {"dogs-tooth check", "<p>a pattern</p>"},
                               {"dogsled", "<p>a sled</p>"}},
                              env);
        TLexivoAppForm *form = fixture.form.get();
        showAndStartSpelling(fixture);
        // The first entry's pronunciation comes once the spelling dictionary starts, after the first paint.
        QVERIFY(form->WordPronLabel1->isVisible());
        QCOMPARE(form->WordPronLabel1->text(), QStringLiteral("/d\u02c8\u0252\u0261/"));
        form->SEdit1->setFocus();

        QTest::keyClicks(form->SEdit1, QStringLiteral("dogs"));
        // The lookup itself is unchanged: the nearest headword and its entry.
        QCOMPARE(form->table()->currentHeadword(), QStringLiteral("dogs-tooth check"));
        QTRY_VERIFY(form->SuggestionLine1->isVisible());
        QVERIFY(form->SuggestionLine1->text().contains(QStringLiteral("plural of")));
        QCOMPARE(form->SuggestionLine1->words(), QStringList{"dog"});
        QVERIFY(!form->WordPronLabel1->isVisible());

        // A right click on the link opens no menu that would copy the link's address.
        QWidget *popup = nullptr;
        QTimer::singleShot(0, form, [&popup] {
            popup = QApplication::activePopupWidget();
            if (popup)
                popup->close();
        });
        const QFontMetrics metrics(form->SuggestionLine1->font());
        const QPoint onLink(form->SuggestionLine1->contentsRect().left()
                                + metrics.horizontalAdvance(QStringLiteral("dogs \u2014 plural of d")),
                            form->SuggestionLine1->height() / 2);
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, onLink, form->SuggestionLine1->mapToGlobal(onLink));
        QApplication::sendEvent(form->SuggestionLine1, &rightClick);
        QTest::qWait(20);
        QVERIFY(!popup);

        // Tab from the search box reaches the line; Enter follows its link like a double-click.
        QTest::keyClick(form->SEdit1, Qt::Key_Tab);
        QTRY_VERIFY(form->SuggestionLine1->hasFocus());
        QTest::keyClick(form->SuggestionLine1, Qt::Key_Return);
        QTRY_COMPARE(form->SEdit1->text(), QStringLiteral("dog"));
        QCOMPARE(form->table()->currentHeadword(), QStringLiteral("dog"));
        QVERIFY(form->RichEdit1->toPlainText().contains(QStringLiteral("a canine")));
        QCOMPARE(form->history()->words(), QStringList{"dog"});
        QVERIFY(!form->SuggestionLine1->isVisible());
        QVERIFY(form->WordPronLabel1->isVisible());
        QCOMPARE(form->WordPronLabel1->text(), QStringLiteral("/d\u02c8\u0252\u0261/"));

        // The line goes the moment the text is a headword again.
        form->SEdit1->setText(QStringLiteral("dogs"));
        QTRY_VERIFY(form->SuggestionLine1->isVisible());
        QTest::keyClicks(form->SEdit1, QStringLiteral("led"));
        QVERIFY(!form->SuggestionLine1->isVisible());
    }

    // No spelling dictionary on the machine: no message at start; the line says why once, where its words
    // would be, and the about panel keeps its empty line.
    void withoutHunspellTheLineSaysSoOnce()
    {
        FormEnvironment env;
        env.speller = [] { return std::unique_ptr<Speller>(); };
        WindowFixture fixture({{"dog", "<p>a canine</p>"}, {"zebra", "<p>a striped animal</p>"}}, env);
        TLexivoAppForm *form = fixture.form.get();
        showAndStartSpelling(fixture);
        QVERIFY(fixture.boxes.isEmpty());
        // Typing towards a headword says nothing; the first misspelling does, until the text is a word again.
        QTest::keyClicks(form->SEdit1, QStringLiteral("dogx"));
        QVERIFY(form->SuggestionLine1->isVisible());
        QCOMPARE(form->SuggestionLine1->text(), QStringLiteral("Suggestions need the hunspell-en-us package."));
        QTest::keyClicks(form->SEdit1, QStringLiteral("y"));
        QVERIFY(form->SuggestionLine1->isVisible());
        form->SEdit1->setText(QStringLiteral("dog"));
        QVERIFY(!form->SuggestionLine1->isVisible());
        form->SEdit1->setText(QStringLiteral("dogx"));
        QTest::qWait(50);
        QVERIFY(!form->SuggestionLine1->isVisible());
        form->HelpAbout1Execute();
        QCOMPARE(form->AboutMessLabel1->text(), QString());
    }

    // The speller runs out of memory on its thread: the line says so once, and the window goes on.
    void aFailingSpellerIsSaidOnceWhereTheSuggestionsGo()
    {
        FormEnvironment env;
        env.speller = []() -> std::unique_ptr<Speller> { throw std::bad_alloc(); };
        WindowFixture fixture({{"dog", "<p>a canine</p>"}, {"zebra", "<p>a striped animal</p>"}}, env);
        TLexivoAppForm *form = fixture.form.get();
        fixture.app->showForm();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QSignalSpy failed(form->spelling(), &SpellingAssistant::failed);
        form->startSpelling();
        QVERIFY(failed.wait());
        QVERIFY(form->SuggestionLine1->isVisible());
        QVERIFY(form->SuggestionLine1->text().endsWith(QLatin1String("Out of memory.")));
        QVERIFY(fixture.boxes.isEmpty());
        QTest::keyClicks(form->SEdit1, QStringLiteral("zeb"));
        QVERIFY(!form->SuggestionLine1->isVisible());
        QCOMPARE(form->table()->currentHeadword(), QStringLiteral("zebra"));
    }
};

QTEST_MAIN(TestSuggestions)
#include "test_suggestions.moc"
