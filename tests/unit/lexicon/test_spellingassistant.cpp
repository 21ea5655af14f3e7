#include "FakeHeadwords.h"
#include "lexicon/SpellingAssistant.h"

#include <QElapsedTimer>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>

#include <mutex>

namespace {

// A speller whose every answer waits until the test lets it go, and which notes what it was asked.
struct SlowSpellerState
{
    QSemaphore go;
    std::mutex mutex;
    QStringList asked;
};

class SlowSpeller final : public Speller
{
public:
    explicit SlowSpeller(std::shared_ptr<SlowSpellerState> state) : m_state(std::move(state)) { }

    QStringList analyze(const QString &word) override
    {
        note(QStringLiteral("analyze ") + word);
        if (word.endsWith(QLatin1Char('s')))
            return {QStringLiteral(" st:") + word.chopped(1) + QStringLiteral(" fl:S")};
        return {};
    }
    QStringList suggest(const QString &word) override
    {
        note(QStringLiteral("suggest ") + word);
        return {QStringLiteral("receive"), QStringLiteral("relive"), QStringLiteral("relieve")};
    }

private:
    void note(const QString &what)
    {
        {
            const std::lock_guard lock(m_state->mutex);
            m_state->asked.append(what);
        }
        m_state->go.acquire();
    }
    std::shared_ptr<SlowSpellerState> m_state;
};

// Loads, then runs out of memory on its first word.
class ThrowingSpeller final : public Speller
{
public:
    QStringList analyze(const QString &) override { throw std::bad_alloc(); }
    QStringList suggest(const QString &) override { return {}; }
};

} // namespace

class TestSpellingAssistant final : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_state = std::make_shared<SlowSpellerState>();
        m_headwords = FakeHeadwords();
        m_headwords.add(QStringLiteral("dog")).add(QStringLiteral("receive")).add(QStringLiteral("relieve"));
        m_assistant = std::make_unique<SpellingAssistant>(&m_headwords);
        QSignalSpy loaded(m_assistant.get(), &SpellingAssistant::loaded);
        m_assistant->start([state = m_state] { return std::make_unique<SlowSpeller>(state); });
        QVERIFY(loaded.wait());
        QCOMPARE(loaded.first().first().toBool(), true);
    }

    void cleanup()
    {
        m_state->go.release(100);
        m_assistant.reset();
    }

    void baseFormsComeFirstThenSuggestionsForAMiss()
    {
        QSignalSpy found(m_assistant.get(), &SpellingAssistant::found);
        m_state->go.release(100);
        m_assistant->lookUp(QStringLiteral("dogs"), false);
        QVERIFY(found.wait());
        QCOMPARE(found.last().at(0).toString(), QStringLiteral("dogs"));
        QCOMPARE(found.last().at(1).value<QList<BaseForm>>(), QList<BaseForm>({BaseForm{"dog", Relation::Plural}}));

        m_assistant->lookUp(QStringLiteral("recieve"), true);
        QVERIFY(found.wait());
        QCOMPARE(found.last().at(2).toStringList(), QStringList({"receive", "relieve"}));

        // No headword even begins with it, but that is not what was said: no suggestions are worked out.
        m_assistant->lookUp(QStringLiteral("recieve"), false);
        QVERIFY(found.wait());
        QVERIFY(found.last().at(2).toStringList().isEmpty());
        QCOMPARE(m_state->asked.count(QStringLiteral("suggest recieve")), 1);
    }

    // An answer that arrives after the text has changed is never shown; queued work for texts typed
    // over is not even done.
    void answersForTextsTypedOverAreDropped()
    {
        QSignalSpy found(m_assistant.get(), &SpellingAssistant::found);
        m_assistant->lookUp(QStringLiteral("recieve"), true);
        QTRY_COMPARE(m_state->asked, QStringList({"analyze recieve"}));
        // The speller is busy with "recieve" while three more keystrokes come in.
        m_assistant->lookUp(QStringLiteral("recievea"), true);
        m_assistant->lookUp(QStringLiteral("recieveab"), true);
        m_assistant->lookUp(QStringLiteral("cats"), false);
        m_state->go.release(100);
        QVERIFY(found.wait());
        QTest::qWait(50);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.first().at(0).toString(), QStringLiteral("cats"));
        QCOMPARE(m_state->asked, QStringList({"analyze recieve", "analyze cats"}));
    }

    void aTextThatIsAHeadwordAgainCancelsTheAnswer()
    {
        QSignalSpy found(m_assistant.get(), &SpellingAssistant::found);
        m_assistant->lookUp(QStringLiteral("dogs"), false);
        m_assistant->clear();
        m_state->go.release(100);
        QTest::qWait(100);
        QCOMPARE(found.size(), 0);
    }

    // A speller that throws, while loading or later, ends the suggestions and says so once; nothing else.
    void aFailingSpellerEndsOnlyItsOwnWork()
    {
        SpellingAssistant loading(&m_headwords);
        QSignalSpy failedLoading(&loading, &SpellingAssistant::failed);
        QSignalSpy loaded(&loading, &SpellingAssistant::loaded);
        loading.start([]() -> std::unique_ptr<Speller> { throw std::bad_alloc(); });
        QVERIFY(failedLoading.wait());
        QCOMPARE(failedLoading.first().first().toString(), QStringLiteral("Out of memory."));
        QCOMPARE(loading.failure(), QStringLiteral("Out of memory."));
        QVERIFY(loaded.isEmpty());

        SpellingAssistant answering(&m_headwords);
        QSignalSpy failed(&answering, &SpellingAssistant::failed);
        QSignalSpy found(&answering, &SpellingAssistant::found);
        answering.start([] { return std::make_unique<ThrowingSpeller>(); });
        answering.lookUp(QStringLiteral("dogs"), false);
        QVERIFY(failed.wait());
        answering.lookUp(QStringLiteral("cats"), false);
        QTest::qWait(100);
        QCOMPARE(failed.size(), 1);
        QVERIFY(found.isEmpty());
        QVERIFY(!answering.isAvailable());
    }

    // A dictionary that never finishes loading (a pipe in its place) does not hold up the end.
    void teardownIsBoundedWhileTheSpellerBlocks()
    {
        auto stuck = std::make_shared<QSemaphore>();
        auto assistant = std::make_unique<SpellingAssistant>(&m_headwords);
        assistant->start([stuck]() -> std::unique_ptr<Speller> {
            stuck->acquire();
            return nullptr;
        });
        QTest::qWait(20);
        QElapsedTimer clock;
        clock.start();
        assistant.reset();
        QVERIFY(clock.elapsed() < 5000);
        stuck->release();
    }

private:
    std::shared_ptr<SlowSpellerState> m_state;
    FakeHeadwords m_headwords;
    std::unique_ptr<SpellingAssistant> m_assistant;
};

QTEST_GUILESS_MAIN(TestSpellingAssistant)
#include "test_spellingassistant.moc"
