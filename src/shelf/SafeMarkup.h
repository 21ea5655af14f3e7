#pragma once

#include <QString>

// Plain text as rich text: escaped, line breaks and runs of blanks kept.
QString plainToHtml(const QString &text);

// Markup from a dictionary file (HTML, Pango or XDXF) reduced to simple formatting. Only a fixed set of tags
// survives, without attributes but a font colour; the text of scripts and styles is dropped; pictures, links,
// frames and objects leave nothing that could fetch a file or address. Entities are kept when well formed.
struct SafeMarkup
{
    QString html;
    QString plainText;
};
SafeMarkup sanitizeMarkup(const QString &markup);
