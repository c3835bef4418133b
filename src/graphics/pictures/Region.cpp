#include "graphics/pictures/Region.h"

#include <QRect>

#include <array>
#include <cstdint>
#include <vector>

namespace fabulor {

namespace {

// One visible run of a row: columns [left, right).
struct Span {
    int left;
    int right;
    bool operator==(const Span&) const = default;
};

// Collects the runs row by row and stacks rows with the same runs into one
// band, so the rectangles come out in the y-x banded order QRegion keeps
// internally and can be handed over in a single call. Uniting rectangles one
// at a time would cost time quadratic in the number of runs.
class BandBuilder {
public:
    void finishRow(int y)
    {
        if (y > 0 && m_row == m_band) {
            ++m_bandHeight;
        } else {
            flush();
            m_band.swap(m_row);
            m_bandTop = y;
            m_bandHeight = 1;
        }
        m_row.clear();
    }

    void addRun(int left, int right) { m_row.push_back({left, right}); }

    QRegion finish()
    {
        flush();
        QRegion region;
        if (!m_rects.empty())
            region.setRects(m_rects.data(), static_cast<int>(m_rects.size()));
        return region;
    }

private:
    void flush()
    {
        for (const Span& s : m_band)
            m_rects.emplace_back(s.left, m_bandTop, s.right - s.left, m_bandHeight);
        m_band.clear();
    }

    std::vector<Span> m_row;
    std::vector<Span> m_band;
    int m_bandTop = 0;
    int m_bandHeight = 0;
    std::vector<QRect> m_rects;
};

constexpr std::uint32_t kRgbBits = 0x00FFFFFF;

// Runs of one row where visible(x) holds, added to the builder.
template <typename Visible>
void scanRow(int width, Visible visible, BandBuilder& bands)
{
    int x = 0;
    while (x < width) {
        while (x < width && !visible(x))
            ++x;
        if (x == width)
            break;
        const int start = x;
        while (x < width && visible(x))
            ++x;
        bands.addRun(start, x);
    }
}

QRegion fromTrueColour(const QImage& image)
{
    const int w = image.width(), h = image.height();
    const std::uint32_t key = reinterpret_cast<const std::uint32_t*>(image.constScanLine(0))[0] & kRgbBits;
    BandBuilder bands;
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        scanRow(w, [row, key](int x) { return ((row[x] ^ key) & kRgbBits) != 0; }, bands);
        bands.finishRow(y);
    }
    return bands.finish();
}

// Palette images: the colour of a pixel is its palette entry, so two indices
// with the same colour are the same colour. An index past the palette reads
// as black, as QImage::pixel() reports it.
QRegion fromIndexed(const QImage& image)
{
    const int w = image.width(), h = image.height();
    const QList<QRgb> table = image.colorTable();
    auto colourOf = [&table](int index) {
        return index < table.size() ? table[index] & kRgbBits : 0u;
    };
    const std::uint32_t key = colourOf(image.constScanLine(0)[0]);
    std::array<bool, 256> visible{};
    for (int i = 0; i < 256; ++i)
        visible[static_cast<std::size_t>(i)] = colourOf(i) != key;
    BandBuilder bands;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = image.constScanLine(y);
        scanRow(w, [row, &visible](int x) { return visible[row[x]]; }, bands);
        bands.finishRow(y);
    }
    return bands.finish();
}

} // namespace

QRegion BuildRegionFromImage(const QImage& image)
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return {};
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        return fromTrueColour(image);
    case QImage::Format_Indexed8:
        return fromIndexed(image);
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return fromIndexed(image.convertToFormat(QImage::Format_Indexed8));
    default:
        // Any other layout: compare colours as QImage::pixel() gives them.
        return fromTrueColour(image.convertToFormat(QImage::Format_ARGB32));
    }
}

QRegion BuildRegionFromMask(const Bitmap& mask)
{
    if (mask.isEmpty())
        return {};
    return BuildRegionFromImage(mask.image());
}

} // namespace fabulor
