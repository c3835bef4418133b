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

} // namespace fabulor
