#include "help/HelpFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>

#include "platform/AppError.h"

namespace {

// Large enough for any help we write, small enough that a wrong file is refused quickly.
constexpr qint64 kMaxSize = 4 * 1024 * 1024;

AppError damaged(const QString &origin, int line, const QString &what)
{
    return AppError(QStringLiteral("The help file \"%1\" is damaged (line %2: %3).").arg(origin).arg(line).arg(what));
}

bool validId(const QString &id)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9_-]+$"));
    return pattern.match(id).hasMatch();
}

} // namespace

HelpFile HelpFile::parse(const QString &text, const QString &origin)
{
    const QString name = origin.isEmpty() ? QStringLiteral("vrb.hlp") : origin;
    const QStringList lines = text.split(QLatin1Char('\n'));
    HelpFile file;
    QSet<QString> ids;
    bool headerSeen = false;

    auto finishTopic = [&](int line) {
        if (!file.m_topics.isEmpty() && file.m_topics.last().title.isEmpty())
            throw damaged(name, line, QStringLiteral("topic \"%1\" has no title").arg(file.m_topics.last().id));
    };

    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!headerSeen) {
            if (line.trimmed().isEmpty())
                continue;
            if (line.trimmed() != QLatin1String(kMagic))
                throw AppError(QStringLiteral("\"%1\" is not a Verbarium help file.").arg(name));
            headerSeen = true;
            continue;
        }
        if (line.startsWith(QLatin1Char('@'))) {
            const qsizetype blank = line.indexOf(QLatin1Char(' '));
            const QString directive = line.left(blank < 0 ? line.size() : blank);
            const QString value = blank < 0 ? QString() : line.mid(blank + 1).trimmed();
            if (directive == QLatin1String("@topic")) {
                finishTopic(lineNo);
                if (!validId(value))
                    throw damaged(name, lineNo, QStringLiteral("bad topic name \"%1\"").arg(value));
                if (ids.contains(value))
                    throw damaged(name, lineNo, QStringLiteral("topic \"%1\" defined twice").arg(value));
                ids.insert(value);
                file.m_topics.append(HelpTopic{value, {}, {}, {}, {}});
                continue;
            }
            if (file.m_topics.isEmpty())
                throw damaged(name, lineNo, QStringLiteral("%1 outside a topic").arg(directive));
            HelpTopic &topic = file.m_topics.last();
            if (directive == QLatin1String("@title")) {
                topic.title = value;
            } else if (directive == QLatin1String("@parent")) {
                // Parents come first, so the contents can never loop.
                if (!ids.contains(value) || value == topic.id)
                    throw damaged(name, lineNo, QStringLiteral("unknown parent \"%1\"").arg(value));
                topic.parentId = value;
            } else if (directive == QLatin1String("@keywords")) {
                for (const QString &keyword : value.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
                    const QString k = keyword.simplified();
                    if (!k.isEmpty())
                        topic.keywords.append(k);
                }
            } else {
                throw damaged(name, lineNo, QStringLiteral("unknown directive %1").arg(directive));
            }
            continue;
        }
        if (file.m_topics.isEmpty()) {
            if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            throw damaged(name, lineNo, QStringLiteral("text outside a topic"));
        }
        file.m_topics.last().html += line + QLatin1Char('\n');
    }
    if (!headerSeen)
        throw AppError(QStringLiteral("\"%1\" is not a Verbarium help file.").arg(name));
    finishTopic(int(lines.size()));
    if (file.m_topics.isEmpty())
        throw AppError(QStringLiteral("The help file \"%1\" holds no topics.").arg(name));
    return file;
}

HelpFile HelpFile::load(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("The help file \"%1\" cannot be read: %2.").arg(path, f.errorString()));
    if (f.size() > kMaxSize)
        throw AppError(QStringLiteral("\"%1\" is not a Verbarium help file.").arg(path));
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw AppError(QStringLiteral("The help file \"%1\" cannot be read: %2.").arg(path, f.errorString()));
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        throw AppError(QStringLiteral("\"%1\" is not a Verbarium help file.").arg(path));
    return parse(text, path);
}

const HelpTopic *HelpFile::topic(const QString &id) const
{
    for (const HelpTopic &t : m_topics) {
        if (t.id == id)
            return &t;
    }
    return nullptr;
}

QList<const HelpTopic *> HelpFile::children(const QString &parentId) const
{
    QList<const HelpTopic *> result;
    for (const HelpTopic &t : m_topics) {
        if (t.parentId == parentId)
            result.append(&t);
    }
    return result;
}

QList<HelpIndexEntry> HelpFile::index() const
{
    QList<HelpIndexEntry> entries;
    for (const HelpTopic &t : m_topics) {
        for (const QString &keyword : t.keywords)
            entries.append({keyword, t.id});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const HelpIndexEntry &a, const HelpIndexEntry &b) {
        return a.keyword.compare(b.keyword, Qt::CaseInsensitive) < 0;
    });
    return entries;
}

QStringList HelpFile::brokenLinks() const
{
    static const QRegularExpression link(QStringLiteral("href=\"topic:([^\"]*)\""));
    QStringList broken;
    for (const HelpTopic &t : m_topics) {
        for (auto it = link.globalMatch(t.html); it.hasNext();) {
            const QString target = it.next().captured(1);
            if (!topic(target))
                broken.append(t.id + QStringLiteral(" -> ") + target);
        }
    }
    return broken;
}
