#include "WordNetReader.h"

#include "dictionary/HeadwordOrder.h"
#include "platform/AppError.h"

#include <QDir>
#include <QFile>
#include <QVarLengthArray>

#include <thread>

namespace {

// A WordNet data line holds space-separated fields, then "|" and the gloss.
class Fields final
{
public:
    explicit Fields(QByteArrayView line) : m_line(line) {}

    QByteArrayView next()
    {
        while (m_pos < m_line.size() && m_line[m_pos] == ' ')
            ++m_pos;
        const qsizetype begin = m_pos;
        while (m_pos < m_line.size() && m_line[m_pos] != ' ')
            ++m_pos;
        return m_line.sliced(begin, m_pos - begin);
    }

    QByteArrayView rest()
    {
        QByteArrayView tail = m_line.sliced(m_pos);
        return tail.trimmed();
    }

private:
    QByteArrayView m_line;
    qsizetype m_pos = 0;
};

// Calls visit(line, lineNumber, byteOffset) for every line of content, without its newline.
template<typename Visit>
void forEachLine(const QByteArray &content, Visit visit)
{
    qsizetype lineStart = 0;
    int lineNumber = 0;
    while (lineStart < content.size()) {
        qsizetype lineEnd = content.indexOf('\n', lineStart);
        if (lineEnd < 0)
            lineEnd = content.size();
        QByteArrayView line = QByteArrayView(content).sliced(lineStart, lineEnd - lineStart);
        if (line.endsWith('\r'))
            line.chop(1);
        visit(line, ++lineNumber, lineStart);
        lineStart = lineEnd + 1;
    }
}

bool parseNumber(QByteArrayView text, int base, quint32 &value)
{
    if (text.isEmpty() || text.size() > 10)
        return false;
    quint64 result = 0;
    for (const char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        result = result * base + quint64(digit);
    }
    if (result > 0xffffffffu)
        return false;
    value = quint32(result);
    return true;
}

int posSlot(char pos)
{
    switch (pos) {
    case 'n': return 0;
    case 'v': return 1;
    case 'a':
    case 's': return 2;
    case 'r': return 3;
    default: return -1;
    }
}

const char *posName(char pos)
{
    switch (pos) {
    case 'n': return "noun";
    case 'v': return "verb";
    case 'a': return "adjective";
    default: return "adverb";
    }
}

QString displayWord(QByteArrayView text)
{
    QString word = QString::fromUtf8(text);
    word.replace(QLatin1Char('_'), QLatin1Char(' '));
    return word;
}

bool sameWord(QByteArrayView word, QByteArrayView key)
{
    return word.size() == key.size() && qstrnicmp(word.data(), word.size(), key.data(), key.size()) == 0;
}

void appendEscaped(QByteArray &html, QByteArrayView text)
{
    for (const char c : text) {
        switch (c) {
        case '<': html += "&lt;"; break;
        case '>': html += "&gt;"; break;
        case '&': html += "&amp;"; break;
        case '"': html += "&quot;"; break;
        default: html += c; break;
        }
    }
}

// A word of a synset as the reader sees it: underscores become blanks.
void appendWord(QByteArray &html, QByteArrayView word)
{
    const qsizetype start = html.size();
    appendEscaped(html, word);
    std::replace(html.begin() + start, html.end(), '_', ' ');
}

// How a pointer is shown in an entry; null for those left out (domains, verb groups).
const char *pointerLabel(QByteArrayView symbol, char pos)
{
    static const QHash<QByteArray, const char *> labels = {
        {"!", "opposite"},        {"@", "type of"},        {"@i", "instance of"}, {"~", "kinds"},
        {"~i", "instances"},      {"#m", "member of"},     {"#s", "substance of"}, {"#p", "part of"},
        {"%m", "members"},        {"%s", "substances"},    {"%p", "parts"},       {"&", "similar to"},
        {"^", "see also"},        {"=", "attribute"},      {"*", "entails"},      {">", "causes"},
        {"+", "related"},         {"<", "participle of"},
    };
    if (symbol == "\\")
        return pos == 'r' ? "derived from" : "pertains to";
    const auto it = labels.constFind(QByteArray::fromRawData(symbol.data(), symbol.size()));
    return it == labels.cend() ? nullptr : *it;
}

// Long lists (the kinds of "person") are cut to keep entries readable.
constexpr qsizetype kMaxRelatedWords = 15;

QString formDescription(char pos, QByteArrayView form, const QString &base)
{
    const auto endsWith = [form](const char *suffix) { return form.endsWith(suffix); };
    const char *what;
    switch (pos) {
    case 'n':
        what = "plural of";
        break;
    case 'v':
        if (endsWith("ing"))
            what = "present participle of";
        else if (endsWith("en") || endsWith("wn") || endsWith("ne") || endsWith("ain"))
            what = "past participle of";
        else if (endsWith("ed"))
            what = "past tense and past participle of";
        else if (endsWith("s"))
            what = "third person singular of";
        else
            what = "past tense of";
        break;
    default:
        if (endsWith("st"))
            what = "superlative of";
        else if (endsWith("er"))
            what = "comparative of";
        else
            what = "a form of";
        break;
    }
    return QLatin1String(what) + QLatin1Char(' ') + base;
}

} // namespace

WordNetReader::WordNetReader(QString dir, Progress progress) : m_dir(std::move(dir)), m_progress(std::move(progress))
{
}

QByteArray WordNetReader::readFile(const QString &fileName) const
{
    const QString path = QDir(m_dir).filePath(fileName);
    if (m_progress)
        m_progress(QStringLiteral("reading %1").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    return file.readAll();
}

void WordNetReader::readData(char pos, const QString &fileName)
{
    const QByteArray content = readFile(fileName);
    const QString path = QDir(m_dir).filePath(fileName);
    QList<Synset> &synsets = m_synsets[posSlot(pos)];
    QList<quint32> &offsets = m_offsets[posSlot(pos)];
    synsets.reserve(content.size() / 120);
    offsets.reserve(content.size() / 120);

    forEachLine(content, [&](QByteArrayView line, int lineNumber, qsizetype lineStart) {
        // The licence header lines start with blanks.
        if (line.isEmpty() || line.startsWith(' '))
            return;
        const quint32 position = quint32(lineStart);

        const auto fail = [&](const QString &what) {
            throw AppError(QStringLiteral("%1:%2: %3").arg(path).arg(lineNumber).arg(what));
        };
        Fields fields(line);
        quint32 offset, wordCount, pointerCount;
        if (!parseNumber(fields.next(), 10, offset))
            fail(QStringLiteral("malformed synset offset"));
        // Offsets are byte positions: anything else means a damaged or mixed-up file.
        if (offset != position)
            fail(QStringLiteral("synset offset %1 does not match its position %2").arg(offset).arg(position));
        fields.next(); // lexicographer file number
        const QByteArrayView type = fields.next();
        if (type.size() != 1 || posSlot(type[0]) != posSlot(pos))
            fail(QStringLiteral("unexpected synset type \"%1\"").arg(QString::fromUtf8(type)));
        if (!parseNumber(fields.next(), 16, wordCount) || wordCount == 0)
            fail(QStringLiteral("malformed word count"));

        Synset synset;
        synset.words.reserve(wordCount);
        for (quint32 i = 0; i < wordCount; ++i) {
            QByteArrayView word = fields.next();
            quint32 lexId;
            if (word.isEmpty() || !parseNumber(fields.next(), 16, lexId))
                fail(QStringLiteral("malformed word %1").arg(i + 1));
            // Adjectives may carry a syntactic marker: "(a)", "(p)", "(ip)".
            if (word.endsWith(')')) {
                const qsizetype open = word.lastIndexOf('(');
                if (open > 0)
                    word = word.first(open);
            }
            synset.words.append(Word{word.toByteArray()});
        }
        if (!parseNumber(fields.next(), 10, pointerCount))
            fail(QStringLiteral("malformed pointer count"));
        synset.pointers.reserve(pointerCount);
        for (quint32 i = 0; i < pointerCount; ++i) {
            const QByteArrayView symbol = fields.next();
            quint32 target, sourceTarget;
            const bool targetOk = parseNumber(fields.next(), 10, target);
            const QByteArrayView targetPos = fields.next();
            const QByteArrayView sourceTargetText = fields.next();
            if (symbol.isEmpty() || !targetOk || targetPos.size() != 1 || posSlot(targetPos[0]) < 0
                || sourceTargetText.size() != 4 || !parseNumber(sourceTargetText, 16, sourceTarget))
                fail(QStringLiteral("malformed pointer %1").arg(i + 1));
            // Relations not shown (domains, verb groups) are not kept.
            if (const char *label = pointerLabel(symbol, pos)) {
                synset.pointers.append(Pointer{label, target, targetPos[0], quint8(sourceTarget >> 8),
                                               quint8(sourceTarget & 0xff)});
            }
        }
        QByteArrayView token = fields.next();
        if (pos == 'v') {
            // Verb frames: a count, then "+ frame word" for each.
            quint32 frameCount;
            if (!parseNumber(token, 10, frameCount))
                fail(QStringLiteral("malformed frame count"));
            for (quint32 i = 0; i < frameCount; ++i) {
                if (fields.next() != "+")
                    fail(QStringLiteral("malformed frame %1").arg(i + 1));
                fields.next();
                fields.next();
            }
            token = fields.next();
        }
        if (token != "|")
            fail(QStringLiteral("expected \"|\" before the gloss"));
        synset.gloss = fields.rest().toByteArray();
        // Offsets are byte positions, so file order is ascending order.
        synsets.append(std::move(synset));
        offsets.append(offset);
    });
}

const WordNetReader::Synset *WordNetReader::synset(char pos, quint32 offset) const
{
    const int slot = posSlot(pos);
    if (slot < 0)
        return nullptr;
    const QList<quint32> &offsets = m_offsets[slot];
    const auto it = std::lower_bound(offsets.cbegin(), offsets.cend(), offset);
    if (it == offsets.cend() || *it != offset)
        return nullptr;
    return &m_synsets[slot][it - offsets.cbegin()];
}

void WordNetReader::readIndex(char pos, const QString &fileName)
{
    const QByteArray content = readFile(fileName);
    const QString path = QDir(m_dir).filePath(fileName);
    forEachLine(content, [&](QByteArrayView line, int lineNumber, qsizetype) {
        if (line.isEmpty() || line.startsWith(' '))
            return;

        const auto fail = [&](const QString &what) {
            throw AppError(QStringLiteral("%1:%2: %3").arg(path).arg(lineNumber).arg(what));
        };
        Fields fields(line);
        const QByteArrayView lemma = fields.next();
        const QByteArrayView linePos = fields.next();
        quint32 synsetCount, pointerCount, senseCount, tagged;
        if (lemma.isEmpty() || linePos.size() != 1 || linePos[0] != pos)
            fail(QStringLiteral("malformed lemma or part of speech"));
        if (!parseNumber(fields.next(), 10, synsetCount) || synsetCount == 0
            || !parseNumber(fields.next(), 10, pointerCount))
            fail(QStringLiteral("malformed counts"));
        for (quint32 i = 0; i < pointerCount; ++i)
            fields.next();
        if (!parseNumber(fields.next(), 10, senseCount) || senseCount != synsetCount
            || !parseNumber(fields.next(), 10, tagged))
            fail(QStringLiteral("malformed sense counts"));
        QList<quint32> offsets;
        offsets.reserve(synsetCount);
        for (quint32 i = 0; i < synsetCount; ++i) {
            const QByteArrayView text = fields.next();
            quint32 offset;
            if (!parseNumber(text, 10, offset))
                fail(QStringLiteral("malformed synset offset %1").arg(i + 1));
            if (!synset(pos, offset))
                fail(QStringLiteral("synset %1 is not in the data file").arg(QString::fromUtf8(text)));
            offsets.append(offset);
        }
        if (!fields.next().isEmpty())
            fail(QStringLiteral("more synsets than counted"));

        const QByteArray key = lemma.toByteArray().toLower();
        auto it = m_lemmaIndex.constFind(key);
        qsizetype index;
        if (it == m_lemmaIndex.cend()) {
            index = m_lemmas.size();
            m_lemmaIndex.insert(key, index);
            m_lemmas.append(Lemma{key, {}});
        } else {
            index = *it;
        }
        m_lemmas[index].senses.append({pos, offsets});
    });
}

void WordNetReader::readExceptions(char pos, const QString &fileName)
{
    const QByteArray content = readFile(fileName);
    const QString path = QDir(m_dir).filePath(fileName);
    forEachLine(content, [&](QByteArrayView line, int lineNumber, qsizetype) {
        if (line.trimmed().isEmpty())
            return;
        Fields fields(line);
        const QByteArray form = fields.next().toByteArray().toLower();
        QByteArrayView base = fields.next();
        if (base.isEmpty())
            throw AppError(QStringLiteral("%1:%2: expected an inflected form and its base form").arg(path).arg(lineNumber));
        // A form that is a headword already keeps its own entry.
        if (m_lemmaIndex.contains(form))
            return;
        qsizetype index;
        const auto it = m_formIndex.constFind(form);
        if (it == m_formIndex.cend()) {
            index = m_forms.size();
            m_formIndex.insert(form, index);
            m_forms.append({form, {}});
        } else {
            index = *it;
        }
        for (; !base.isEmpty(); base = fields.next()) {
            const auto lemma = m_lemmaIndex.constFind(base.toByteArray().toLower());
            const QString baseWord = lemma == m_lemmaIndex.cend() ? displayWord(base) : headwordOf(m_lemmas[*lemma]);
            const QString description = formDescription(pos, form, baseWord);
            if (!m_forms[index].second.contains(description))
                m_forms[index].second.append(description);
        }
    });
}

QByteArray WordNetReader::spellingOf(const Lemma &lemma) const
{
    // The most common spelling among the lemma's synsets; the earliest sense decides ties.
    QVarLengthArray<QPair<QByteArrayView, int>, 8> counts;
    for (const auto &group : lemma.senses) {
        for (const quint32 offset : group.second) {
            for (const Word &word : synset(group.first, offset)->words) {
                if (!sameWord(word.text, lemma.key))
                    continue;
                auto it = std::find_if(counts.begin(), counts.end(), [&word](const auto &c) { return c.first == word.text; });
                if (it == counts.end())
                    counts.append({word.text, 1});
                else
                    ++it->second;
                break;
            }
        }
    }
    if (counts.isEmpty())
        return lemma.key;
    const auto best = std::max_element(counts.cbegin(), counts.cend(),
                                       [](const auto &a, const auto &b) { return a.second < b.second; });
    return best->first.toByteArray();
}

QString WordNetReader::headwordOf(const Lemma &lemma) const
{
    return displayWord(spellingOf(lemma));
}

QString WordNetReader::entryOf(const Lemma &lemma) const
{
    // Built as UTF-8 bytes: a QString per word made formatting the slowest step of the build.
    QByteArray html;
    html.reserve(2048);
    QVarLengthArray<QPair<const char *, QVarLengthArray<QByteArrayView, 16>>, 8> related;
    // Parts of speech in a fixed order, whatever order the index files gave them.
    for (const char pos : {'n', 'v', 'a', 'r'}) {
        for (const auto &group : lemma.senses) {
            if (group.first != pos)
                continue;
            html += "<p><b>";
            html += posName(pos);
            html += "</b></p><ol>";
            for (const quint32 offset : group.second) {
                const Synset *sense = synset(pos, offset);
                qsizetype self = -1;
                for (qsizetype i = 0; i < sense->words.size(); ++i) {
                    if (self < 0 && sameWord(sense->words[i].text, lemma.key))
                        self = i;
                }

                // The gloss: a definition, then quoted examples after "; ".
                const QByteArrayView gloss(sense->gloss);
                const qsizetype examplesAt = gloss.indexOf("; \"");
                html += "<li>";
                appendEscaped(html, examplesAt < 0 ? gloss : gloss.first(examplesAt));
                if (examplesAt >= 0) {
                    QByteArrayView examples = gloss.sliced(examplesAt + 2);
                    while (!examples.isEmpty()) {
                        qsizetype end = examples.indexOf("; ");
                        if (end < 0)
                            end = examples.size();
                        const QByteArrayView example = examples.first(end).trimmed();
                        if (!example.isEmpty()) {
                            html += "<br><i>";
                            appendEscaped(html, example);
                            html += "</i>";
                        }
                        examples = examples.sliced(std::min(end + 2, examples.size()));
                    }
                }
                if (sense->words.size() > 1) {
                    html += "<br>synonyms: ";
                    bool first = true;
                    for (qsizetype i = 0; i < sense->words.size(); ++i) {
                        if (i == self)
                            continue;
                        if (!first)
                            html += ", ";
                        first = false;
                        appendWord(html, sense->words[i].text);
                    }
                }

                related.clear();
                for (const Pointer &pointer : sense->pointers) {
                    // A lexical pointer belongs to one word of the synset: keep those of this lemma.
                    if (pointer.source != 0 && pointer.source != self + 1)
                        continue;
                    const Synset *target = synset(pointer.pos, pointer.target);
                    if (!target)
                        continue;
                    auto it = std::find_if(related.begin(), related.end(), [&pointer](const auto &r) { return r.first == pointer.label; });
                    if (it == related.end()) {
                        related.append({pointer.label, {}});
                        it = related.end() - 1;
                    }
                    const auto add = [&words = it->second, &lemma](QByteArrayView word) {
                        // A related synset may hold the headword itself ("hot dog" is part of "hot dog").
                        if (!sameWord(word, lemma.key) && !words.contains(word))
                            words.append(word);
                    };
                    if (pointer.source != 0) {
                        if (pointer.targetWord >= 1 && pointer.targetWord <= target->words.size())
                            add(target->words[pointer.targetWord - 1].text);
                    } else {
                        for (const Word &word : target->words)
                            add(word.text);
                    }
                }
                for (const auto &[label, words] : related) {
                    html += "<br>";
                    html += label;
                    html += ": ";
                    const qsizetype shown = std::min(words.size(), kMaxRelatedWords);
                    for (qsizetype i = 0; i < shown; ++i) {
                        if (i > 0)
                            html += ", ";
                        appendWord(html, words[i]);
                    }
                    if (words.size() > shown)
                        html += " and " + QByteArray::number(words.size() - shown) + " more";
                }
                html += "</li>";
            }
            html += "</ol>";
        }
    }
    return QString::fromUtf8(html);
}

QList<DictionaryRow> WordNetReader::read()
{
    static const struct
    {
        char pos;
        const char *name;
    } parts[] = {{'n', "noun"}, {'v', "verb"}, {'a', "adj"}, {'r', "adv"}};

    for (const auto &part : parts)
        readData(part.pos, QStringLiteral("data.") + QLatin1String(part.name));
    for (const auto &part : parts)
        readIndex(part.pos, QStringLiteral("index.") + QLatin1String(part.name));
    for (const auto &part : parts)
        readExceptions(part.pos, QLatin1String(part.name) + QStringLiteral(".exc"));

    if (m_progress)
        m_progress(QStringLiteral("formatting %1 entries").arg(m_lemmas.size()));
    // Formatting is the largest step; the synsets are read-only now, so two threads share it.
    QList<DictionaryRow> formatted(m_lemmas.size());
    DictionaryRow *out = formatted.data();
    const auto format = [this, out](qsizetype begin, qsizetype end) {
        for (qsizetype i = begin; i < end; ++i) {
            out[i].word = headwordOf(m_lemmas[i]);
            if (out[i].word.size() <= kMaxHeadwordLength)
                out[i].definition = entryOf(m_lemmas[i]);
        }
    };
    const qsizetype half = m_lemmas.size() / 2;
    std::thread helper(format, half, m_lemmas.size());
    format(0, half);
    helper.join();

    QList<DictionaryRow> rows;
    rows.reserve(m_lemmas.size() + m_forms.size());
    for (DictionaryRow &row : formatted) {
        if (row.word.size() > kMaxHeadwordLength)
            ++m_leftOut;
        else
            rows.append(std::move(row));
    }
    formatted.clear();
    for (const auto &[form, lines] : std::as_const(m_forms)) {
        QString word = displayWord(form);
        if (word.size() > kMaxHeadwordLength) {
            ++m_leftOut;
            continue;
        }
        QString html;
        for (const QString &line : lines)
            html += QStringLiteral("<p>") + line.toHtmlEscaped() + QStringLiteral("</p>");
        rows.append(DictionaryRow{std::move(word), html});
        ++m_inflectedRows;
    }
    return rows;
}

QList<DictionaryRow> readWordList(const QString &fileName, qsizetype *leftOut)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Cannot read %1: %2").arg(fileName, file.errorString()));
    const QByteArray content = file.readAll();

    QList<DictionaryRow> rows;
    QHash<QString, int> seen;
    forEachLine(content, [&](QByteArrayView line, int lineNumber, qsizetype) {
        if (line.isEmpty())
            return;
        const auto fail = [&](const QString &what) {
            throw AppError(QStringLiteral("%1:%2: %3").arg(fileName).arg(lineNumber).arg(what));
        };
        const qsizetype tab = line.indexOf('\t');
        if (tab < 0)
            fail(QStringLiteral("expected a headword, a tab and the entry"));
        const QString word = QString::fromUtf8(line.first(tab));
        if (word.trimmed().isEmpty())
            fail(QStringLiteral("empty headword"));
        if (word.size() > kMaxHeadwordLength) {
            ++*leftOut;
            return;
        }
        if (const int first = seen.value(word); first > 0)
            fail(QStringLiteral("\"%1\" is already on line %2").arg(word).arg(first));
        seen.insert(word, lineNumber);
        rows.append(DictionaryRow{word, QString::fromUtf8(line.sliced(tab + 1))});
    });
    return rows;
}
