#include "lexicon/WordForms.h"

namespace {

// The value of one field ("st:", "fl:") of an analysis, or an empty view.
QStringView field(QStringView analysis, QLatin1StringView name)
{
    for (QStringView part : analysis.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (part.startsWith(name))
            return part.sliced(name.size());
    }
    return {};
}

bool isVowel(QChar c)
{
    return QStringView(u"aeiou").contains(c.toLower());
}

// A word of one syllable ending in one vowel and one consonant doubles it before "-ed", "-ing", "-er"
// ("hop", "hopped"). The English affix file also makes the undoubled form ("hoped"), which belongs to
// another word, so an analysis that relies on it is no base form.
bool doublesFinalConsonant(QStringView base)
{
    const qsizetype n = base.size();
    if (n < 3 || isVowel(base[n - 1]) || QStringView(u"wxy").contains(base[n - 1].toLower()) || !isVowel(base[n - 2])
        || isVowel(base[n - 3]))
        return false;
    int groups = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (isVowel(base[i]) && (i == 0 || !isVowel(base[i - 1])))
            ++groups;
    }
    return groups == 1;
}

} // namespace

QString relationText(Relation relation)
{
    switch (relation) {
    case Relation::Plural: return QStringLiteral("plural of");
    case Relation::ThirdPerson: return QStringLiteral("third person of");
    case Relation::PastTense: return QStringLiteral("past tense of");
    case Relation::PresentParticiple: return QStringLiteral("present participle of");
    case Relation::Comparative: return QStringLiteral("comparative of");
    case Relation::Superlative: return QStringLiteral("superlative of");
    }
    return {};
}

QList<BaseForm> baseForms(const QStringList &analyses, const Headwords &headwords)
{
    QList<BaseForm> forms;
    for (const QString &analysis : analyses) {
        const QStringView stem = field(analysis, QLatin1StringView("st:"));
        const QStringView flag = field(analysis, QLatin1StringView("fl:"));
        // Only the inflectional suffixes of the English affix file: derivations ("walker") and
        // words listed whole have no base to offer.
        if (stem.isEmpty() || flag.size() != 1)
            continue;
        const QString base = headwords.find(stem.toString());
        if (base.isEmpty() || (flag.front() != u'S' && doublesFinalConsonant(base)))
            continue;
        const auto adjective = [&] {
            return headwords.hasSenses(base, QLatin1StringView("adjective"))
                || headwords.hasSenses(base, QLatin1StringView("adverb"));
        };
        Relation relation;
        switch (flag.front().unicode()) {
        case 'S':
            // "-s" is a plural or a verb's third person; a word that is a noun at all reads as a plural.
            relation = !headwords.hasSenses(base, QLatin1StringView("noun")) && headwords.hasSenses(base, QLatin1StringView("verb"))
                ? Relation::ThirdPerson
                : Relation::Plural;
            break;
        case 'D': relation = Relation::PastTense; break;
        case 'G': relation = Relation::PresentParticiple; break;
        case 'R':
            if (!adjective())
                continue;
            relation = Relation::Comparative;
            break;
        case 'T':
            if (!adjective())
                continue;
            relation = Relation::Superlative;
            break;
        default:
            continue;
        }
        const BaseForm form{base, relation};
        if (!forms.contains(form))
            forms.append(form);
    }
    return forms;
}

QStringList headwordSuggestions(const QStringList &suggestions, const Headwords &headwords, qsizetype limit)
{
    QStringList kept;
    for (const QString &suggestion : suggestions) {
        if (kept.size() >= limit)
            break;
        const QString headword = headwords.find(suggestion);
        if (!headword.isEmpty() && !kept.contains(headword))
            kept.append(headword);
    }
    return kept;
}

bool worthAnalysing(const QString &text)
{
    if (text.size() > 32 || text.count(QLatin1Char(' ')) > 3)
        return false;
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLetter(); });
}
