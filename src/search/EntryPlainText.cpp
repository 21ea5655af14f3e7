#include "search/EntryPlainText.h"

#include "text/HtmlEntity.h"

namespace {

bool breaksLine(QStringView tag)
{
    // tag is the text between "<" and ">", e.g. "br", "/p", "li".
    if (tag.startsWith(QLatin1Char('/')))
        tag = tag.sliced(1);
    const qsizetype end = tag.indexOf(QLatin1Char(' '));
    if (end >= 0)
        tag = tag.first(end);
    for (const char *name : {"br", "br/", "p", "li", "ol", "ul", "div", "tr", "h1", "h2", "h3"}) {
        if (tag.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void appendBreak(QString &text, QChar mark)
{
    // One separator between words, a line break winning over a blank.
    if (text.isEmpty())
        return;
    if (text.back() == QLatin1Char(' ') || text.back() == QLatin1Char('\n')) {
        if (mark == QLatin1Char('\n'))
            text.back() = mark;
        return;
    }
    text.append(mark);
}

} // namespace

QString entryPlainText(QStringView html)
{
    QString text;
    text.reserve(html.size());
    qsizetype i = 0;
    while (i < html.size()) {
        const QChar c = html[i];
        if (c == QLatin1Char('<')) {
            const qsizetype close = html.indexOf(QLatin1Char('>'), i + 1);
            if (close < 0)
                break;
            // Inline tags (bold, italics) sit inside the text as shown, without a blank of their own.
            if (breaksLine(html.sliced(i + 1, close - i - 1)))
                appendBreak(text, QLatin1Char('\n'));
            i = close + 1;
            continue;
        }
        if (c == QLatin1Char('&')) {
            const qsizetype semicolon = html.indexOf(QLatin1Char(';'), i + 1);
            if (semicolon > i && semicolon - i <= 8) {
                const QString decoded = htmlEntityText(html.sliced(i + 1, semicolon - i - 1));
                if (!decoded.isNull()) {
                    text.append(decoded);
                    i = semicolon + 1;
                    continue;
                }
            }
        }
        if (c.isSpace())
            appendBreak(text, QLatin1Char(' '));
        else
            text.append(c);
        ++i;
    }
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    return text;
}
