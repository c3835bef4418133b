#pragma once
// How many rectangles the window system takes in one window shape. X sends
// a shape to the server as one request, and a request longer than the
// server accepts breaks the connection: the program would end with it.

#include <cstddef>

namespace fabulor {

// The most rectangles a window shape may have on this window system; a
// region with more must not be given to a window. Asked of the X server on
// X; elsewhere no limit beyond memory (the region builder has its own).
std::size_t MaxShapeRectangles();

// For X: the rectangles that fit in a shape request of at most maxRequestUnits
// (the server's maximum request length, in 4-byte units).
std::size_t ShapeRectanglesInRequest(std::size_t maxRequestUnits);

} // namespace fabulor
