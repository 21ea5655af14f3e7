#include "shelf/DictdText.h"

#include "shelf/SafeMarkup.h"

#include <QHash>
#include <QRegularExpression>

namespace {

const QHash<QString, QString> &gcideCodes()
{
    // The codes GCIDE uses, with the letters they stand for (accented vowels, ligatures, Greek, signs).
    static const QHash<QString, QString> codes = [] {
        QHash<QString, QString> c;
        const auto add = [&c](const char16_t *code, const char16_t *letters) {
            c.insert(QString::fromUtf16(code), QString::fromUtf16(letters));
        };
        const struct { char16_t base; const char16_t *macron, *breve, *acute, *grave, *circ, *uml, *tilde, *dot; } vowels[] = {
            {u'a', u"ā", u"ă", u"á", u"à", u"â", u"ä", u"ã", u"ȧ"},
            {u'e', u"ē", u"ĕ", u"é", u"è", u"ê", u"ë", u"ẽ", u"ė"},
            {u'i', u"ī", u"ĭ", u"í", u"ì", u"î", u"ï", u"ĩ", u"i"},
            {u'o', u"ō", u"ŏ", u"ó", u"ò", u"ô", u"ö", u"õ", u"ȯ"},
            {u'u', u"ū", u"ŭ", u"ú", u"ù", u"û", u"ü", u"ũ", u"u̇"},
            {u'y', u"ȳ", u"y̆", u"ý", u"ỳ", u"ŷ", u"ÿ", u"ỹ", u"ẏ"},
        };
        for (const auto &v : vowels) {
            const QString b(QChar(v.base));
            c.insert(u'=' + b, QString::fromUtf16(v.macron));
            c.insert(b + u'^', QString::fromUtf16(v.breve));
            c.insert(u'\'' + b, QString::fromUtf16(v.acute));
            c.insert(u'`' + b, QString::fromUtf16(v.grave));
            c.insert(u'^' + b, QString::fromUtf16(v.circ));
            c.insert(u'"' + b, QString::fromUtf16(v.uml));
            c.insert(u'~' + b, QString::fromUtf16(v.tilde));
            c.insert(u'.' + b, QString::fromUtf16(v.dot));
            // "[-e]": the obscure (schwa-like) vowel, printed as the letter with a dot below in the source.
            c.insert(u'-' + b, b + QString::fromUtf16(u"\u0323"));
            // "[*a]": a light or half-long vowel.
            c.insert(u'*' + b, b + QString::fromUtf16(u"\u0307"));
        }
        add(u"imac", u"ī"); add(u"aum", u"ä"); add(u"ae", u"æ"); add(u"AE", u"Æ"); add(u"oe", u"œ");
        add(u"OE", u"Œ"); add(u"=ae", u"ǣ"); add(u"=oo", u"o͞o"); add(u"oo^", u"o͝o"); add(u"udd", u"ụ");
        add(u"th", u"th"); add(u"eth", u"ð"); add(u"thorn", u"þ"); add(u"ng", u"ṉ"); add(u"yogh", u"ȝ");
        add(u"asl", u"ʿ"); add(u"asper", u"ʽ"); add(u"root", u"√"); add(u"cuberoot", u"∛"); add(u"deg", u"°");
        add(u"min", u"′"); add(u"sec", u"″"); add(u"bprime", u"″"); add(u"sect", u"§"); add(u"para", u"¶");
        add(u"dag", u"†"); add(u"dagger", u"†"); add(u"ddag", u"‡"); add(u"hand", u"☞"); add(u"pounds", u"£");
        add(u"times", u"×"); add(u"divby", u"÷"); add(u"div", u"÷"); add(u"middot", u"·"); add(u"nbsp", u" ");
        add(u"rarr", u"→"); add(u"ldqo", u"“"); add(u"rdqo", u"”"); add(u"flat", u"♭"); add(u"sharp", u"♯");
        add(u"natural", u"♮"); add(u"crescent", u"☽"); add(u"add", u"+"); add(u"sb", u"ſ"); add(u"bar", u"|");
        add(u",c", u"ç"); add(u",C", u"Ç"); add(u"~n", u"ñ"); add(u"~N", u"Ñ"); add(u"'E", u"É");
        add(u"\"A", u"Ä"); add(u"\"O", u"Ö"); add(u"\"U", u"Ü"); add(u"=A", u"Ā"); add(u"=E", u"Ē");
        add(u".r", u"ṛ"); add(u".t", u"ṭ"); add(u".n", u"ṇ"); add(u".h", u"ḥ"); add(u".m", u"ṃ");
        add(u"zdot", u"ż"); add(u"dsdot", u"ḍ"); add(u"tsdot", u"ṭ"); add(u"lsdot", u"ḷ"); add(u"mdot", u"ṁ");
        add(u"filig", u"ﬁ"); add(u"ffllig", u"ﬄ"); add(u"ounceap", u"℥");
        const struct { const char16_t *name, *lower, *upper; } greek[] = {
            {u"alpha", u"α", u"Α"}, {u"beta", u"β", u"Β"}, {u"gamma", u"γ", u"Γ"}, {u"delta", u"δ", u"Δ"},
            {u"epsilon", u"ε", u"Ε"}, {u"zeta", u"ζ", u"Ζ"}, {u"eta", u"η", u"Η"}, {u"theta", u"θ", u"Θ"},
            {u"iota", u"ι", u"Ι"}, {u"kappa", u"κ", u"Κ"}, {u"lambda", u"λ", u"Λ"}, {u"mu", u"μ", u"Μ"},
            {u"nu", u"ν", u"Ν"}, {u"xi", u"ξ", u"Ξ"}, {u"omicron", u"ο", u"Ο"}, {u"pi", u"π", u"Π"},
            {u"rho", u"ρ", u"Ρ"}, {u"sigma", u"σ", u"Σ"}, {u"sigmat", u"ς", u"Σ"}, {u"tau", u"τ", u"Τ"},
            {u"upsilon", u"υ", u"Υ"}, {u"phi", u"φ", u"Φ"}, {u"chi", u"χ", u"Χ"}, {u"psi", u"ψ", u"Ψ"},
            {u"omega", u"ω", u"Ω"}, {u"digamma", u"ϝ", u"Ϝ"},
        };
        for (const auto &g : greek) {
            const QString name = QString::fromUtf16(g.name);
            c.insert(name, QString::fromUtf16(g.lower));
            c.insert(name.at(0).toUpper() + name.sliced(1), QString::fromUtf16(g.upper));
        }
        return c;
    }();
    return codes;
}

} // namespace

QString replaceGcideCodes(const QString &text)
{
    const auto &codes = gcideCodes();
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == u'[') {
            const qsizetype close = text.indexOf(u']', i + 1);
            if (close > i + 1 && close - i <= 10) {
                const auto it = codes.constFind(text.sliced(i + 1, close - i - 1));
                if (it != codes.cend()) {
                    out += *it;
                    i = close + 1;
                    continue;
                }
            }
        }
        out += c;
        ++i;
    }
    return out;
}

namespace {

// GCIDE's lines are wrapped for an 80-column terminal: join them into paragraphs so the entry view can wrap
// them to its width. A blank line, a note, a synonym list, a quotation's source and a numbered sense begin anew.
QString reflowGcide(const QString &text)
{
    static const QRegularExpression newParagraph(QStringLiteral(R"(^(Note:|Syn\.|--|\d+\.|\([a-z]\)|\[))"));
    const QStringList lines = text.split(u'\n');
    QString out;
    bool open = false;
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty()) {
            if (open)
                out += QStringLiteral("\n\n");
            open = false;
            continue;
        }
        if (open && !newParagraph.match(trimmed).hasMatch())
            out += u' ';
        else if (open)
            out += u'\n';
        out += trimmed;
        open = true;
    }
    return out;
}

} // namespace

RenderedEntry renderDictdEntry(const QString &source, bool gcide)
{
    const QString text = gcide ? reflowGcide(replaceGcideCodes(source)) : source;
    RenderedEntry out;
    out.plainText.reserve(text.size());
    QString plainRun;
    const auto flush = [&](const QString &open, const QString &close) {
        if (!plainRun.isEmpty())
            out.html += open + plainToHtml(plainRun) + close;
        plainRun.clear();
    };
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        // "{word}": a reference to another entry; "\word\": the headword as spelt with its stress marks.
        const char16_t closer = c == u'{' ? u'}' : (gcide && c == u'\\' ? u'\\' : 0);
        if (closer) {
            const qsizetype end = text.indexOf(QChar(closer), i + 1);
            if (end > i + 1 && end - i < 200 && !text.sliced(i + 1, end - i - 1).contains(u'\n')) {
                flush({}, {});
                plainRun = text.sliced(i + 1, end - i - 1);
                out.plainText += plainRun;
                if (closer == u'}')
                    flush(u"<span style=\"color:#1a4d8f\">"_qs, u"</span>"_qs);
                else
                    flush(u"<b>"_qs, u"</b>"_qs);
                i = end + 1;
                continue;
            }
        }
        plainRun += c;
        out.plainText += c;
        ++i;
    }
    flush({}, {});
    out.plainText = out.plainText.trimmed();
    return out;
}

QString dictdPronunciation(const QString &text)
{
    const QString firstLine = text.section(u'\n', 0, 0);
    const qsizetype open = firstLine.indexOf(u'/');
    if (open < 0)
        return {};
    const qsizetype close = firstLine.indexOf(u'/', open + 1);
    if (close <= open + 1)
        return {};
    return firstLine.sliced(open + 1, close - open - 1).trimmed();
}
