#include "check/Contrast.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
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
    0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x0078D7, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0,
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

    // Ratios run from 1 to 21; counted in steps of a hundredth, so a box of
    // any size needs no more memory than this table.
    constexpr int Steps = 100;
    std::vector<std::uint64_t> counts(20 * Steps + 1, 0);
    const auto count = [&](double luminance, std::uint64_t pixels) {
        const double ratio =
            (std::max(textLuminance, luminance) + 0.05) / (std::min(textLuminance, luminance) + 0.05);
        counts[std::size_t(std::clamp(int(std::floor((ratio - 1) * Steps + 1e-9)), 0, 20 * Steps))] += pixels;
    };

    const std::uint64_t all = std::uint64_t(box.width()) * std::uint64_t(box.height());
    const std::uint64_t within =
        inside.isEmpty() ? 0 : std::uint64_t(inside.width()) * std::uint64_t(inside.height());
    count(RelativeLuminance(outside), all - within);
    for (int y = inside.top(); !inside.isEmpty() && y <= inside.bottom(); ++y) {
        const uchar* line = background.constScanLine(y);
        for (int x = inside.left(); x <= inside.right(); ++x) {
            // The decoders give 24-bit colour or palette greys; anything else
            // goes the slow way.
            QRgb pixel;
            if (background.format() == QImage::Format_RGB888) {
                const uchar* rgb = line + 3 * std::ptrdiff_t(x);
                pixel = qRgb(rgb[0], rgb[1], rgb[2]);
            } else if (background.format() == QImage::Format_Indexed8) {
                pixel = background.color(line[x]);
            } else {
                pixel = background.pixel(x, y);
            }
            count(RelativeLuminance(pixel), 1);
        }
    }

    // The ratio that only `share` of the pixels fall below.
    const auto rank = std::uint64_t(std::floor(double(all - 1) * share));
    std::uint64_t seen = 0;
    for (std::size_t step = 0; step < counts.size(); ++step) {
        seen += counts[step];
        if (seen > rank) return 1 + double(step) / Steps;
    }
    return 21;
}

QRgb ReaderColour(Colour colour)
{
    if ((colour & 0xFF000000u) == 0x80000000u) {
        const std::size_t index = colour & 0x00FFFFFFu;
        if (index < SystemColours.size())
            return qRgb(qRed(SystemColours[index]), qGreen(SystemColours[index]),
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
