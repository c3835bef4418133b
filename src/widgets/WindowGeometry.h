#pragma once
// A top-level window's outer size: title bar and frame included while the
// window carries them. Where the window system reports no frame (offscreen,
// or X without a window manager) outer and inner size coincide.
//
// The outer size asked for is kept as the window's state and applied again
// once the window manager has framed the window, which it does late (after
// the window is shown, or shown again with another decoration). A window
// whose outer size is set here, hidden by the program and shown again, comes
// back with its content where it was.

#include <QRect>
#include <QSize>

class QWidget;

namespace fabulor {

// The frame's width and height as far as they are known now: none for a
// window without decoration, none yet for one the window manager has not
// framed.
QSize frameExtra(const QWidget* window);
// Whether the frame is known: the window asks for none, or the window
// manager has put it around the window, or the platform has no frames.
bool frameKnown(const QWidget* window);
// The window's rectangle on the screen, frame included, as the window system
// has it now (QWidget::frameGeometry() may keep a frame that is gone).
QRect outerRect(const QWidget* window);
// The outer size last asked for while it holds (until the window is resized
// otherwise), else the window's size with its frame.
QSize outerSize(const QWidget* window);
void setOuterSize(QWidget* window, QSize outer);
void setOuterWidth(QWidget* window, int width);
void setOuterHeight(QWidget* window, int height);

} // namespace fabulor
