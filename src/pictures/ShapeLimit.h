#pragma once
// How intricate a window shape may be. X sends a shape to the server as one
// request, and Qt clips every repaint of a shaped window to its shape; past
// what either takes, the window would vanish or the program would end.

#include <QRegion>

#include <cstddef>

namespace fabulor {

// Whether a window may be given region as its shape: the window system takes
// it whole, and Qt's painting of the window stays within bounds. A region
// that may not is not given; the window then shows whole.
bool WindowTakesShape(const QRegion& region);

// At least as many rectangles as any shape a window of the given width
// takes has, so that a region no window would take can be given up on
// while it is being built.
std::size_t MostShapeRectangles(int width);

// For X: the rectangles that fit in a shape request of at most maxRequestUnits
// (the server's maximum request length without BIG-REQUESTS, in 4-byte units).
std::size_t ShapeRectanglesInRequest(std::size_t maxRequestUnits);

} // namespace fabulor
