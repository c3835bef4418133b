#include "pictures/Region.h"

#include <QRect>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace fabulor {

namespace {

constexpr std::uint32_t kRgbBits = 0x00FFFFFF;

// A region of more rectangles than this (128 MiB of them, and as much again
// in Qt's own copy) is not built: a mask that intricate, such as a
// pixel-sized checkerboard, gives no region, as a mask of one colour does,
// instead of gigabytes of rectangles.
constexpr std::size_t MaxRegionRects = std::size_t{8} * 1024 * 1024;

// One visible run of a row: columns [left, right).
struct Span {
    int left;
    int right;
};

// Each row is first turned into a bit row (bit x set when pixel x is
// visible), 64 pixels to a word. Equal bit rows are stacked into one band, so
// the rectangles come out in the y-x banded order QRegion keeps internally
// and can be handed over in a single call; uniting rectangles one at a time
// would cost time quadratic in their number. Runs are read off the bit row's
// edges, so the time per row follows the number of runs, not of pixels.
// Asked for a picture instead, it keeps the bit rows and only counts the
// rectangles, so that the picture follows the same rules as the region.
class BandBuilder {
public:
    enum class Output { Region, Picture };

    BandBuilder(int width, int height, Output output, std::size_t maxRects = MaxRegionRects)
        : m_output(output), m_maxRects(std::min(maxRects, MaxRegionRects)), m_width(width), m_height(height),
          m_words(static_cast<std::size_t>((width + 63) / 64)), m_row(m_words, 0), m_previous(m_words, 0)
    {
        if (output == Output::Picture) {
            m_picture = QImage(width, height, QImage::Format_MonoLSB);
            if (m_picture.isNull()) m_tooIntricate = true; // no memory for it: no shape
        }
    }

    // The bit row to fill for the next row; bits past the width must stay 0.
    std::uint64_t* row() { return m_row.data(); }

    void finishRow(int y)
    {
        if (m_output == Output::Picture) {
            if (!m_tooIntricate) keepRow(y);
        } else if (y == m_height / 8 && y >= 32) {
            reserveByEstimate(y);
        }
        if (y > 0 && std::memcmp(m_row.data(), m_previous.data(), m_words * sizeof(std::uint64_t)) == 0) {
            ++m_bandHeight;
            return;
        }
        flush();
        readRuns();
        m_bandTop = y;
        m_bandHeight = 1;
        m_row.swap(m_previous);
    }

    QRegion finish()
    {
        flush();
        QRegion region;
        if (m_tooIntricate) return region;
        if (!m_rects.empty()) region.setRects(m_rects.data(), static_cast<int>(m_rects.size()));
        return region;
    }

    // The picture, null where the region would be empty.
    QImage finishPicture()
    {
        flush();
        if (m_tooIntricate || m_count == 0) return {};
        m_picture.setColorTable({qRgba(0, 0, 0, 0), qRgba(255, 255, 255, 255)});
        return std::move(m_picture);
    }

private:
    // Byte i of a picture row holds pixels 8i to 8i+7, the first in its
    // least significant bit: the bit row's words, byte by byte from the low end.
    void keepRow(int y)
    {
        std::uint8_t* out = m_picture.scanLine(y);
        const auto bytes = static_cast<std::size_t>(m_picture.bytesPerLine());
        for (std::size_t i = 0; i < bytes; ++i)
            out[i] = static_cast<std::uint8_t>(m_row[i / 8] >> (8 * (i % 8)));
    }

    void readRuns()
    {
        m_band.clear();
        std::uint64_t carry = 0; // visibility of the pixel left of the word
        int start = 0;
        bool open = false;
        for (std::size_t i = 0; i < m_words; ++i) {
            const std::uint64_t bits = m_row[i];
            std::uint64_t edges = bits ^ ((bits << 1) | carry);
            carry = bits >> 63;
            while (edges != 0) {
                const int x = static_cast<int>(i * 64) + std::countr_zero(edges);
                if (open)
                    m_band.push_back({start, x});
                else
                    start = x;
                open = !open;
                edges &= edges - 1;
            }
        }
        if (open) m_band.push_back({start, m_width});
    }

    // A busy mask has millions of rectangles; growing the list by doubling
    // would copy them over and over, so guess the total from the first rows.
    void reserveByEstimate(int rowsDone)
    {
        const double perRow = static_cast<double>(m_rects.size() + m_band.size()) / rowsDone;
        const auto estimate = std::min(static_cast<std::size_t>(perRow * m_height * 1.05) + 64, m_maxRects);
        if (estimate > m_rects.capacity()) m_rects.reserve(estimate);
    }

    void flush()
    {
        m_count += m_band.size();
        if (m_tooIntricate || m_count > m_maxRects) {
            m_tooIntricate = true;
            m_band.clear();
            std::vector<QRect>().swap(m_rects);
            m_picture = QImage();
            return;
        }
        if (m_output == Output::Region)
            for (const Span& s : m_band)
                m_rects.emplace_back(s.left, m_bandTop, s.right - s.left, m_bandHeight);
        m_band.clear();
    }

    const Output m_output;
    const std::size_t m_maxRects;
    int m_width;
    int m_height;
    std::size_t m_words;
    std::vector<std::uint64_t> m_row;
    std::vector<std::uint64_t> m_previous; // the bit row the current band is made of
    std::vector<Span> m_band;
    int m_bandTop = 0;
    int m_bandHeight = 0;
    std::vector<QRect> m_rects;
    std::size_t m_count = 0; // rectangles so far
    QImage m_picture;        // asked for a picture: its rows so far
    bool m_tooIntricate = false;
};

// 32-bit pixels: visible where the colour bits differ from the key.
void packTrueColour(const std::uint32_t* row, int width, std::uint32_t key, std::uint64_t* out)
{
    int x = 0;
#if defined(__SSE2__)
    const __m128i rgb = _mm_set1_epi32(static_cast<int>(kRgbBits));
    const __m128i keys = _mm_set1_epi32(static_cast<int>(key));
    auto hidden4 = [&](int at) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + at));
        return _mm_cmpeq_epi32(_mm_and_si128(v, rgb), keys);
    };
    for (; x + 64 <= width; x += 64) {
        std::uint64_t bits = 0;
        for (int j = 0; j < 4; ++j) {
            // Sixteen compare results narrowed to bytes, then one mask of 16 bits.
            const int at = x + 16 * j;
            const __m128i lo = _mm_packs_epi32(hidden4(at), hidden4(at + 4));
            const __m128i hi = _mm_packs_epi32(hidden4(at + 8), hidden4(at + 12));
            const auto hidden = static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(lo, hi)));
            bits |= static_cast<std::uint64_t>(~hidden & 0xFFFFu) << (16 * j);
        }
        out[x / 64] = bits;
    }
#endif
    for (; x < width; x += 64) {
        std::uint64_t bits = 0;
        const int n = std::min(64, width - x);
        for (int j = 0; j < n; ++j)
            bits |= static_cast<std::uint64_t>(((row[x + j] ^ key) & kRgbBits) != 0) << j;
        out[x / 64] = bits;
    }
}

// 8-bit palette pixels through a visibility table; when only one index holds
// the key colour, a byte compare does it sixteen pixels at a time.
void packIndexed(const std::uint8_t* row, int width, const std::array<bool, 256>& visible,
                 int onlyHiddenIndex, std::uint64_t* out)
{
    int x = 0;
#if defined(__SSE2__)
    if (onlyHiddenIndex >= 0) {
        const __m128i keys = _mm_set1_epi8(static_cast<char>(onlyHiddenIndex));
        for (; x + 64 <= width; x += 64) {
            std::uint64_t bits = 0;
            for (std::ptrdiff_t j = 0; j < 4; ++j) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x + 16 * j));
                const auto hidden = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, keys)));
                bits |= static_cast<std::uint64_t>(~hidden & 0xFFFFu) << (16 * j);
            }
            out[x / 64] = bits;
        }
    }
#endif
    for (; x < width; x += 64) {
        std::uint64_t bits = 0;
        const int n = std::min(64, width - x);
        for (int j = 0; j < n; ++j)
            bits |= static_cast<std::uint64_t>(visible[row[x + j]]) << j;
        out[x / 64] = bits;
    }
}

// 1-bit pixels: the bytes are the bits already, eight bytes to a word, after
// mapping the two palette entries to visible or not (and, for the
// most-significant-bit-first layout, mirroring each byte).
void packMono(const std::uint8_t* row, int width, bool msbFirst, bool visible0, bool visible1,
              std::uint64_t* out)
{
    const std::size_t bytes = static_cast<std::size_t>((width + 7) / 8);
    const std::size_t words = static_cast<std::size_t>((width + 63) / 64);
    out[words - 1] = 0;
    std::memcpy(out, row, bytes); // byte i holds pixels 8i to 8i+7
    for (std::size_t i = 0; i < words; ++i) {
        std::uint64_t v = out[i];
        if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
        if (msbFirst) {
            v = ((v >> 1) & 0x5555555555555555u) | ((v & 0x5555555555555555u) << 1);
            v = ((v >> 2) & 0x3333333333333333u) | ((v & 0x3333333333333333u) << 2);
            v = ((v >> 4) & 0x0F0F0F0F0F0F0F0Fu) | ((v & 0x0F0F0F0F0F0F0F0Fu) << 4);
        }
        if (visible0 && visible1)
            v = ~std::uint64_t{0};
        else if (visible0)
            v = ~v;
        else if (!visible1)
            v = 0;
        out[i] = v;
    }
    if (width % 64 != 0) out[words - 1] &= (std::uint64_t{1} << (width % 64)) - 1;
}

QRgb paletteColour(const QList<QRgb>& table, int index)
{
    // An index past the palette reads as black, as QImage::pixel() reports it.
    return index < table.size() ? table[index] & kRgbBits : 0u;
}

void fromTrueColour(const QImage& image, BandBuilder& bands)
{
    const int w = image.width(), h = image.height();
    const std::uint32_t key = reinterpret_cast<const std::uint32_t*>(image.constScanLine(0))[0] & kRgbBits;
    for (int y = 0; y < h; ++y) {
        packTrueColour(reinterpret_cast<const std::uint32_t*>(image.constScanLine(y)), w, key, bands.row());
        bands.finishRow(y);
    }
}

// Palette pixels compare by their palette colours: two indices of the same
// colour are the same colour.
void fromIndexed(const QImage& image, BandBuilder& bands)
{
    const int w = image.width(), h = image.height();
    const QList<QRgb> table = image.colorTable();
    const QRgb key = paletteColour(table, image.constScanLine(0)[0]);
    std::array<bool, 256> visible{};
    int hiddenCount = 0, hiddenIndex = -1;
    for (int i = 0; i < 256; ++i) {
        visible[static_cast<std::size_t>(i)] = paletteColour(table, i) != key;
        if (!visible[static_cast<std::size_t>(i)]) {
            ++hiddenCount;
            hiddenIndex = i;
        }
    }
    const int onlyHidden = hiddenCount == 1 ? hiddenIndex : -1;
    for (int y = 0; y < h; ++y) {
        packIndexed(image.constScanLine(y), w, visible, onlyHidden, bands.row());
        bands.finishRow(y);
    }
}

void fromMono(const QImage& image, BandBuilder& bands)
{
    const int w = image.width(), h = image.height();
    const bool msbFirst = image.format() == QImage::Format_Mono;
    const QList<QRgb> table = image.colorTable();
    const std::uint8_t first = image.constScanLine(0)[0];
    const int keyIndex = msbFirst ? (first >> 7) & 1 : first & 1;
    const QRgb key = paletteColour(table, keyIndex);
    const bool visible0 = paletteColour(table, 0) != key;
    const bool visible1 = paletteColour(table, 1) != key;
    for (int y = 0; y < h; ++y) {
        packMono(image.constScanLine(y), w, msbFirst, visible0, visible1, bands.row());
        bands.finishRow(y);
    }
}

// Runs the builder over any image; palette images are compared by their
// palette colours.
void build(const QImage& image, BandBuilder& bands)
{
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        fromTrueColour(image, bands);
        break;
    case QImage::Format_Indexed8:
        fromIndexed(image, bands);
        break;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        fromMono(image, bands);
        break;
    default:
        // Any other layout: compare colours as QImage::pixel() gives them.
        fromTrueColour(image.convertToFormat(QImage::Format_ARGB32), bands);
        break;
    }
}

bool HasPixels(const QImage& image)
{
    return !image.isNull() && image.width() > 0 && image.height() > 0;
}

} // namespace

QRegion BuildRegionFromImage(const QImage& image, std::size_t maxRects)
{
    if (!HasPixels(image)) return {};
    BandBuilder bands(image.width(), image.height(), BandBuilder::Output::Region, maxRects);
    build(image, bands);
    return bands.finish();
}

QImage BuildShapeFromImage(const QImage& image)
{
    if (!HasPixels(image)) return {};
    BandBuilder bands(image.width(), image.height(), BandBuilder::Output::Picture);
    build(image, bands);
    return bands.finishPicture();
}

QRegion BuildRegionFromMask(const Bitmap& mask, std::size_t maxRects)
{
    if (mask.isEmpty()) return {};
    return BuildRegionFromImage(mask.image(), maxRects);
}

QImage BuildShapeFromMask(const Bitmap& mask)
{
    if (mask.isEmpty()) return {};
    return BuildShapeFromImage(mask.image());
}

} // namespace fabulor
