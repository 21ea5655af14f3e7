#pragma once

#include "lexicon/Speller.h"
#include "lexicon/WordForms.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>

class SpellingWorker;
class WorkerThread;

// Finds, off the GUI thread, what a search text that is no headword may have meant: its base forms
// (headwords it is an inflection of) or, when it has none, headwords spelt like it. Only the answer for
// the latest text is ever reported; work for texts typed over is skipped or dropped.
class SpellingAssistant final : public QObject
{
    Q_OBJECT
public:
    using SpellerFactory = std::function<std::unique_ptr<Speller>()>;

    // headwords is used on this object's thread only and must outlive it.
    explicit SpellingAssistant(const Headwords *headwords, QObject *parent = nullptr);
    ~SpellingAssistant() override;

    // Loads the spelling dictionary on the worker thread; lookUp() may be called at once.
    void start(SpellerFactory factory);
    bool isStarted() const { return m_started; }
    bool isLoaded() const { return m_loaded; }
    // Known once loaded() has been emitted.
    bool isAvailable() const { return m_available; }
    // Why the worker gave up, once failed() has been emitted; empty until then.
    QString failure() const { return m_failure; }

    // A new search text that is no headword. spellingMiss: no headword even begins with it, so spelling
    // suggestions are wanted when it has no base form.
    void lookUp(const QString &text, bool spellingMiss);
    // The search text is a headword again: whatever is under way is of no more use.
    void clear();

signals:
    void loaded(bool available);
    // The speller failed (out of memory, a dictionary it cannot cope with): no more answers come. Said once.
    void failed(const QString &message);
    // The answer for text, the latest looked up; both lists empty means nothing to offer.
    void found(const QString &text, const QList<BaseForm> &forms, const QStringList &suggestions);

private:
    void analysed(quint64 generation, const QString &text, const QStringList &analyses);
    void suggested(quint64 generation, const QString &text, const QStringList &suggestions);

    const Headwords *m_headwords;
    std::shared_ptr<std::atomic<quint64>> m_latest;
    quint64 m_generation = 0;
    bool m_spellingMiss = false;
    bool m_started = false;
    bool m_loaded = false;
    bool m_available = false;
    QString m_failure;
    std::unique_ptr<WorkerThread> m_thread;
    SpellingWorker *m_worker = nullptr;
};
