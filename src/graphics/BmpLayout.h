#pragma once
// What a bitmap's headers say about its pixels, checked before a single pixel
// is touched, so that a damaged or hostile header fails cheaply.

#include <QRgb>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace fabulor {

enum class BmpCompression : std::uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

struct BmpLayout {
    int width = 0;
    int height = 0;       // always positive; topDown says which way the rows run
    bool topDown = false; // a negative height in the header
    int bitCount = 0;     // 1, 4, 8, 16, 24 or 32
    BmpCompression compression = BmpCompression::Rgb;
    std::array<std::uint32_t, 3> masks{}; // red, green, blue for 16 and 32 bits per pixel
    std::vector<QRgb> palette;            // 256 entries for up to 8 bits per pixel, padded with black
    std::size_t pixelOffset = 0;          // where the rows start, counted from the information header
};

// Reads and checks the information header, bit-field masks and colour table.
// dib starts at the information header. pixelOffsetHint is the file header's
// offset of the pixel rows, made relative to dib, when there is a file header.
// Throws EInvalidGraphic.
BmpLayout ReadBmpLayout(std::span<const std::uint8_t> dib, std::optional<std::uint64_t> pixelOffsetHint);

} // namespace fabulor
