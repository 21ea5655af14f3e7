#include "lexicon/SpellingAssistant.h"

#include "platform/WorkerThread.h"

// Lives on the assistant's thread and owns the speller there. Jobs are queued calls; one whose text has
// been typed over by the time it comes up is skipped, so a burst of keystrokes costs one analysis.
class SpellingWorker final : public QObject
{
    Q_OBJECT
public:
    explicit SpellingWorker(std::shared_ptr<std::atomic<quint64>> latest) : m_latest(std::move(latest)) { }

    void load(const SpellingAssistant::SpellerFactory &factory)
    {
        guarded([&] {
            m_speller = factory ? factory() : nullptr;
            emit loaded(m_speller != nullptr);
        });
    }

    void analyze(quint64 generation, const QString &text)
    {
        if (!m_speller || generation != m_latest->load())
            return;
        guarded([&] { emit analysed(generation, text, m_speller->analyze(text)); });
    }

    void suggest(quint64 generation, const QString &text)
    {
        if (!m_speller || generation != m_latest->load())
            return;
        guarded([&] { emit suggested(generation, text, m_speller->suggest(text)); });
    }

signals:
    void loaded(bool available);
    void failed(const QString &message);
    void analysed(quint64 generation, const QString &text, const QStringList &analyses);
    void suggested(quint64 generation, const QString &text, const QStringList &suggestions);

private:
    // A speller that threw once is not trusted again: its state is unknown.
    template <typename Job>
    void guarded(Job &&job)
    {
        const QString failure = failureOf(std::forward<Job>(job));
        if (failure.isEmpty())
            return;
        m_speller.reset();
        emit failed(failure);
    }

    std::shared_ptr<std::atomic<quint64>> m_latest;
    std::unique_ptr<Speller> m_speller;
};

SpellingAssistant::SpellingAssistant(const Headwords *headwords, QObject *parent)
    : QObject(parent), m_headwords(headwords), m_latest(std::make_shared<std::atomic<quint64>>(0)),
      m_thread(std::make_unique<WorkerThread>(QStringLiteral("Spelling")))
{
}

SpellingAssistant::~SpellingAssistant()
{
    // Skip whatever is still queued, then wait a while for the job in hand (one analysis or suggestion).
    m_latest->store(~quint64(0));
    m_thread->stop();
}

void SpellingAssistant::start(SpellerFactory factory)
{
    if (m_started)
        return;
    m_started = true;
    m_worker = new SpellingWorker(m_latest);
    connect(m_worker, &SpellingWorker::loaded, this, [this](bool available) {
        m_loaded = true;
        m_available = available;
        emit loaded(available);
    });
    connect(m_worker, &SpellingWorker::failed, this, [this](const QString &message) {
        m_available = false;
        m_failure = message;
        emit failed(message);
    });
    connect(m_worker, &SpellingWorker::analysed, this, &SpellingAssistant::analysed);
    connect(m_worker, &SpellingWorker::suggested, this, &SpellingAssistant::suggested);
    // The dictionary takes a moment to load: a low priority keeps it from competing with painting.
    m_thread->start(m_worker, QThread::LowPriority);
    QMetaObject::invokeMethod(m_worker, [worker = m_worker, factory = std::move(factory)] { worker->load(factory); });
}

void SpellingAssistant::lookUp(const QString &text, bool spellingMiss)
{
    const quint64 generation = ++m_generation;
    m_latest->store(generation);
    m_spellingMiss = spellingMiss;
    if (!m_worker || !worthAnalysing(text))
        return;
    const QString word = text.trimmed();
    QMetaObject::invokeMethod(m_worker, [worker = m_worker, generation, word] { worker->analyze(generation, word); });
}

void SpellingAssistant::clear()
{
    m_latest->store(++m_generation);
}

void SpellingAssistant::analysed(quint64 generation, const QString &text, const QStringList &analyses)
{
    if (generation != m_generation)
        return;
    const QList<BaseForm> forms = baseForms(analyses, *m_headwords);
    if (forms.isEmpty() && m_spellingMiss) {
        QMetaObject::invokeMethod(m_worker, [worker = m_worker, generation, text] { worker->suggest(generation, text); });
        return;
    }
    emit found(text, forms, {});
}

void SpellingAssistant::suggested(quint64 generation, const QString &text, const QStringList &suggestions)
{
    if (generation != m_generation)
        return;
    emit found(text, {}, headwordSuggestions(suggestions, *m_headwords));
}

#include "SpellingAssistant.moc"
