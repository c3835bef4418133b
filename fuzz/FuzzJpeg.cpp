// The JPEG decoder: header and full pixel decoding. A picture either fails
// with the decoder's own error or decodes to pixels of the header's size
// and kind.

#include "FuzzCheck.h"

#include "graphics/GraphicErrors.h"
#include "graphics/JpegDecoder.h"
#include "graphics/JpegPicture.h"

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <span>

using namespace fabulor;

namespace {

// Decoding costs time in proportion to the pixels the header claims, however
// few bytes follow it: a few bytes may ask for 256 MiB of pixels, which takes
// seconds to fill in. Larger pictures have their header checked only, so the
// fuzzer's time goes into many inputs rather than a few huge ones.
constexpr std::int64_t MaxDecodedPixels = 4 * 1024 * 1024;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    JpegHeader header;
    try {
        header = ReadJpegHeader(bytes);
    } catch (const EJPEG&) {
        // The picture itself must fail the same way.
        bool failed = false;
        try {
            DecodeJpegPicture(bytes);
        } catch (const EJPEG&) {
            failed = true;
        } catch (const std::exception& error) {
            fuzzcheck::unexpected("DecodeJpegPicture", error);
        }
        FUZZ_CHECK(failed);
        return 0;
    } catch (const std::exception& error) {
        fuzzcheck::unexpected("ReadJpegHeader", error);
    }
    FUZZ_CHECK(header.width > 0 && header.height > 0);

    try {
        const JpegPicture picture = DecodeJpegPicture(bytes);
        FUZZ_CHECK(picture.width() == header.width && picture.height() == header.height);
        FUZZ_CHECK(picture.greyscale() == header.greyscale && picture.progressive() == header.progressive);
        if (std::int64_t{header.width} * header.height > MaxDecodedPixels) return 0;

        const QImage& pixels = picture.pixels();
        FUZZ_CHECK(!pixels.isNull());
        FUZZ_CHECK(pixels.width() == header.width && pixels.height() == header.height);
        if (header.greyscale) {
            FUZZ_CHECK(pixels.format() == QImage::Format_Indexed8);
            FUZZ_CHECK(pixels.colorCount() == JpegGreyLevels);
            for (int y = 0; y < pixels.height(); ++y) {
                const uchar* line = pixels.constScanLine(y);
                for (int x = 0; x < pixels.width(); ++x)
                    FUZZ_CHECK(line[x] < JpegGreyLevels);
            }
        } else {
            FUZZ_CHECK(pixels.format() == QImage::Format_RGB888);
        }
        FUZZ_CHECK(&picture.pixels() == &pixels); // decoded once, then kept
    } catch (const EJPEG&) {
        std::fprintf(stderr, "self-check failed: the header read once but not a second time\n");
        std::abort();
    } catch (const std::exception& error) {
        fuzzcheck::unexpected("decoding the pixels", error);
    }
    return 0;
}
