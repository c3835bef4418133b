#pragma once
// Turns a mask bitmap into the visible part of a shaped window.

#include "graphics/Bitmap.h"

#include <QRegion>

#include <cstddef>
#include <cstdint>

namespace fabulor {

// The pixels whose 24-bit colour differs from the top-left pixel's, as one
// region. An empty mask, or one of a single colour, gives an empty region,
// which means "no region": the whole window shows. So does a mask whose
// region would have more than maxRects rectangles, or more than the builder
// makes at all (8 Mi of them: a one-pixel checkerboard of 4096 x 4096).
QRegion BuildRegionFromMask(const Bitmap& mask, std::size_t maxRects = SIZE_MAX);

// The same for any image; palette images are compared by their palette colours.
QRegion BuildRegionFromImage(const QImage& image, std::size_t maxRects = SIZE_MAX);

// The same visible part as a 1-bit picture of the mask's size
// (QImage::Format_MonoLSB, index 1 shown, 0 hidden; the colour table is
// transparent and opaque white, for the caller to change): exactly the pixels
// of the region, and null where the region is empty. Drawing or reading it
// costs its pixels only, where Qt's painter, clipping to a region, sets aside
// room for every rectangle on every row: more than it has for a busy mask.
QImage BuildShapeFromMask(const Bitmap& mask);
QImage BuildShapeFromImage(const QImage& image);

} // namespace fabulor
