#include "text/TextCut.h"

qsizetype cutLength(const QString &text, qsizetype maxUnits)
{
    if (text.size() <= maxUnits)
        return text.size();
    if (maxUnits > 0 && text.at(maxUnits - 1).isHighSurrogate() && text.at(maxUnits).isLowSurrogate())
        return maxUnits - 1;
    return maxUnits;
}
