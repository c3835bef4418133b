// skintool jpeg, skintool mask: what the editor would make of a picture file.

#include "Command.h"
#include "InputFile.h"

#include "document/Errors.h"
#include "graphics/Bitmap.h"
#include "graphics/JpegPicture.h"
#include "graphics/PictureLimits.h"

#include <cstdint>
#include <ostream>
#include <span>
#include <vector>

namespace skintool {

namespace {

// The pixels a window shaped by this mask would show: those whose colour
// differs from the top-left pixel's.
std::uint64_t countVisible(const QImage& mask)
{
    if (mask.isNull() || mask.width() == 0 || mask.height() == 0) return 0;
    const QRgb key = mask.pixel(0, 0) & 0xFFFFFFu;
    std::uint64_t visible = 0;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            if ((mask.pixel(x, y) & 0xFFFFFFu) != key) ++visible;
    return visible;
}

} // namespace

int runJpeg(Args args, std::ostream& out, std::ostream&)
{
    const std::vector<std::uint8_t> bytes = readInputFile(args[0], fabulor::MaxPictureBytes);
    const fabulor::JpegPicture picture = fabulor::DecodeJpegPicture(std::span<const std::uint8_t>(bytes));
    out << picture.width() << 'x' << picture.height() << " grey=" << (picture.greyscale() ? 1 : 0)
        << " progressive=" << (picture.progressive() ? 1 : 0) << '\n';
    return ExitOk;
}

int runMask(Args args, std::ostream& out, std::ostream&)
{
    fabulor::Bitmap mask;
    fabulor::ReadMaskBitmap(args[0], mask);
    out << mask.width() << 'x' << mask.height() << " visible=" << countVisible(mask.image()) << '\n';
    return ExitOk;
}

} // namespace skintool
