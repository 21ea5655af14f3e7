#include "app/SearchEdit.h"

void SearchEdit::keyPressEvent(QKeyEvent *event)
{
    emit keyDown(event);
    QLineEdit::keyPressEvent(event);
}
