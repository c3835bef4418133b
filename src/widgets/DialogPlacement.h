#pragma once
// Where the program's own message boxes open: above every window of the
// program (the settings window stays on top, so a box that does not would
// open half under it), wholly on the screen, centred on the window the user
// was working in.

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

} // namespace fabulor
