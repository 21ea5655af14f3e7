#include "define/EntryText.h"

#include "text/HtmlEntity.h"

#include <QStringList>

namespace {

class LineBuilder
{
public:
    // Ends the line under way, if it holds anything.
    void flush()
    {
        const QString text = m_text.trimmed();
        if (!text.isEmpty())
            m_lines.append({text, m_indent, m_hanging});
        m_text.clear();
        m_pendingBlank = false;
    }
    void startLine(int indent, int hanging, const QString &prefix = {})
    {
        flush();
        m_indent = indent;
        m_hanging = hanging;
        m_text = prefix;
    }
    void addText(QStringView text)
    {
        for (const QChar c : text) {
            if (c.isSpace() && c != QChar::Nbsp) {
                m_pendingBlank = true;
                continue;
            }
            if (m_pendingBlank && !m_text.isEmpty() && !m_text.endsWith(QLatin1Char(' ')))
                m_text += QLatin1Char(' ');
            m_pendingBlank = false;
            m_text += c == QChar::Nbsp ? QChar(u' ') : c;
        }
    }
    void addDecoded(const QString &text)
    {
        if (m_pendingBlank && !m_text.isEmpty() && !m_text.endsWith(QLatin1Char(' ')))
            m_text += QLatin1Char(' ');
        m_pendingBlank = false;
        m_text += text;
    }
    QList<EntryLine> take()
    {
        flush();
        return std::move(m_lines);
    }
    int hanging() const { return m_hanging; }

private:
    QList<EntryLine> m_lines;
    QString m_text;
    int m_indent = 0;
    int m_hanging = 0;
    bool m_pendingBlank = false;
};

} // namespace

QList<EntryLine> entryLines(const QString &html)
{
    LineBuilder out;
    // The number of the next item of each open list; 0 for a list with bullets.
    QList<int> lists;
    int itemHanging = 0;
    qsizetype i = 0;
    const qsizetype n = html.size();
    while (i < n) {
        const QChar c = html[i];
        if (c == u'&') {
            const qsizetype end = html.indexOf(QLatin1Char(';'), i);
            if (end > i && end - i <= 10) {
                const QStringView name = QStringView(html).sliced(i + 1, end - i - 1);
                const QString decoded = htmlEntityText(name);
                // An unknown entity is kept as written.
                out.addDecoded(decoded.isNull() ? QLatin1Char('&') + name.toString() + QLatin1Char(';') : decoded);
                i = end + 1;
            } else {
                out.addText(QStringView(html).sliced(i, 1));
                ++i;
            }
            continue;
        }
        if (c != u'<') {
            const qsizetype next = [&] {
                qsizetype j = i;
                while (j < n && html[j] != u'<' && html[j] != u'&')
                    ++j;
                return j;
            }();
            out.addText(QStringView(html).sliced(i, next - i));
            i = next;
            continue;
        }
        qsizetype end = html.indexOf(QLatin1Char('>'), i);
        if (end < 0)
            end = n;
        QStringView tag = QStringView(html).sliced(i + 1, std::max<qsizetype>(0, end - i - 1)).trimmed();
        i = end + 1;
        const bool closing = tag.startsWith(u'/');
        if (closing)
            tag = tag.sliced(1);
        qsizetype nameEnd = 0;
        while (nameEnd < tag.size() && tag[nameEnd].isLetterOrNumber())
            ++nameEnd;
        const QString name = tag.first(nameEnd).toString().toLower();
        const int depth = int(lists.size());
        if (name == u"br") {
            out.startLine(depth ? itemHanging : 0, depth ? itemHanging : 0);
        } else if (name == u"ol" || name == u"ul") {
            out.flush();
            if (closing) {
                if (!lists.isEmpty())
                    lists.removeLast();
            } else {
                lists.append(name == u"ol" ? 1 : 0);
            }
        } else if (name == u"li") {
            if (closing) {
                out.flush();
                continue;
            }
            const int indent = 2 * std::max(depth, 1);
            QString prefix = QStringLiteral("- ");
            if (!lists.isEmpty() && lists.last() > 0)
                prefix = QString::number(lists.last()++) + QStringLiteral(". ");
            itemHanging = indent + int(prefix.size());
            out.startLine(indent, itemHanging, prefix);
        } else if (name == u"p" || name == u"div" || (name.size() == 2 && name[0] == u'h' && name[1].isDigit())) {
            if (closing)
                out.flush();
            else
                out.startLine(depth ? itemHanging : 0, depth ? itemHanging : 0);
        }
        // Other tags (emphasis, fonts, links) only style their text.
    }
    return out.take();
}

QString layOut(const QList<EntryLine> &lines, int width)
{
    QString result;
    for (const EntryLine &line : lines) {
        if (width <= 0) {
            result += QString(line.indent, QLatin1Char(' ')) + line.text + QLatin1Char('\n');
            continue;
        }
        int indent = line.indent;
        QString current;
        const auto endLine = [&] {
            result += QString(indent, QLatin1Char(' ')) + current + QLatin1Char('\n');
            current.clear();
            indent = line.hangingIndent;
        };
        const QStringList words = line.text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString &word : words) {
            // A word longer than the line stands on a line of its own rather than being broken.
            if (!current.isEmpty() && indent + current.size() + 1 + word.size() > width)
                endLine();
            if (!current.isEmpty())
                current += QLatin1Char(' ');
            current += word;
        }
        if (!current.isEmpty())
            endLine();
    }
    return result;
}
