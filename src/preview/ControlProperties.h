#pragma once
// The appearance properties the skin gives the preview's controls, reached
// the same way whatever kind of control holds them, so that capture, apply
// and the appearance editor need no case per control. A control that has no
// such property reads as 0 and ignores a new value.

#include "document/ColourTable.h"

class QWidget;

namespace fabulor {

Colour ControlColour(const QWidget* control);
void SetControlColour(QWidget* control, Colour colour);

Colour ControlFontColour(const QWidget* control);
void SetControlFontColour(QWidget* control, Colour colour);

// A panel's bevel, or the border around a page control's pages.
int ControlBorder(const QWidget* control);
void SetControlBorder(QWidget* control, int width);

// A flat box has no frame; the others a sunken single one.
void SetControlFlat(QWidget* control, bool flat);
// Whether the box is drawn flat; false for controls that have no flatness.
bool ControlFlat(const QWidget* control);

// The item list's scroll bars drawn flat, or bevelled.
void SetControlFlatScrollBars(QWidget* control, bool flat);

} // namespace fabulor
