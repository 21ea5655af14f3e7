#pragma once

#include <QLabel>

// The headword label: sizes itself to the headword.
class HeadwordLabel final : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
