#include "search/FullTextQuery.h"

namespace {

// "café" without its accent, as an index built from plain English text holds it.
QString withoutAccents(const QString &word)
{
    const QString decomposed = word.normalized(QString::NormalizationForm_D);
    QString plain;
    plain.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            plain.append(c);
    }
    return plain.normalized(QString::NormalizationForm_C);
}

// One word or phrase for the engine; with accents, its plain spelling too: the index keeps words as they were
// written, and most entries write "cafe".
QString term(const QString &words)
{
    const QString quoted = QLatin1Char('"') + words + QLatin1Char('"');
    const QString plain = withoutAccents(words);
    return plain == words ? quoted : QLatin1Char('"') + plain + QStringLiteral("\" OR ") + quoted;
}

} // namespace

FullTextQuery buildFullTextQuery(QStringView typed)
{
    // Compatibility forms become the letters the index holds: fullwidth "ｄｏｇ" is "dog", "ﬁ" is "fi", and an
    // accent typed as a separate mark joins its letter.
    const QString folded = typed.toString().normalized(QString::NormalizationForm_KC);
    const QStringView text(folded);
    FullTextQuery query;
    QStringList terms;
    QStringList phrase;
    bool inPhrase = false;
    int wordCount = 0;
    auto closePhrase = [&] {
        if (!phrase.isEmpty()) {
            const QString joined = term(phrase.join(QLatin1Char(' ')));
            if (!terms.contains(joined))
                terms.append(joined);
        }
        phrase.clear();
    };
    qsizetype i = 0;
    while (i < text.size() && wordCount < kMaxQueryWords) {
        const QChar c = text[i];
        if (c == QLatin1Char('"')) {
            if (inPhrase)
                closePhrase();
            inPhrase = !inPhrase;
            ++i;
            continue;
        }
        if (!c.isLetterOrNumber()) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && text[end].isLetterOrNumber())
            ++end;
        // Lower case also keeps "AND", "OR" and "NEAR" from ever acting as operators.
        const QString word = text.sliced(i, end - i).toString().toLower();
        i = end;
        ++wordCount;
        if (!query.words.contains(word))
            query.words.append(word);
        if (inPhrase) {
            phrase.append(word);
        } else {
            const QString single = term(word);
            if (!terms.contains(single))
                terms.append(single);
        }
    }
    closePhrase();
    query.match = terms.join(QLatin1Char(' '));
    return query;
}
