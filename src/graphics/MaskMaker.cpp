#include "graphics/MaskMaker.h"

#include "document/ColourTable.h"
#include "document/Errors.h"
#include "graphics/Bitmap.h"
#include "graphics/GraphicErrors.h"
#include "graphics/JpegPicture.h"
#include "graphics/PictureLimits.h"

#include <algorithm>
#include <array>

namespace fabulor {

namespace {

constexpr QRgb Black = 0xFF000000u;
constexpr QRgb White = 0xFFFFFFFFu;

// Rows are converted a strip at a time where the picture's own layout is not
// read directly, so a large picture is never held twice over.
constexpr int StripRows = 64;

// Sets the shown bits of one mask row (most significant bit first, as
// Format_Mono keeps them); hidden pixels stay 0. Counts the hidden ones.
class RowWriter {
public:
    RowWriter(uchar* row, int width) : m_row(row) { std::fill_n(row, (width + 7) / 8, 0); }

    void put(int x, bool hidden)
    {
        if (hidden)
            ++m_hidden;
        else
            m_row[x >> 3] |= static_cast<uchar>(0x80u >> (x & 7));
    }
    std::uint64_t hidden() const { return m_hidden; }

private:
    uchar* m_row;
    std::uint64_t m_hidden = 0;
};

std::uint64_t markRows(const QImage& picture, const MaskKey& key, QImage& mask)
{
    const int w = picture.width(), h = picture.height();
    std::uint64_t hidden = 0;
    switch (picture.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        for (int y = 0; y < h; ++y) {
            const auto* in = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
            RowWriter out(mask.scanLine(y), w);
            for (int x = 0; x < w; ++x)
                out.put(x, HiddenByKey(in[x], key));
            hidden += out.hidden();
        }
        return hidden;
    case QImage::Format_RGB888:
        for (int y = 0; y < h; ++y) {
            const uchar* in = picture.constScanLine(y);
            RowWriter out(mask.scanLine(y), w);
            for (int x = 0; x < w; ++x, in += 3)
                out.put(x, HiddenByKey(qRgb(in[0], in[1], in[2]), key));
            hidden += out.hidden();
        }
        return hidden;
    case QImage::Format_Indexed8: {
        // Decided once per palette entry; an index past the palette reads
        // as black, as QImage::pixel() reports it.
        const QList<QRgb> table = picture.colorTable();
        std::array<bool, 256> hiddenIndex{};
        for (std::size_t i = 0; i < hiddenIndex.size(); ++i)
            hiddenIndex[i] = HiddenByKey(i < std::size_t(table.size()) ? table[qsizetype(i)] : Black, key);
        for (int y = 0; y < h; ++y) {
            const uchar* in = picture.constScanLine(y);
            RowWriter out(mask.scanLine(y), w);
            for (int x = 0; x < w; ++x)
                out.put(x, hiddenIndex[in[x]]);
            hidden += out.hidden();
        }
        return hidden;
    }
    default:
        for (int top = 0; top < h; top += StripRows) {
            const int rows = std::min(StripRows, h - top);
            const QImage strip = picture.copy(0, top, w, rows).convertToFormat(QImage::Format_RGB32);
            for (int y = 0; y < rows; ++y) {
                const auto* in = reinterpret_cast<const QRgb*>(strip.constScanLine(y));
                RowWriter out(mask.scanLine(top + y), w);
                for (int x = 0; x < w; ++x)
                    out.put(x, HiddenByKey(in[x], key));
                hidden += out.hidden();
            }
        }
        return hidden;
    }
}

bool startsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> head)
{
    return bytes.size() >= head.size() && std::equal(head.begin(), head.end(), bytes.begin());
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

MadeMask MakeMask(const QImage& picture, const MaskKey& key)
{
    MadeMask made;
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return made;
    // The mask reader holds a 1-bit bitmap at a byte per pixel: a larger
    // mask would be written but never read back.
    if (std::uint64_t(picture.width()) * std::uint64_t(picture.height()) > MaxPictureBytes) {
        made.verdict = MaskVerdict::TooLarge;
        return made;
    }
    QImage mask(picture.size(), QImage::Format_Mono);
    if (mask.isNull()) { // Qt could not allocate it
        made.verdict = MaskVerdict::TooLarge;
        return made;
    }
    mask.setColorTable({Black, White});
    made.hidden = markRows(picture, key, mask);
    const bool topLeftHidden = (mask.constScanLine(0)[0] & 0x80u) == 0;
    const std::uint64_t all = std::uint64_t(picture.width()) * std::uint64_t(picture.height());
    if (!topLeftHidden)
        made.verdict = MaskVerdict::TopLeftShown;
    else if (made.hidden == all)
        made.verdict = MaskVerdict::AllHidden;
    else
        made.verdict = MaskVerdict::Usable;
    made.image = std::move(mask);
    return made;
}

std::string_view MaskVerdictMessage(MaskVerdict verdict)
{
    switch (verdict) {
    case MaskVerdict::Usable:
        return {};
    case MaskVerdict::EmptyPicture:
        return "The picture is empty";
    case MaskVerdict::TooLarge:
        return "The picture has more pixels than a mask may have";
    case MaskVerdict::TopLeftShown:
        return "The top-left pixel is not near the key colour: a window takes the top-left pixel's "
               "colour as the hidden one, so this mask would show the inverse shape";
    case MaskVerdict::AllHidden:
        return "Every pixel is near the key colour: a mask of one colour gives the window no shape";
    }
    return {};
}

std::vector<std::uint8_t> EncodeMaskBmp(const QImage& mask)
{
    // Written here rather than by Qt's BMP writer: that one copies each
    // scanline whole, the padding bytes at its end included, whatever memory
    // they hold, so the same mask would give different files; and its
    // choice of layout is not documented, while the mask reader and the
    // reader program rely on this one.
    const QImage mono =
        mask.format() == QImage::Format_Mono ? mask : mask.convertToFormat(QImage::Format_Mono);
    const auto width = std::uint32_t(mono.width()), height = std::uint32_t(mono.height());
    const std::uint32_t rowBytes = (width + 31) / 32 * 4;
    const std::uint32_t bitBytes = (width + 7) / 8;
    const std::uint32_t pixelOffset = 14 + 40 + 2 * 4;
    const std::uint64_t fileSize = pixelOffset + std::uint64_t(rowBytes) * height;
    if (fileSize > 0xFFFFFFFFu) throw EInvalidGraphic("The mask is too large for a bitmap file");

    std::vector<std::uint8_t> out;
    out.reserve(std::size_t(fileSize));
    auto u16 = [&](std::uint32_t v) {
        out.push_back(std::uint8_t(v));
        out.push_back(std::uint8_t(v >> 8));
    };
    auto u32 = [&](std::uint32_t v) {
        u16(v & 0xFFFFu);
        u16(v >> 16);
    };
    // File header.
    out.push_back('B');
    out.push_back('M');
    u32(std::uint32_t(fileSize));
    u32(0); // reserved
    u32(pixelOffset);
    // Information header: positive height, rows bottom-up; uncompressed.
    u32(40);
    u32(width);
    u32(height);
    u16(1); // planes
    u16(1); // bits per pixel
    u32(0); // no compression
    u32(rowBytes * height);
    u32(2835); // 72 dots per inch
    u32(2835);
    u32(2); // colours in the palette
    u32(2);
    // Palette, blue-green-red-zero: 0 black (hidden), 1 white (shown).
    u32(0x00000000u);
    u32(0x00FFFFFFu);
    // Format_Mono keeps the leftmost pixel in the highest bit, as BMP does.
    const std::uint8_t lastByteBits =
        width % 8 == 0 ? std::uint8_t(0xFF) : std::uint8_t(0xFFu << (8 - width % 8));
    for (std::uint32_t row = height; row-- > 0;) {
        const uchar* bits = mono.constScanLine(int(row));
        out.insert(out.end(), bits, bits + bitBytes);
        if (bitBytes > 0) out.back() &= lastByteBits;
        out.insert(out.end(), rowBytes - bitBytes, std::uint8_t(0));
    }
    return out;
}

QImage DecodeMaskSource(std::span<const std::uint8_t> bytes)
{
    if (startsWith(bytes, {0xFF, 0xD8})) return DecodeJpegPicture(bytes).pixels();
    if (startsWith(bytes, {'B', 'M'})) {
        Bitmap bitmap;
        ReadMaskBitmap(bytes, bitmap);
        return bitmap.image();
    }
    throw EInvalidGraphic("Picture is neither a JPEG picture nor a bitmap");
}

std::optional<QRgb> ParseKeyColour(std::string_view text)
{
    if (!text.empty() && text.front() == '#') {
        if (text.size() != 7) return std::nullopt;
        QRgb rgb = 0;
        for (char c : text.substr(1)) {
            const int d = hexDigit(c);
            if (d < 0) return std::nullopt;
            rgb = (rgb << 4) | QRgb(d);
        }
        return rgb | 0xFF000000u;
    }
    Colour colour = 0;
    try {
        colour = StringToColor(text);
    } catch (const Exception&) {
        return std::nullopt;
    }
    // 00BBGGRR; anything in the top byte is a window-system colour or "none".
    if ((colour & 0xFF000000u) != 0) return std::nullopt;
    return qRgb(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

} // namespace fabulor
