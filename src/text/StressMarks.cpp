#include "text/StressMarks.h"

#include <QList>
#include <QStringList>

#include <algorithm>

namespace {

constexpr QChar kPrimary(0x02C8);
constexpr QChar kSecondary(0x02CC);
constexpr QChar kSyllabic(0x0329);
constexpr QChar kTieBelow(0x035C);
constexpr QChar kTieAbove(0x0361);

enum class Kind { Vowel, Consonant, Stress, Boundary };

struct Unit
{
    Kind kind;
    QString text;
};

bool isVowelLetter(QChar c)
{
    static const QString vowels = QStringLiteral("aeiouyæɑɒɔəɛɜɪʊʌɐɚɝɘɵøœɯɤɨʉɶɞᵻ");
    return vowels.contains(c);
}

// Length marks, diacritics and modifier letters belong to the sound before them.
bool attachesToPrevious(QChar c)
{
    if (c == kPrimary || c == kSecondary)
        return false;
    return c.isMark() || c.category() == QChar::Letter_Modifier || c.category() == QChar::Symbol_Modifier;
}

QList<Unit> split(const QString &ipa)
{
    QList<Unit> units;
    for (qsizetype i = 0; i < ipa.size(); ++i) {
        const QChar c = ipa.at(i);
        if (c == kPrimary || c == kSecondary) {
            units.append({Kind::Stress, QString(c)});
        } else if (!units.isEmpty() && units.last().kind != Kind::Boundary && units.last().kind != Kind::Stress
                   && (attachesToPrevious(c) || units.last().text.endsWith(kTieAbove)
                       || units.last().text.endsWith(kTieBelow))) {
            units.last().text += c;
            if (c == kSyllabic)
                units.last().kind = Kind::Vowel;
        } else if (!c.isLetter()) {
            units.append({Kind::Boundary, QString(c)});
        } else {
            units.append({isVowelLetter(c) ? Kind::Vowel : Kind::Consonant, QString(c)});
        }
    }
    // The affricates are written as two letters but are one sound.
    for (qsizetype i = 0; i + 1 < units.size(); ++i) {
        const QString pair = units.at(i).text + units.at(i + 1).text;
        if (units.at(i).kind == Kind::Consonant && units.at(i + 1).kind == Kind::Consonant
            && (pair == QStringLiteral("tʃ") || pair == QStringLiteral("dʒ"))) {
            units[i].text = pair;
            units.removeAt(i + 1);
        }
    }
    return units;
}

// The bare consonant: no diacritics, and the r and g of other notations as the IPA letters.
QString base(const QString &sound)
{
    QString bare;
    for (const QChar c : sound) {
        if (!c.isMark() && c.category() != QChar::Letter_Modifier && c.category() != QChar::Symbol_Modifier)
            bare += c;
    }
    if (bare == QLatin1String("r"))
        return QStringLiteral("ɹ");
    if (bare == QLatin1String("g"))
        return QStringLiteral("ɡ");
    return bare;
}

// The consonant clusters an English syllable may begin with; any single consonant but /ŋ/ may too.
bool isOnset(const QStringList &consonants)
{
    static const QStringList clusters = {
        QStringLiteral("pl"),  QStringLiteral("pɹ"),  QStringLiteral("pj"),  QStringLiteral("bl"),
        QStringLiteral("bɹ"),  QStringLiteral("bj"),  QStringLiteral("tɹ"),  QStringLiteral("tw"),
        QStringLiteral("tj"),  QStringLiteral("dɹ"),  QStringLiteral("dw"),  QStringLiteral("dj"),
        QStringLiteral("kl"),  QStringLiteral("kɹ"),  QStringLiteral("kw"),  QStringLiteral("kj"),
        QStringLiteral("ɡl"),  QStringLiteral("ɡɹ"),  QStringLiteral("ɡw"),  QStringLiteral("ɡj"),
        QStringLiteral("fl"),  QStringLiteral("fɹ"),  QStringLiteral("fj"),  QStringLiteral("vɹ"),
        QStringLiteral("vj"),  QStringLiteral("θɹ"),  QStringLiteral("θw"),  QStringLiteral("θj"),
        QStringLiteral("ʃɹ"),  QStringLiteral("sp"),  QStringLiteral("st"),  QStringLiteral("sk"),
        QStringLiteral("sm"),  QStringLiteral("sn"),  QStringLiteral("sl"),  QStringLiteral("sw"),
        QStringLiteral("sf"),  QStringLiteral("sj"),  QStringLiteral("hj"),  QStringLiteral("mj"),
        QStringLiteral("nj"),  QStringLiteral("lj"),  QStringLiteral("spl"), QStringLiteral("spɹ"),
        QStringLiteral("spj"), QStringLiteral("stɹ"), QStringLiteral("stj"), QStringLiteral("skɹ"),
        QStringLiteral("skw"), QStringLiteral("skj"), QStringLiteral("skl"),
    };
    if (consonants.isEmpty())
        return true;
    if (consonants.size() == 1)
        return consonants.first() != QStringLiteral("ŋ");
    return clusters.contains(consonants.join(QString()));
}

} // namespace

QString stressAtSyllableStart(const QString &ipa)
{
    const QList<Unit> all = split(ipa);
    // The sounds without the marks, and for each mark the place among them where it stood.
    QList<Unit> sounds;
    QList<std::pair<qsizetype, Unit>> marks;
    for (const Unit &unit : all) {
        if (unit.kind == Kind::Stress)
            marks.append({sounds.size(), unit});
        else
            sounds.append(unit);
    }
    for (auto &[place, mark] : marks) {
        qsizetype vowel = place;
        while (vowel < sounds.size() && sounds.at(vowel).kind == Kind::Consonant)
            ++vowel;
        if (vowel == sounds.size() || sounds.at(vowel).kind != Kind::Vowel)
            continue;
        qsizetype first = vowel;
        while (first > 0 && sounds.at(first - 1).kind == Kind::Consonant)
            --first;
        // At the start of a word every consonant belongs to the first syllable.
        if (first == 0 || sounds.at(first - 1).kind == Kind::Boundary) {
            place = first;
            continue;
        }
        QStringList onset;
        place = vowel;
        for (qsizetype i = vowel - 1; i >= first; --i) {
            onset.prepend(base(sounds.at(i).text));
            if (!isOnset(onset))
                break;
            place = i;
        }
    }
    // A mark moves only within the consonants before its own vowel, so the marks keep their order.
    QString out;
    qsizetype next = 0;
    for (qsizetype i = 0; i <= sounds.size(); ++i) {
        for (; next < marks.size() && marks.at(next).first == i; ++next)
            out += marks.at(next).second.text;
        if (i < sounds.size())
            out += sounds.at(i).text;
    }
    return out;
}
