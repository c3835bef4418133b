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

// For X: the rectangles that fit in a shape request of at most maxRequestUnits
// (the server's maximum request length without BIG-REQUESTS, in 4-byte units).
std::size_t ShapeRectanglesInRequest(std::size_t maxRequestUnits);

// For Qt's painting: the most rectangles a shape of the given height may
// have. Qt's raster painter sets aside room for every rectangle of a clip on
// every row it covers, counted in an int, before it paints the first pixel.
std::size_t PaintableShapeRectangles(int height);

} // namespace fabulor
