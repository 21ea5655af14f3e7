#pragma once

#include <QKeyEvent>
#include <QLineEdit>

// The search box. Setting a different text runs the lookup; setting the same text runs nothing.
class SearchEdit final : public QLineEdit
{
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

signals:
    void keyDown(QKeyEvent *event);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
