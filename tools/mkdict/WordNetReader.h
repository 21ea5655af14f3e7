#pragma once

#include "dictionary/DictionaryWriter.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>

// Turns a WordNet 3.0 database folder (index.*, data.*, *.exc) into dictionary rows:
// one row per lemma (case-insensitively), senses grouped by part of speech, and rows for
// irregular forms that are not headwords already. Throws AppError naming file and line.
class WordNetReader final
{
public:
    using Progress = std::function<void(const QString &)>;

    explicit WordNetReader(QString dir, Progress progress = {});
    QList<DictionaryRow> read();

    // Lemmas and forms longer than a headword may be, left out of the rows.
    qsizetype leftOut() const { return m_leftOut; }
    qsizetype inflectedRows() const { return m_inflectedRows; }

private:
    struct Word
    {
        QByteArray text; // as in the data file, underscores kept, adjective marker removed
    };
    struct Pointer
    {
        const char *label; // how the relation is shown, see pointerLabel()
        quint32 target;
        char pos;
        quint8 source; // 1-based word numbers of a lexical pointer, 0 for a semantic one
        quint8 targetWord;
    };
    struct Synset
    {
        QList<Word> words;
        QList<Pointer> pointers;
        QByteArray gloss;
    };
    struct Lemma
    {
        QByteArray key;                      // lower case, underscores, as in the index files
        QList<QPair<char, QList<quint32>>> senses; // per part of speech, in WordNet's sense order
    };

    void readData(char pos, const QString &fileName);
    void readIndex(char pos, const QString &fileName);
    void readExceptions(char pos, const QString &fileName);
    QByteArray readFile(const QString &fileName) const;
    const Synset *synset(char pos, quint32 offset) const;
    QByteArray spellingOf(const Lemma &lemma) const;
    QString headwordOf(const Lemma &lemma) const;
    QString entryOf(const Lemma &lemma) const;

    QString m_dir;
    Progress m_progress;
    // Per part of speech (noun, verb, adjective, adverb): synsets in file order and their offsets.
    QList<Synset> m_synsets[4];
    QList<quint32> m_offsets[4];
    QList<Lemma> m_lemmas;
    QHash<QByteArray, qsizetype> m_lemmaIndex;
    // Irregular form -> lines naming its base words, in file order.
    QList<QPair<QByteArray, QStringList>> m_forms;
    QHash<QByteArray, qsizetype> m_formIndex;
    qsizetype m_leftOut = 0;
    qsizetype m_inflectedRows = 0;
};

// Reads a plain list, one "headword<TAB>entry-html" a line (empty lines skipped).
// Headwords longer than 32 characters are left out and counted in leftOut.
QList<DictionaryRow> readWordList(const QString &fileName, qsizetype *leftOut);
