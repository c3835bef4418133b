#include "Bitmap.h"

#include "BmpLayout.h"
#include "BmpPixels.h"
#include "GraphicErrors.h"
#include "PictureLimits.h"
#include "document/FileAccess.h"

#include <optional>
#include <vector>

namespace fabulor {

namespace {

constexpr std::size_t FileHeaderSize = 14;

// Everything is decoded into a fresh image first, so a failure anywhere
// leaves the caller's bitmap as it was.
void readDib(std::span<const std::uint8_t> dib, std::optional<std::uint64_t> pixelOffsetHint, Bitmap& target)
{
    const BmpLayout layout = ReadBmpLayout(dib, pixelOffsetHint);
    target = Bitmap(DecodeBmpPixels(layout, dib));
}

} // namespace

void ReadMaskBitmap(std::span<const std::uint8_t> bytes, Bitmap& target)
{
    if (bytes.empty()) {
        target = Bitmap();
        return;
    }
    if (bytes.size() < FileHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') throw EInvalidGraphic();
    const std::uint32_t offBits =
        static_cast<std::uint32_t>(bytes[10]) | (static_cast<std::uint32_t>(bytes[11]) << 8) |
        (static_cast<std::uint32_t>(bytes[12]) << 16) | (static_cast<std::uint32_t>(bytes[13]) << 24);
    std::optional<std::uint64_t> hint;
    if (offBits >= FileHeaderSize) hint = offBits - FileHeaderSize;
    readDib(bytes.subspan(FileHeaderSize), hint, target);
}

void ReadMaskBitmap(const std::string& fileName, Bitmap& target)
{
    // A file larger than any picture we would hold is one that does not decode.
    const std::optional<std::vector<std::uint8_t>> bytes = ReadRegularFile(fileName, MaxPictureBytes);
    if (!bytes) throw EInvalidGraphic();
    ReadMaskBitmap(std::span<const std::uint8_t>(*bytes), target);
}

void ReadBitmapFromInfoHeader(std::span<const std::uint8_t> bytes, Bitmap& target)
{
    readDib(bytes, std::nullopt, target);
}

} // namespace fabulor
