#include "search/FullTextQuery.h"

FullTextQuery buildFullTextQuery(QStringView text)
{
    FullTextQuery query;
    QStringList terms;
    QStringList phrase;
    bool inPhrase = false;
    int wordCount = 0;
    auto closePhrase = [&] {
        if (!phrase.isEmpty()) {
            const QString term = QLatin1Char('"') + phrase.join(QLatin1Char(' ')) + QLatin1Char('"');
            if (!terms.contains(term))
                terms.append(term);
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
            const QString term = QLatin1Char('"') + word + QLatin1Char('"');
            if (!terms.contains(term))
                terms.append(term);
        }
    }
    closePhrase();
    query.match = terms.join(QLatin1Char(' '));
    return query;
}
