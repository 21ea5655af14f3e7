#include "text/LookupText.h"

#include "text/TextCut.h"

QString lookupTextOf(const QString &text)
{
    const QString trimmed = text.trimmed();
    // A cut inside a run of blanks leaves some behind.
    return trimmed.left(cutLength(trimmed, kMaxLookupLength)).trimmed();
}
