#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The plain-text formats a clipboard owner may offer, under X (targets) and Wayland (MIME types) alike.

// How much a format is preferred, lower first; nothing for a format that is not plain text.
std::optional<int> clipboardTextRank(const QByteArray &format);
// The text of data sent in that format.
QString clipboardTextOf(const QByteArray &format, const QByteArray &data);
