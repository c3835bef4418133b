#include "JpegDecoder.h"

#include "GraphicErrors.h"
#include "PictureLimits.h"

// libjpeg's headers expect size_t and FILE to be declared already.
#include <QColor>

#include <algorithm>
#include <atomic>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>

#include <vector>

namespace fabulor {

namespace {

struct ErrorManager {
    jpeg_error_mgr pub; // first, so libjpeg's pointer to it is a pointer to us
    std::jmp_buf jump;
};

void onFatalError(j_common_ptr info)
{
    // Leave libjpeg at once: returning from here is not allowed, and a C++
    // exception must not cross its C frames.
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Warnings and traces are not shown to anybody.
void onOutputMessage(j_common_ptr) {}

// A damaged progressive file can hold endless tiny scans, and every scan
// passes over the whole picture: stop once the scans add up to far more work
// than any real picture needs (a few dozen scans of the largest picture we
// accept, at most 1000 scans of a small one), long before it becomes a hang.
constexpr std::uint64_t MaxScanPixels = std::uint64_t(1) << 32;
constexpr std::uint64_t MinScans = 16;
constexpr std::uint64_t MaxScans = 1000;

std::uint64_t scanLimit(j_decompress_ptr info)
{
    const std::uint64_t pixels =
        std::max<std::uint64_t>(std::uint64_t(info->image_width) * info->image_height, 1);
    return std::clamp(MaxScanPixels / pixels, MinScans, MaxScans);
}

// Our progress monitor: libjpeg's, and the flag that asks a decode running
// on another thread to stop.
struct ProgressMonitor {
    jpeg_progress_mgr pub; // first, so libjpeg's pointer to it is a pointer to us
    const std::atomic<bool>* stop = nullptr;
};

constexpr int NoError = -1;
constexpr int Stopped = -2; // not a library code: asked to stop

bool stopAsked(const std::atomic<bool>* stop)
{
    return stop && stop->load(std::memory_order_relaxed);
}

void onProgress(j_common_ptr info)
{
    if (!info->is_decompressor) return;
    const auto decompressor = reinterpret_cast<j_decompress_ptr>(info);
    // Called over and over inside the library's long loops (a progressive
    // picture's scans are all read before the first row comes out).
    if (stopAsked(reinterpret_cast<const ProgressMonitor*>(info->progress)->stop)) {
        info->err->msg_code = Stopped;
        info->err->error_exit(info);
    }
    if (std::uint64_t(decompressor->input_scan_number) > scanLimit(decompressor)) {
        info->err->msg_code = JERR_NOT_COMPILED;
        info->err->error_exit(info);
    }
}

// Owns one decompressor; destroying it is safe whether or not creating it
// got anywhere, since the structure starts zeroed.
class Decompressor {
public:
    Decompressor()
    {
        info.err = jpeg_std_error(&errors.pub);
        errors.pub.error_exit = onFatalError;
        errors.pub.output_message = onOutputMessage;
        progress.pub.progress_monitor = onProgress;
    }
    ~Decompressor() { jpeg_destroy_decompress(&info); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    jpeg_decompress_struct info{};
    ErrorManager errors{};
    ProgressMonitor progress{};
};

// The steps below are the only places that call libjpeg. Each sets the jump
// target itself and holds nothing that needs destroying, so a longjmp out of
// the library skips no destructor. They return NoError or the message code.

int readHeaderStep(Decompressor& d, const std::uint8_t* data, std::size_t size, JpegHeader& header)
{
    if (setjmp(d.errors.jump)) return d.errors.pub.msg_code;
    jpeg_create_decompress(&d.info);
    // jpeg_create_decompress resets the structure; the error manager was set
    // before it for failures inside it, the progress monitor comes after.
    d.info.progress = &d.progress.pub;
    jpeg_mem_src(&d.info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&d.info, TRUE);
    header.width = static_cast<int>(d.info.image_width);
    header.height = static_cast<int>(d.info.image_height);
    header.greyscale = d.info.jpeg_color_space == JCS_GRAYSCALE;
    header.progressive = jpeg_has_multiple_scans(&d.info) != 0;
    return NoError;
}

// Where the decoded rows go; plain data, shared with the C frame below.
struct RowTarget {
    uchar* bits = nullptr;
    qsizetype bytesPerLine = 0;
    int width = 0;
    int height = 0;
    int scaleDenominator = 1;   // 1, 2, 4 or 8: the picture at that fraction of its size
    JSAMPLE* cmykRow = nullptr; // room for one row of four-channel samples
    const std::atomic<bool>* stop = nullptr;
};

void cmykToRgb(const JSAMPLE* cmyk, uchar* rgb, int width, bool inverted)
{
    // Adobe's writers store the four channels inverted; plain CMYK is not.
    for (int x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        rgb[0] = static_cast<uchar>((c * k + 127) / 255);
        rgb[1] = static_cast<uchar>((m * k + 127) / 255);
        rgb[2] = static_cast<uchar>((y * k + 127) / 255);
    }
}

// Most of what a decompressor holds is bounded by our picture size limit;
// this caps the rest (the whole-image coefficient buffers of multi-scan files).
constexpr long MaxLibraryMemory = 512L * 1024L * 1024L;

int decodeStep(Decompressor& d, const std::uint8_t* data, std::size_t size, RowTarget& target)
{
    if (setjmp(d.errors.jump)) return d.errors.pub.msg_code;
    jpeg_create_decompress(&d.info);
    d.progress.stop = target.stop;
    d.info.progress = &d.progress.pub;
    d.info.mem->max_memory_to_use = MaxLibraryMemory;
    jpeg_mem_src(&d.info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&d.info, TRUE);

    d.info.scale_num = 1;
    d.info.scale_denom = static_cast<unsigned int>(target.scaleDenominator);
    d.info.dct_method = JDCT_FLOAT;
    d.info.do_block_smoothing = TRUE;
    const bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
    if (d.info.jpeg_color_space == JCS_GRAYSCALE)
        d.info.out_color_space = JCS_GRAYSCALE;
    else if (cmyk)
        d.info.out_color_space = JCS_CMYK; // libjpeg has no CMYK to RGB step; we do it
    else
        d.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d.info);
    if (static_cast<int>(d.info.output_width) != target.width ||
        static_cast<int>(d.info.output_height) != target.height)
        return JERR_IMAGE_TOO_BIG; // cannot happen; never write past the image

    while (d.info.output_scanline < d.info.output_height) {
        if (stopAsked(target.stop)) return Stopped;
        uchar* line = target.bits + static_cast<qsizetype>(d.info.output_scanline) * target.bytesPerLine;
        JSAMPROW row = cmyk ? target.cmykRow : line;
        if (jpeg_read_scanlines(&d.info, &row, 1) != 1) break;
        if (cmyk) cmykToRgb(target.cmykRow, line, target.width, d.info.saw_Adobe_marker != 0);
    }
    return NoError;
}

} // namespace

JpegHeader ReadJpegHeader(std::span<const std::uint8_t> bytes)
{
    // libjpeg's memory source would refuse this too; don't ask it.
    if (bytes.empty()) throw EJPEG(JERR_INPUT_EMPTY);
    JpegHeader header;
    int code = NoError;
    {
        Decompressor d;
        code = readHeaderStep(d, bytes.data(), bytes.size(), header);
    }
    if (code != NoError) throw EJPEG(code);
    const std::uint64_t bytesPerPixel = header.greyscale ? 1 : 3;
    if (static_cast<std::uint64_t>(header.width) * static_cast<std::uint64_t>(header.height) * bytesPerPixel >
        MaxPictureBytes)
        throw EJPEG(JERR_IMAGE_TOO_BIG);
    return header;
}

namespace {

// The picture decoded at 1/denominator of its size, as its output sides
// come out of the library (rounded up).
QImage DecodeScaled(std::span<const std::uint8_t> bytes, const JpegHeader& header, int denominator,
                    const std::atomic<bool>* stop)
{
    constexpr int midGrey = 128;
    const int width = (header.width + denominator - 1) / denominator;
    const int height = (header.height + denominator - 1) / denominator;
    QImage image;
    if (header.greyscale) {
        image = QImage(width, height, QImage::Format_Indexed8);
        if (image.isNull()) return image;
        image.setColorCount(JpegGreyLevels);
        for (int i = 0; i < JpegGreyLevels; ++i) {
            const int v = (i * 255 + (JpegGreyLevels - 1) / 2) / (JpegGreyLevels - 1);
            image.setColor(i, qRgb(v, v, v));
        }
    } else {
        image = QImage(width, height, QImage::Format_RGB888);
        if (image.isNull()) return image;
    }
    // What the library never gets to stays mid grey, the colour it fills
    // missing data with itself.
    if (header.greyscale)
        image.fill(midGrey); // raw grey for now; reduced to its level below
    else
        image.fill(QColor(midGrey, midGrey, midGrey));

    std::vector<JSAMPLE> cmykRow(static_cast<std::size_t>(width) * 4);
    RowTarget target{image.bits(), image.bytesPerLine(), width, height, denominator, cmykRow.data(), stop};
    int code = NoError;
    {
        Decompressor d;
        code = decodeStep(d, bytes.data(), bytes.size(), target);
    }
    if (code == Stopped) return {};

    if (header.greyscale) {
        // Reduce the 256 greys to JpegGreyLevels, each to its nearest level.
        uchar levelOf[256];
        for (int v = 0; v < 256; ++v)
            levelOf[v] = static_cast<uchar>((v * (JpegGreyLevels - 1) + 127) / 255);
        for (int y = 0; y < image.height(); ++y) {
            uchar* line = image.scanLine(y);
            for (int x = 0; x < image.width(); ++x)
                line[x] = levelOf[line[x]];
        }
    }
    return image;
}

} // namespace

std::uint64_t JpegPixelBytes(const JpegHeader& header)
{
    // As QImage lays the rows out: each padded to four bytes.
    const std::uint64_t bitsPerPixel = header.greyscale ? 8 : 24;
    const std::uint64_t bytesPerLine = (std::uint64_t(header.width) * bitsPerPixel + 31) / 32 * 4;
    return bytesPerLine * std::uint64_t(header.height);
}

QImage DecodeJpegPixels(std::span<const std::uint8_t> bytes, const JpegHeader& header,
                        const std::atomic<bool>* stop)
{
    return DecodeScaled(bytes, header, 1, stop);
}

QImage DecodeJpegPreview(std::span<const std::uint8_t> bytes, const JpegHeader& header, QSize atLeast)
{
    // The library scales in its inverse transform, so an eighth of the
    // picture costs an eighth squared of the memory and little of the time.
    int denominator = 8;
    while (denominator > 1 && ((header.width + denominator - 1) / denominator < atLeast.width() ||
                               (header.height + denominator - 1) / denominator < atLeast.height()))
        denominator /= 2;
    return DecodeScaled(bytes, header, denominator, nullptr);
}

} // namespace fabulor
