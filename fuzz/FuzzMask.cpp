// The mask reader and the window region built from its bitmap. A mask
// either reads or fails with the bitmap error; a read mask gives the region
// of exactly the pixels whose 24-bit colour differs from the top-left one,
// counted here the slow, plain way, and the 1-bit picture of the same pixels.

#include "FuzzCheck.h"

#include "graphics/Bitmap.h"
#include "graphics/GraphicErrors.h"
#include "pictures/Region.h"

#include <QImage>
#include <QRect>
#include <QRegion>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

using namespace fabulor;

namespace {

// Larger masks are only read: building their region and counting their
// pixels costs seconds under the sanitizers' instrumentation (a 20-byte
// header may ask for 256 MiB of pixels), so a busy machine would see them
// as hangs, and fuzzing time is better spent on many small masks.
constexpr std::int64_t MaxCheckedPixels = 16 * 1024 * 1024;
// The region builder gives up on masks of more rectangles than this (and
// gives no region); a mask of fewer runs in all always gets its region.
constexpr std::int64_t RegionRectLimit = 8 * 1024 * 1024;

struct Count {
    std::int64_t pixels = 0;
    std::int64_t runs = 0;
};

// The reference count is no code under test: without coverage feedback for
// it the fuzzer's time goes to the region builder.
__attribute__((no_sanitize("coverage"))) Count countVisible(const QImage& image)
{
    Count count;
    const QRgb key = image.pixel(0, 0) & 0x00FFFFFF;
    const int width = image.width(), height = image.height();
    for (int y = 0; y < height; ++y) {
        bool inRun = false;
        for (int x = 0; x < width; ++x) {
            const bool visible = (image.pixel(x, y) & 0x00FFFFFF) != key;
            count.pixels += visible;
            count.runs += visible && !inRun;
            inRun = visible;
        }
    }
    return count;
}

// Every bit of the picture's rows, the padding past the width included: it
// must be clear too.
__attribute__((no_sanitize("coverage"))) std::int64_t setBits(const QImage& picture)
{
    std::int64_t count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (qsizetype i = 0; i < picture.bytesPerLine(); ++i)
            count += std::popcount(static_cast<unsigned>(picture.constScanLine(y)[i]));
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Bitmap mask;
    try {
        ReadMaskBitmap(std::span<const std::uint8_t>(data, size), mask);
    } catch (const EInvalidGraphic&) {
        FUZZ_CHECK(mask.isEmpty()); // a failure leaves the bitmap as it was
        return 0;
    } catch (const std::exception& error) {
        fuzzcheck::unexpected("ReadMaskBitmap", error);
    }
    if (size == 0) FUZZ_CHECK(mask.isEmpty());
    if (std::int64_t{mask.width()} * mask.height() > MaxCheckedPixels) return 0;

    QRegion region;
    try {
        region = BuildRegionFromMask(mask);
    } catch (const std::exception& error) {
        fuzzcheck::unexpected("BuildRegionFromMask", error);
    }
    if (mask.isEmpty()) {
        FUZZ_CHECK(region.isEmpty());
        return 0;
    }

    const QRect bounds(0, 0, mask.width(), mask.height());
    std::int64_t area = 0;
    for (const QRect& rect : region) {
        FUZZ_CHECK(bounds.contains(rect));
        area += std::int64_t{rect.width()} * rect.height();
    }

    const Count visible = countVisible(mask.image());
    if (region.isEmpty() && visible.runs > RegionRectLimit) return 0; // too intricate: no region
    FUZZ_CHECK(area == visible.pixels);

    // The same part as a 1-bit picture: every pixel of the region set, and
    // as many set as the region has, so no other.
    QImage shape;
    try {
        shape = BuildShapeFromMask(mask);
    } catch (const std::exception& error) {
        fuzzcheck::unexpected("BuildShapeFromMask", error);
    }
    FUZZ_CHECK(shape.isNull() == region.isEmpty());
    if (shape.isNull()) return 0;
    FUZZ_CHECK(shape.size() == bounds.size() && shape.format() == QImage::Format_MonoLSB);
    for (const QRect& rect : region)
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                FUZZ_CHECK(shape.constScanLine(y)[x / 8] >> (x % 8) & 1);
    FUZZ_CHECK(setBits(shape) == area);
    return 0;
}
