#include "check/Contrast.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace fabulor {
namespace {

double Linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// One table of the 256 linear values, made once.
const std::array<double, 256>& LinearTable()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[std::size_t(i)] = Linear(i);
        return t;
    }();
    return table;
}

// Windows' default window-system colours (0xRRGGBB) by index, as on a
// Windows 10 desktop, where the reader runs.
constexpr std::array<QRgb, 31> SystemColours{
    0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000, 0x000000, 0x000000, 0xB4B4B4,
    0xF4F7FC, 0xABABAB, 0x0078D7, 0xFFFFFF, 0xF0F0F0, 0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969,
    0xE3E3E3, 0x000000, 0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0,
};

} // namespace

double RelativeLuminance(QRgb colour)
{
    const auto& linear = LinearTable();
    return 0.2126 * linear[std::size_t(qRed(colour))] + 0.7152 * linear[std::size_t(qGreen(colour))] +
           0.0722 * linear[std::size_t(qBlue(colour))];
}

double ContrastRatio(QRgb a, QRgb b)
{
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double WorstContrast(const QImage& background, QRect box, QRgb textColour, QRgb outside, double share)
{
    if (box.isEmpty()) return ContrastRatio(textColour, outside);
    const QRect inside = background.isNull() ? QRect() : box.intersected(background.rect());
    const double textLuminance = RelativeLuminance(textColour);
    const auto ratio = [textLuminance](double luminance) {
        return (std::max(textLuminance, luminance) + 0.05) / (std::min(textLuminance, luminance) + 0.05);
    };

    std::vector<double> ratios;
    ratios.reserve(std::size_t(box.width()) * std::size_t(box.height()));
    const std::size_t outsideCount =
        std::size_t(box.width()) * std::size_t(box.height()) -
        (inside.isEmpty() ? 0 : std::size_t(inside.width()) * std::size_t(inside.height()));
    ratios.insert(ratios.end(), outsideCount, ratio(RelativeLuminance(outside)));
    if (!inside.isEmpty()) {
        // Palette and 24-bit pictures alike, one row at a time.
        const QImage pixels = background.copy(inside).convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < pixels.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
            for (int x = 0; x < pixels.width(); ++x)
                ratios.push_back(ratio(RelativeLuminance(row[x])));
        }
    }
    const auto at = ratios.begin() + std::ptrdiff_t(std::floor(double(ratios.size() - 1) * share));
    std::nth_element(ratios.begin(), at, ratios.end());
    return *at;
}

QRgb ReaderColour(Colour colour)
{
    if ((colour & 0xFF000000u) == 0x80000000u) {
        const std::size_t index = colour & 0x00FFFFFFu;
        if (index < SystemColours.size()) return qRgb(qRed(SystemColours[index]), qGreen(SystemColours[index]),
                                                      qBlue(SystemColours[index]));
    }
    // 00BBGGRR: red in the low byte.
    return qRgb(int(colour & 0xFFu), int((colour >> 8) & 0xFFu), int((colour >> 16) & 0xFFu));
}

std::string PolishNumber(double value, int decimals)
{
    double scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    // A hair above, so 4.5 stored as 4.4999999 still shows as 4,5.
    const long long scaled = static_cast<long long>(std::floor(value * scale + 1e-9));
    std::string text = std::to_string(scaled / static_cast<long long>(scale));
    const long long fraction = scaled % static_cast<long long>(scale);
    if (decimals > 0 && fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, std::size_t(decimals) - digits.size(), '0');
        while (!digits.empty() && digits.back() == '0')
            digits.pop_back();
        text += ',' + digits;
    }
    return text;
}

} // namespace fabulor
