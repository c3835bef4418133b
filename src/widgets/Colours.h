#pragma once
// Skin colours on screen: a skin keeps a colour as the reader's 32-bit value
// (00BBGGRR, or 80000000 + index for a window-system colour); widgets keep
// that value so it is saved exactly as loaded, and paint its Qt equivalent.

#include "document/ColourTable.h"

#include <QColor>
#include <QPalette>

#include <cstdint>

class QWidget;

namespace fabulor {

// The colour to paint for a skin colour. Window-system colours come from the
// palette; any other value with a non-zero high byte paints its low 24 bits.
QColor toQColor(Colour colour, const QPalette& palette);
QColor toQColor(Colour colour);

// A plain skin colour (00BBGGRR) for a colour picked on screen.
Colour fromQColor(const QColor& colour);

// Sets the palette role of a widget to a skin colour, for both active and
// inactive groups, so that the widget repaints in it.
void setRoleColour(QWidget* widget, QPalette::ColorRole role, Colour colour);

} // namespace fabulor
