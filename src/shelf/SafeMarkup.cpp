#include "shelf/SafeMarkup.h"

#include <QHash>
#include <QRegularExpression>

QString plainToHtml(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    bool lineStart = true;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&': out += u"&amp;"; break;
        case u'<': out += u"&lt;"; break;
        case u'>': out += u"&gt;"; break;
        case u'"': out += u"&quot;"; break;
        case u'\n': out += u"<br>"; lineStart = true; continue;
        case u'\r': continue;
        case u' ': out += lineStart ? u"&nbsp;" : u" "; continue;
        default: out += c;
        }
        lineStart = false;
    }
    return out;
}

namespace {

// Tags kept, by the name they are written as; XDXF and Pango names map onto HTML ones.
const QHash<QString, QString> &keptTags()
{
    static const QHash<QString, QString> tags = {
        {u"b"_qs, u"b"_qs}, {u"strong"_qs, u"b"_qs}, {u"i"_qs, u"i"_qs}, {u"em"_qs, u"i"_qs}, {u"u"_qs, u"u"_qs},
        {u"sup"_qs, u"sup"_qs}, {u"sub"_qs, u"sub"_qs}, {u"small"_qs, u"small"_qs}, {u"big"_qs, u"big"_qs},
        {u"tt"_qs, u"tt"_qs}, {u"code"_qs, u"tt"_qs}, {u"p"_qs, u"p"_qs}, {u"div"_qs, u"div"_qs},
        {u"br"_qs, u"br"_qs}, {u"ul"_qs, u"ul"_qs}, {u"ol"_qs, u"ol"_qs}, {u"li"_qs, u"li"_qs},
        {u"blockquote"_qs, u"blockquote"_qs}, {u"table"_qs, u"table"_qs}, {u"tr"_qs, u"tr"_qs},
        {u"td"_qs, u"td"_qs}, {u"th"_qs, u"th"_qs}, {u"h1"_qs, u"b"_qs}, {u"h2"_qs, u"b"_qs}, {u"h3"_qs, u"b"_qs},
        {u"h4"_qs, u"b"_qs}, {u"span"_qs, u"span"_qs}, {u"font"_qs, u"span"_qs}, {u"c"_qs, u"span"_qs},
        // XDXF: key, example, comment, abbreviation, translation, reference.
        {u"k"_qs, u"b"_qs}, {u"ex"_qs, u"i"_qs}, {u"co"_qs, u"i"_qs}, {u"abr"_qs, u"i"_qs},
        {u"dtrn"_qs, u"span"_qs}, {u"kref"_qs, u"span"_qs}, {u"a"_qs, u"span"_qs}, {u"def"_qs, u"div"_qs},
    };
    return tags;
}

bool isDropped(const QString &name)
{
    return name == u"script" || name == u"style" || name == u"head" || name == u"title" || name == u"object"
        || name == u"iframe" || name == u"noscript" || name == u"svg" || name == u"math" || name == u"template";
}

bool isBreak(const QString &name)
{
    return name == u"br" || name == u"p" || name == u"div" || name == u"li" || name == u"tr" || name == u"def";
}

QString safeColour(const QString &attributes)
{
    static const QRegularExpression colour(
        QStringLiteral(R"((?:color|foreground|c)\s*=\s*["']?(#[0-9a-fA-F]{3,8}|[a-zA-Z]{1,20})["']?)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = colour.match(attributes);
    return match.hasMatch() ? match.captured(1) : QString();
}

void appendText(SafeMarkup *out, QStringView text)
{
    // Entities pass when well formed; a bare '&' and '>' are escaped.
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == u'&') {
            qsizetype end = i + 1;
            while (end < text.size() && end - i < 12 && (text[end].isLetterOrNumber() || text[end] == u'#'))
                ++end;
            if (end < text.size() && text[end] == u';' && end > i + 1) {
                out->html += text.sliced(i, end - i + 1);
                const QStringView name = text.sliced(i + 1, end - i - 1);
                if (name == u"amp") out->plainText += u'&';
                else if (name == u"lt") out->plainText += u'<';
                else if (name == u"gt") out->plainText += u'>';
                else if (name == u"quot") out->plainText += u'"';
                else if (name == u"nbsp") out->plainText += u' ';
                else if (name.startsWith(u'#')) {
                    bool ok = false;
                    const uint code = name.size() > 1 && (name[1] == u'x' || name[1] == u'X')
                                          ? name.sliced(2).toUInt(&ok, 16) : name.sliced(1).toUInt(&ok, 10);
                    if (ok && code > 0 && code < 0x110000)
                        out->plainText += QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
                }
                i = end + 1;
                continue;
            }
            out->html += u"&amp;";
            out->plainText += c;
        } else if (c == u'>') {
            out->html += u"&gt;";
            out->plainText += c;
        } else if (c == u'"') {
            out->html += u"&quot;";
            out->plainText += c;
        } else {
            out->html += c;
            out->plainText += c;
        }
        ++i;
    }
}

} // namespace

SafeMarkup sanitizeMarkup(const QString &markup)
{
    SafeMarkup out;
    QString dropping;  // the tag whose content is being skipped
    QStringList open;  // kept tags now open, as written out
    qsizetype i = 0;
    const qsizetype n = markup.size();
    while (i < n) {
        const qsizetype lt = markup.indexOf(u'<', i);
        const qsizetype textEnd = lt < 0 ? n : lt;
        if (dropping.isEmpty() && textEnd > i)
            appendText(&out, QStringView(markup).sliced(i, textEnd - i));
        if (lt < 0)
            break;
        if (markup.sliced(lt).startsWith(u"<!--")) {
            const qsizetype end = markup.indexOf(u"-->", lt + 4);
            i = end < 0 ? n : end + 3;
            continue;
        }
        const qsizetype gt = markup.indexOf(u'>', lt + 1);
        if (gt < 0) {
            // A '<' that opens no tag is text.
            if (dropping.isEmpty())
                appendText(&out, u"&lt;");
            i = lt + 1;
            continue;
        }
        QStringView tag = QStringView(markup).sliced(lt + 1, gt - lt - 1).trimmed();
        i = gt + 1;
        const bool closing = tag.startsWith(u'/');
        if (closing)
            tag = tag.sliced(1).trimmed();
        if (tag.endsWith(u'/'))
            tag.chop(1);
        qsizetype nameEnd = 0;
        while (nameEnd < tag.size() && (tag[nameEnd].isLetterOrNumber() || tag[nameEnd] == u'-' || tag[nameEnd] == u':'))
            ++nameEnd;
        const QString name = tag.first(nameEnd).toString().toLower();
        if (!dropping.isEmpty()) {
            if (closing && name == dropping)
                dropping.clear();
            continue;
        }
        if (isDropped(name)) {
            if (!closing && !QStringView(markup).sliced(lt, gt - lt).endsWith(u'/'))
                dropping = name;
            continue;
        }
        if (isBreak(name) && !out.plainText.isEmpty() && !out.plainText.endsWith(u'\n'))
            out.plainText += u'\n';
        const auto kept = keptTags().constFind(name);
        if (kept == keptTags().cend())
            continue;
        const QString &as = *kept;
        if (as == u"br") {
            if (!closing)
                out.html += u"<br>";
            continue;
        }
        if (closing) {
            const qsizetype at = open.lastIndexOf(as);
            if (at < 0)
                continue;
            while (open.size() > at)
                out.html += u"</"_qs + open.takeLast() + u'>';
            continue;
        }
        if (open.size() >= 64)
            continue;
        if (as == u"span") {
            const QString colour = safeColour(tag.sliced(nameEnd).toString());
            out.html += colour.isEmpty() ? u"<span>"_qs : u"<span style=\"color:"_qs + colour + u"\">"_qs;
        } else {
            out.html += u'<' + as + u'>';
        }
        open.append(as);
    }
    while (!open.isEmpty())
        out.html += u"</"_qs + open.takeLast() + u'>';
    out.plainText = out.plainText.trimmed();
    return out;
}
