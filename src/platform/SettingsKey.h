#pragma once

#include <QString>
#include <QStringList>

#include <memory>

// The per-user settings key. A key path such as "\SOFTWARE\Ostrand\Verbarium\1.0.0.0" lives in the text file
// <config folder>/Ostrand/Verbarium.conf, in the group [1.0.0.0]; values are strings. The program's config folder
// is userConfigFolder(): $XDG_CONFIG_HOME, or ~/.config.
//
// File format: "name=value" lines under "[group]" headers. A value is taken literally (commas included) after
// trimming, unless it begins with a double quote: then it is one quoted string with the escapes \\ \" \n \r \t
// and \xHH. A value that is not one string is "another type": a typed value in QSettings' notation
// ("@ByteArray(...)", "@Variant(...)", "@Rect(...)" ...), several quoted parts ("a", "b", a list as QSettings
// writes it) or a quoted value without its closing quote. Names are matched case-insensitively.
//
// Writes are kept in memory and committed by close() in one atomic replacement of the file (of the file a symbolic
// link names, in that file's folder: the link stays). Other groups, comments and unknown lines are kept. A file that
// is not clean text is read leniently (a NUL ends a line, invalid UTF-8 becomes U+FFFD), and one larger than
// kMaxFileSize reads as empty; before such a file is replaced, it is kept as it was in "<file>.bad". A file that
// cannot be read (no permission, not a regular file) reads as empty and is never written over.
class SettingsKey final
{
public:
    // The user's config folder by the XDG rules: $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
    static QString userConfigFolder();
    // Null when the folder can be neither opened nor created (the caller reports it). A folder that cannot be
    // written to gives a key that reads but cannot be saved.
    static std::unique_ptr<SettingsKey> openOrCreate(const QString &configFolder, const QString &keyPath);
    // Where the key of keyPath is kept under configFolder; empty when keyPath names no key.
    static QString filePathFor(const QString &configFolder, const QString &keyPath);

    ~SettingsKey();
    SettingsKey(const SettingsKey &) = delete;
    SettingsKey &operator=(const SettingsKey &) = delete;

    // Ten values take a few hundred bytes; a file of several megabytes is damage, not settings.
    static constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

    QString filePath() const { return m_filePath; }
    // False when the file is there but could not be read: every value reads as missing and nothing is saved.
    bool isReadable() const { return !m_unreadable; }

    // "" when the value does not exist; throws AppError("Invalid data type for '<name>'") for another type.
    QString readString(const QString &name) const;
    // False for a name the file cannot hold (empty, with "=", line breaks or surrounding blanks).
    bool writeString(const QString &name, const QString &value);
    // Commits the writes; true when there was nothing to write or the file was replaced; false, writing nothing,
    // for a file that could not be read. The destructor commits
    // what close() was not called for.
    bool close();

private:
    SettingsKey(QString filePath, QString group);
    void load();
    int groupHeader() const;
    int groupEnd(int header) const;
    int findEntry(const QString &name) const;

    QString m_filePath;
    QString m_group;
    QStringList m_lines;
    bool m_dirty = false;
    bool m_unclean = false;
    bool m_oversized = false;
    bool m_unreadable = false;
};
