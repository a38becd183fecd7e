#pragma once

#include <QString>

// Fixed-width texts.
namespace TextPad {

// The text cut to `width` characters and padded on the right with `fill`.
QString right(const QString &text, int width, QChar fill = QLatin1Char(' '));

// Zero-fill: the text padded on the left with `fill` up to `width`
// characters; a longer text is returned unchanged (never cut, so a number
// that is too long stays visible as such).
QString left(const QString &text, int width, QChar fill = QLatin1Char('0'));

} // namespace TextPad
