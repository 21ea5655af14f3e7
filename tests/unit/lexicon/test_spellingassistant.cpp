#include "FakeHeadwords.h"
#include "lexicon/SpellingAssistant.h"

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

private:
    std::shared_ptr<SlowSpellerState> m_state;
    FakeHeadwords m_headwords;
    std::unique_ptr<SpellingAssistant> m_assistant;
};

QTEST_GUILESS_MAIN(TestSpellingAssistant)
#include "test_spellingassistant.moc"
