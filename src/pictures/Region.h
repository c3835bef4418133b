#pragma once
// Turns a mask bitmap into the visible part of a shaped window.

#include "graphics/Bitmap.h"

#include <QRegion>

namespace fabulor {

// The pixels whose 24-bit colour differs from the top-left pixel's, as one
// region. An empty mask, or one of a single colour, gives an empty region,
// which means "no region": the whole window shows.
QRegion BuildRegionFromMask(const Bitmap& mask);

// The same for any image; palette images are compared by their palette colours.
QRegion BuildRegionFromImage(const QImage& image);

// A region as a 1-bit picture of the given size (QImage::Format_MonoLSB):
// index 1 inside the region, 0 outside, parts beyond the size left out; the
// colour table is transparent for 0 and opaque white for 1, for the caller
// to change. Qt's painter clips to a region by setting aside room for each of
// its rectangles on each of its rows, which a busy mask's region of millions
// of rectangles overruns; drawing or reading this picture costs its pixels
// only. Null where the picture cannot be had.
QImage RegionBitmap(const QRegion& region, const QSize& size);

} // namespace fabulor
