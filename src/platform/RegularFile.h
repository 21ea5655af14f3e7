#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Files another program or a hostile hand may have replaced: a pipe or a device in a file's place would block an
// open or a read for ever, and a huge file would eat the memory. Qt Core only, for the command-line lookup too.

// A descriptor open for reading on path, or -1 with why (when given) set: only a regular file its owner may read
// is opened, never blocking. The caller closes it.
int openRegularFile(const QString &path, QString *why = nullptr);

// The bytes of such a file of at most limit bytes; nothing otherwise. tooLarge is set for a larger regular file,
// or one that grows past the limit while it is read.
std::optional<QByteArray> readRegularFile(const QString &path, qint64 limit, bool *tooLarge = nullptr);

// A folder named by an XDG base-directory variable ("XDG_CONFIG_HOME"), or the home folder's fallback
// ("/.config") when it is unset or relative, which the XDG rules say to ignore.
QString xdgFolder(const char *variable, const QString &fallbackInHome);
