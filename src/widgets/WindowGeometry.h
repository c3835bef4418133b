#pragma once
// A top-level window's outer size: title bar and frame included while the
// window carries them. Where the window system reports no frame (offscreen,
// or X without a window manager) outer and inner size coincide.

#include <QRect>
#include <QSize>

class QWidget;

namespace fabulor {

QSize frameExtra(const QWidget* window);
// The window's rectangle on the screen, frame included, as the window system
// has it now (QWidget::frameGeometry() may keep a frame that is gone).
QRect outerRect(const QWidget* window);
QSize outerSize(const QWidget* window);
void setOuterSize(QWidget* window, QSize outer);
void setOuterWidth(QWidget* window, int width);
void setOuterHeight(QWidget* window, int height);

} // namespace fabulor
