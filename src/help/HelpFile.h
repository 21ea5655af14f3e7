#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One page of help: Qt rich text (HTML subset) with a title, a place in the contents and keywords.
struct HelpTopic
{
    QString id;
    QString title;
    QString parentId;    // empty for a top-level topic
    QStringList keywords;
    QString html;
};

struct HelpIndexEntry
{
    QString keyword;
    QString topicId;
};

// The program's help file "vrb.hlp": UTF-8 text, first line "VERBARIUM HELP 1", then "#" comment
// lines and topics. A topic starts with "@topic <id>", carries "@title <text>", optional
// "@parent <id>" (a topic defined earlier) and "@keywords a; b; c" lines, and every other line is
// its HTML body. Topics link to each other with <a href="topic:<id>">.
class HelpFile final
{
public:
    static constexpr const char *kMagic = "VERBARIUM HELP 1";
    static constexpr const char *kLinkScheme = "topic";

    // Both throw AppError with a message for the user when the text is not a help file.
    static HelpFile parse(const QString &text, const QString &origin = QString());
    static HelpFile load(const QString &path);

    const QList<HelpTopic> &topics() const { return m_topics; }
    const HelpTopic *topic(const QString &id) const;
    QList<const HelpTopic *> children(const QString &parentId) const;
    // Every keyword with its topic, sorted by keyword regardless of case, then in file order.
    QList<HelpIndexEntry> index() const;
    // Links of the form topic:<id> that name no topic, as "<topic id> -> <target>".
    QStringList brokenLinks() const;

private:
    QList<HelpTopic> m_topics;
};
