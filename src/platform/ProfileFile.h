#pragma once

#include <QString>

#include <utility>
#include <vector>

// Read-only initialisation file ("vrb.ini") with the Windows profile-string rules: section and key names are
// case-insensitive, values are trimmed and lose one pair of surrounding matching quotes, ";" lines are comments,
// the first matching section and key win, and a missing file, section or key yields the caller's default.
// The file is read once, when the reader is built. Only a regular file of at most kMaxFileSize bytes is read;
// anything else (a pipe, a device, a damaged giant) counts as missing.
class ProfileFile final
{
public:
    static constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

    explicit ProfileFile(QString path);

    QString path() const { return m_path; }
    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;

private:
    struct Section
    {
        QString name;
        std::vector<std::pair<QString, QString>> entries;
    };

    QString m_path;
    std::vector<Section> m_sections;
};
