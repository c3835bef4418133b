// skintool jpeg, skintool mask: what the editor would make of a picture file.

#include "Command.h"

#include "document/Errors.h"
#include "graphics/Bitmap.h"
#include "graphics/JpegPicture.h"

#include <QFile>

#include <cstdint>
#include <ostream>
#include <span>

namespace skintool {

namespace {

QByteArray readWholeFile(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) throw fabulor::EFOpenError(path);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw fabulor::EReadError();
    return bytes;
}

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
    const QByteArray bytes = readWholeFile(args[0]);
    const fabulor::JpegPicture picture = fabulor::DecodeJpegPicture(std::span(
        reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())));
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
