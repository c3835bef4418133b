#pragma once
// Turns the pixel rows of a checked bitmap layout into an image: palette
// bitmaps become 8-bit indexed images, all others 32-bit RGB.

#include "BmpLayout.h"

#include <QImage>

namespace fabulor {

// Rows or runs missing from dib stay at palette entry 0 (black for direct
// colour); runs that go past the row's end are cut there. Throws
// EInvalidGraphic when the image cannot be allocated.
QImage DecodeBmpPixels(const BmpLayout& layout, std::span<const std::uint8_t> dib);

} // namespace fabulor
