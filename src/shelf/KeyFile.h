#pragma once

#include "shelf/KeyRecord.h"

#include <QByteArray>
#include <QStringView>

#include <memory>

class QFile;

// An added dictionary's headwords, sorted in the word list's order, with where each entry lies: written once
// to a file in the cache folder and mapped into memory at every later start, so a start reads no index.
// The file names the sources it was made from (path, size, modification time of each) and the layout's
// version; a file that does not match, or whose layout is damaged, is not used.
class KeyFile final
{
public:
    static constexpr quint32 kVersion = 1;

    KeyFile();
    ~KeyFile();
    KeyFile(const KeyFile &) = delete;
    KeyFile &operator=(const KeyFile &) = delete;

    // The bytes of a key file for listing, made from the sources named by identity.
    static QByteArray build(const KeyListing &listing, const QString &identity);
    // Writes bytes to path in one atomic replacement; false, with *error, when the folder is unwritable or full.
    static bool write(const QString &path, const QByteArray &bytes, QString *error);
    // The text that names a dictionary's source files as they are now: path, size and modification time each.
    static QString identityOf(const QStringList &paths);

    // Maps the file at path; false when it is missing, was made from other sources or is damaged.
    bool map(const QString &path, const QString &identity);
    // Uses bytes kept in memory (when the cache folder cannot be written); false when they are damaged.
    bool adopt(QByteArray bytes, const QString &identity);

    int count() const { return m_count; }
    // The headword of record i, empty for a damaged record.
    QStringView keyAt(int i) const;
    quint64 offsetAt(int i) const;
    quint32 lengthAt(int i) const;
    // The first record whose key is >= key, case aside; count() when none is.
    int lowerBound(QStringView key) const;

    // Lets the system take back the mapped pages read so far (a pass over every key touches them all); they
    // are read again from the file, or the page cache, when next needed. Nothing for keys kept in memory.
    void releasePages() const;

    QString name() const { return m_name; }
    QString description() const { return m_description; }
    QString licence() const { return m_licence; }
    QStringList warnings() const { return m_warnings; }

private:
    bool attach(const uchar *data, qint64 size, const QString &identity);

    std::unique_ptr<QFile> m_file;
    uchar *m_mapped = nullptr;
    qint64 m_mappedSize = 0;
    QByteArray m_bytes;
    const uchar *m_records = nullptr;
    const char16_t *m_strings = nullptr;
    quint64 m_stringUnits = 0;
    int m_count = 0;
    QString m_name;
    QString m_description;
    QString m_licence;
    QStringList m_warnings;
};
