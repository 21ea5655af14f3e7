#include "app/VerbariumStyle.h"

#include "artwork/Artwork.h"

QIcon VerbariumStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption *option, const QWidget *widget) const
{
    switch (standardIcon) {
    case SP_ToolBarHorizontalExtensionButton:
        return Artwork::toolBarExtensionIcon(Qt::Horizontal);
    case SP_ToolBarVerticalExtensionButton:
        return Artwork::toolBarExtensionIcon(Qt::Vertical);
    default:
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    }
}
