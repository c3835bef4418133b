#pragma once
// Where the program's own boxes and small windows open: wholly on the
// screen, and for message boxes above every window of the program (the
// settings window stays on top, so a box that does not would open half
// under it), centred on the window the user was working in.

#include <QRect>

class QDialog;
class QWidget;

namespace fabulor {

// The window the user was working in: the active window, else the last one
// that was since TrackWorkingWindow() was first called, else none.
QWidget* WorkingWindow();
void TrackWorkingWindow();

// Call before the dialog is shown; it centres itself on `over` (a top-level
// window, or none: the screen) once shown, and again when its frame arrives.
void PlaceAboveAll(QDialog& dialog, QWidget* over);

// Call before `window` is shown; it opens below `beside` (a top-level
// window), or above it where there is no room below, left edges in line,
// wholly on the screen; again when its frame arrives.
void PlaceBeside(QWidget& window, QWidget& beside);

// The arithmetic of the two, on outer rectangles (frames included).
// Moves `outer` as little as it takes to lie wholly within `area`; one larger
// than the area keeps its top-left corner (the title bar) within it.
QRect KeptWithin(QRect outer, QRect area);
// A window of outer size `size` beside the window `beside`: `gap` pixels
// below it, or above it when it does not fit below but fits above, left
// edges in line; kept within `area`.
QRect BesideWithin(QRect beside, QSize size, QRect area, int gap);

} // namespace fabulor
