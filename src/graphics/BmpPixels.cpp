#include "BmpPixels.h"

#include "GraphicErrors.h"

#include <algorithm>
#include <bit>

namespace fabulor {

namespace {

// One colour channel of a bit-field pixel, scaled to 8 bits.
class Channel {
public:
    explicit Channel(std::uint32_t mask)
        : m_mask(mask), m_shift(mask == 0 ? 0 : std::countr_zero(mask)), m_max(mask >> m_shift)
    {}

    int operator()(std::uint32_t pixel) const
    {
        if (m_max == 0) return 0;
        const std::uint64_t value = (pixel & m_mask) >> m_shift;
        return static_cast<int>((value * 255 + m_max / 2) / m_max);
    }

private:
    std::uint32_t m_mask;
    int m_shift;
    std::uint64_t m_max;
};

class BitFields {
public:
    explicit BitFields(const std::array<std::uint32_t, 3>& masks)
        : m_red(masks[0]), m_green(masks[1]), m_blue(masks[2])
    {}
    QRgb operator()(std::uint32_t pixel) const { return qRgb(m_red(pixel), m_green(pixel), m_blue(pixel)); }

private:
    Channel m_red, m_green, m_blue;
};

// Decodes one stored row of an uncompressed bitmap; `row` may be cut short
// by the end of the file, and only the pixels it holds in full are set.
void decodeRow(const BmpLayout& layout, const BitFields& fields, std::span<const std::uint8_t> row,
               uchar* out)
{
    const int width = layout.width;
    const std::size_t bytes = row.size();
    switch (layout.bitCount) {
    case 1: {
        const int n = static_cast<int>(std::min<std::size_t>(width, bytes * 8));
        for (int x = 0; x < n; ++x)
            out[x] = (row[static_cast<std::size_t>(x) >> 3] >> (7 - (x & 7))) & 1;
        break;
    }
    case 4: {
        const int n = static_cast<int>(std::min<std::size_t>(width, bytes * 2));
        for (int x = 0; x < n; ++x) {
            const std::uint8_t b = row[static_cast<std::size_t>(x) >> 1];
            out[x] = (x & 1) ? (b & 0x0F) : (b >> 4);
        }
        break;
    }
    case 8:
        std::copy_n(row.data(), std::min<std::size_t>(width, bytes), out);
        break;
    case 16: {
        auto* rgb = reinterpret_cast<QRgb*>(out);
        const int n = static_cast<int>(std::min<std::size_t>(width, bytes / 2));
        for (int x = 0; x < n; ++x) {
            const std::size_t at = static_cast<std::size_t>(x) * 2;
            rgb[x] = fields(static_cast<std::uint32_t>(row[at] | (row[at + 1] << 8)));
        }
        break;
    }
    case 24: {
        auto* rgb = reinterpret_cast<QRgb*>(out);
        const int n = static_cast<int>(std::min<std::size_t>(width, bytes / 3));
        for (int x = 0; x < n; ++x) {
            const std::size_t at = static_cast<std::size_t>(x) * 3;
            rgb[x] = qRgb(row[at + 2], row[at + 1], row[at]);
        }
        break;
    }
    case 32: {
        auto* rgb = reinterpret_cast<QRgb*>(out);
        const int n = static_cast<int>(std::min<std::size_t>(width, bytes / 4));
        for (int x = 0; x < n; ++x) {
            const std::size_t at = static_cast<std::size_t>(x) * 4;
            rgb[x] =
                fields(static_cast<std::uint32_t>(row[at]) | (static_cast<std::uint32_t>(row[at + 1]) << 8) |
                       (static_cast<std::uint32_t>(row[at + 2]) << 16) |
                       (static_cast<std::uint32_t>(row[at + 3]) << 24));
        }
        break;
    }
    default:
        break;
    }
}

void decodeUncompressed(const BmpLayout& layout, std::span<const std::uint8_t> data, QImage& image)
{
    const BitFields fields(layout.masks);
    const std::uint64_t stride = (static_cast<std::uint64_t>(layout.width) * layout.bitCount + 31) / 32 * 4;
    for (int r = 0; r < layout.height; ++r) {
        const std::uint64_t start = static_cast<std::uint64_t>(r) * stride;
        if (start >= data.size()) break; // the file ends early: the remaining rows keep their fill
        const std::size_t length =
            static_cast<std::size_t>(std::min<std::uint64_t>(stride, data.size() - start));
        const int y = layout.topDown ? r : layout.height - 1 - r;
        decodeRow(layout, fields, data.subspan(static_cast<std::size_t>(start), length), image.scanLine(y));
    }
}

// Run-length data as Windows writes it: pairs of (count, index) runs, and
// escapes for end of line, end of bitmap, a jump, and literal runs. Every
// write is clipped to the picture, so a run past the row's end or a jump
// out of the picture cannot touch memory outside it.
void decodeRunLength(const BmpLayout& layout, std::span<const std::uint8_t> data, QImage& image)
{
    const bool fourBit = layout.compression == BmpCompression::Rle4;
    const std::int64_t width = layout.width;
    const std::int64_t height = layout.height;
    std::int64_t x = 0;
    std::int64_t y = 0; // counted in the order the rows are stored
    uchar* line = nullptr;
    auto rowAt = [&](std::int64_t row) -> uchar* {
        if (row < 0 || row >= height) return nullptr;
        return image.scanLine(static_cast<int>(layout.topDown ? row : height - 1 - row));
    };
    auto put = [&](std::uint8_t index) {
        if (line && x < width) line[x] = index;
        ++x;
    };
    line = rowAt(y);
    std::size_t at = 0;
    while (at + 1 < data.size() && y < height) {
        const std::uint8_t count = data[at];
        const std::uint8_t value = data[at + 1];
        at += 2;
        if (count > 0) {
            // A run never continues on the next row: whatever lies past the
            // right edge is dropped.
            const std::int64_t n = std::min<std::int64_t>(count, std::max<std::int64_t>(width - x, 0));
            for (std::int64_t i = 0; i < n; ++i)
                put(fourBit ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
            x += count - n;
            continue;
        }
        switch (value) {
        case 0: // end of line
            x = 0;
            line = rowAt(++y);
            break;
        case 1: // end of bitmap
            return;
        case 2: // jump right and up
            if (at + 1 >= data.size()) return;
            x += data[at];
            y += data[at + 1];
            at += 2;
            line = rowAt(y);
            break;
        default: { // literal run, padded to a whole 16-bit word
            const std::size_t n = value;
            const std::size_t bytes = fourBit ? (n + 1) / 2 : n;
            for (std::size_t i = 0; i < n; ++i) {
                const std::size_t byteAt = at + (fourBit ? i / 2 : i);
                if (byteAt >= data.size()) return;
                const std::uint8_t b = data[byteAt];
                put(fourBit ? ((i & 1) ? (b & 0x0F) : (b >> 4)) : b);
            }
            at += (bytes + 1) & ~std::size_t{1};
            break;
        }
        }
    }
}

} // namespace

QImage DecodeBmpPixels(const BmpLayout& layout, std::span<const std::uint8_t> dib)
{
    const bool indexed = layout.bitCount <= 8;
    QImage image(layout.width, layout.height, indexed ? QImage::Format_Indexed8 : QImage::Format_RGB32);
    if (image.isNull()) throw EInvalidGraphic();
    if (indexed) {
        image.setColorTable(QList<QRgb>(layout.palette.begin(), layout.palette.end()));
        image.fill(0);
    } else {
        image.fill(qRgb(0, 0, 0));
    }

    const auto data = dib.subspan(std::min(layout.pixelOffset, dib.size()));
    if (layout.compression == BmpCompression::Rle8 || layout.compression == BmpCompression::Rle4)
        decodeRunLength(layout, data, image);
    else
        decodeUncompressed(layout, data, image);
    return image;
}

} // namespace fabulor
