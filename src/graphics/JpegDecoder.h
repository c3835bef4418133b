#pragma once
// The two jobs we give libjpeg: reading a picture's header, and decoding its
// pixels. Both keep libjpeg's fatal errors inside C frames (setjmp/longjmp)
// and release the decompressor on every path.

#include <QImage>

#include <atomic>
#include <cstdint>
#include <span>

namespace fabulor {

struct JpegHeader {
    int width = 0;
    int height = 0;
    bool greyscale = false;
    bool progressive = false; // more than one scan
};

// Number of grey levels a greyscale picture is reduced to.
inline constexpr int JpegGreyLevels = 236;

// Throws EJPEG with the library's message code when the header does not read,
// and with JERR_INPUT_EMPTY for empty bytes and JERR_IMAGE_TOO_BIG for a
// picture whose pixels would not fit our size limit.
JpegHeader ReadJpegHeader(std::span<const std::uint8_t> bytes);

// The memory the pixels of DecodeJpegPixels take, known from the header alone.
std::uint64_t JpegPixelBytes(const JpegHeader& header);

// Decodes the pixels of a picture whose header has been read: 24-bit RGB, or
// 8-bit indexed with JpegGreyLevels greys for greyscale. Never fails: data
// that ends early is filled in by the library, and whatever a fatal error
// leaves undecoded is mid grey. Once stop is set (from another thread) it
// ends soon, with a null image.
QImage DecodeJpegPixels(std::span<const std::uint8_t> bytes, const JpegHeader& header,
                        const std::atomic<bool>* stop = nullptr);

// The picture made smaller by the library itself, by a half, a quarter or an
// eighth, as far as it still covers atLeast (full size when even that does
// not): cheap pixels for a small view of a large picture.
QImage DecodeJpegPreview(std::span<const std::uint8_t> bytes, const JpegHeader& header, QSize atLeast);

} // namespace fabulor
