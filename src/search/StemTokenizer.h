#pragma once

#include "dictionary/SqlCipher.h"

#include <QList>
#include <QString>
#include <QStringList>

// Splits text into words and their stems exactly as the text index does (the engine's own porter
// tokenizer), so excerpts and highlights mark the words the index matched.
class StemTokenizer final
{
public:
    struct Token
    {
        QString stem;
        qsizetype start; // UTF-16 positions in the text
        qsizetype end;
    };

    // Uses db (which must outlive it) or, without one, an in-memory database of its own.
    explicit StemTokenizer(sqlite3 *db = nullptr);
    bool isValid() const { return bool(m_tokens); }

    // At most limit tokens from the start of text.
    QList<Token> tokens(QStringView text, qsizetype limit = -1) const;
    QStringList stems(const QStringList &words) const;

private:
    sqlcipher::Database m_own;
    sqlcipher::Statement m_tokens;
};
