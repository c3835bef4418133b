#include "Bitmap.h"

#include "BmpLayout.h"
#include "BmpPixels.h"
#include "GraphicErrors.h"
#include "document/Errors.h"

#include <QFile>

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
    QFile file(QString::fromStdString(fileName));
    if (!file.open(QIODevice::ReadOnly)) throw EFOpenError(fileName);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw EReadError();
    ReadMaskBitmap(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                             static_cast<std::size_t>(bytes.size())),
                   target);
}

void ReadBitmapFromInfoHeader(std::span<const std::uint8_t> bytes, Bitmap& target)
{
    readDib(bytes, std::nullopt, target);
}

} // namespace fabulor
