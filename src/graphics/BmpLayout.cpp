#include "BmpLayout.h"

#include "GraphicErrors.h"
#include "PictureLimits.h"

#include <algorithm>
#include <climits>

namespace fabulor {

namespace {

constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::uint32_t InfoHeaderSize = 40;
// From this size on the red, green and blue masks sit inside the header itself.
constexpr std::uint32_t HeaderWithMasksSize = 52;

std::uint16_t le16(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

[[noreturn]] void invalid()
{
    throw EInvalidGraphic();
}

bool knownForm(int bitCount, BmpCompression compression)
{
    switch (compression) {
    case BmpCompression::Rgb:
        return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
               bitCount == 32;
    case BmpCompression::Rle8:
        return bitCount == 8;
    case BmpCompression::Rle4:
        return bitCount == 4;
    case BmpCompression::BitFields:
        return bitCount == 16 || bitCount == 32;
    }
    return false;
}

} // namespace

BmpLayout ReadBmpLayout(std::span<const std::uint8_t> dib, std::optional<std::uint64_t> pixelOffsetHint)
{
    if (dib.size() < 4) invalid();
    const std::uint32_t headerSize = le32(dib, 0);
    const bool core = headerSize == CoreHeaderSize;
    if (!core && headerSize < InfoHeaderSize) invalid();
    if (headerSize > dib.size()) invalid();

    BmpLayout layout;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t planes = 0;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    if (core) {
        // The old OS/2 form: 16-bit sizes, no compression, three-byte colours.
        width = le16(dib, 4);
        height = le16(dib, 6);
        planes = le16(dib, 8);
        layout.bitCount = le16(dib, 10);
    } else {
        width = static_cast<std::int32_t>(le32(dib, 4));
        height = static_cast<std::int32_t>(le32(dib, 8));
        planes = le16(dib, 12);
        layout.bitCount = le16(dib, 14);
        compression = le32(dib, 16);
        coloursUsed = le32(dib, 32);
    }
    if (planes != 1) invalid();
    if (compression > static_cast<std::uint32_t>(BmpCompression::BitFields)) invalid();
    layout.compression = static_cast<BmpCompression>(compression);
    if (!knownForm(layout.bitCount, layout.compression)) invalid();

    // A negative height means the rows run from the top; zero or negative
    // widths and a zero height describe no picture at all.
    if (width <= 0 || height == 0) invalid();
    layout.topDown = height < 0;
    if (layout.topDown) height = -height;
    if (width > INT_MAX || height > INT_MAX) invalid();
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(height);

    const std::uint64_t bytesPerPixel = layout.bitCount <= 8 ? 1 : 4;
    if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * bytesPerPixel >
        MaxPictureBytes)
        invalid();

    std::uint64_t masksEnd = headerSize;
    if (layout.compression == BmpCompression::BitFields) {
        std::size_t at = InfoHeaderSize;
        if (headerSize < HeaderWithMasksSize) {
            at = headerSize;
            masksEnd = headerSize + 12u;
            if (masksEnd > dib.size()) invalid();
        }
        layout.masks = {le32(dib, at), le32(dib, at + 4), le32(dib, at + 8)};
    } else if (layout.bitCount == 16) {
        layout.masks = {0x7C00u, 0x03E0u, 0x001Fu};
    } else if (layout.bitCount == 32) {
        layout.masks = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    }

    // The colour table: the stated number of entries, or the full table for
    // up to 8 bits per pixel when none is stated. The old form states none;
    // its table may be cut short by where the file header puts the pixels.
    const std::uint64_t entrySize = core ? 3 : 4;
    std::uint64_t entries = coloursUsed;
    if (entries == 0 && layout.bitCount <= 8) entries = std::uint64_t{1} << layout.bitCount;
    if (core && pixelOffsetHint && *pixelOffsetHint >= masksEnd &&
        *pixelOffsetHint < masksEnd + entries * entrySize)
        entries = (*pixelOffsetHint - masksEnd) / entrySize;
    const std::uint64_t tableEnd = masksEnd + entries * entrySize;
    if (tableEnd > dib.size()) invalid();

    if (layout.bitCount <= 8) {
        layout.palette.assign(256, qRgb(0, 0, 0));
        const std::uint64_t used = std::min<std::uint64_t>(entries, 256);
        for (std::uint64_t i = 0; i < used; ++i) {
            const std::size_t at = static_cast<std::size_t>(masksEnd + i * entrySize);
            layout.palette[static_cast<std::size_t>(i)] = qRgb(dib[at + 2], dib[at + 1], dib[at]);
        }
    }

    // The file header says where the rows start; without one, or when it
    // points somewhere impossible, they follow the colour table.
    if (pixelOffsetHint && *pixelOffsetHint >= masksEnd && *pixelOffsetHint <= dib.size())
        layout.pixelOffset = static_cast<std::size_t>(*pixelOffsetHint);
    else
        layout.pixelOffset = static_cast<std::size_t>(tableEnd);
    return layout;
}

} // namespace fabulor
