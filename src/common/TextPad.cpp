#include "common/TextPad.h"

namespace TextPad {

QString right(const QString &text, int width, QChar fill)
{
    if (width <= 0)
        return QString();
    return text.left(width).leftJustified(width, fill);
}

QString left(const QString &text, int width, QChar fill)
{
    return text.rightJustified(width, fill, false);
}

} // namespace TextPad
