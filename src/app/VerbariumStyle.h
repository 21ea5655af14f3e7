#pragma once

#include <QProxyStyle>

// The desktop's style, with the program's own drawing of the toolbar's extension button. The style's
// picture of it is a file whose loading probes every image format plugin, a fifth of the window's set-up.
class VerbariumStyle final : public QProxyStyle
{
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};
