#include "text/HtmlEntity.h"

QString htmlEntityText(QStringView name)
{
    if (name == u"amp")
        return QStringLiteral("&");
    if (name == u"lt")
        return QStringLiteral("<");
    if (name == u"gt")
        return QStringLiteral(">");
    if (name == u"quot")
        return QStringLiteral("\"");
    if (name == u"apos")
        return QStringLiteral("'");
    if (name == u"nbsp")
        return QStringLiteral(" ");
    if (name.startsWith(u'#')) {
        bool ok = false;
        const char32_t code = name.size() > 1 && (name[1] == u'x' || name[1] == u'X') ? name.sliced(2).toUInt(&ok, 16)
                                                                                      : name.sliced(1).toUInt(&ok, 10);
        if (ok && code > 0 && code <= 0x10ffff && !QChar::isSurrogate(code))
            return QString::fromUcs4(&code, 1);
    }
    return QString();
}
