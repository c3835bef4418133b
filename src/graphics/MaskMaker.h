#pragma once
// Making a window mask from a picture: the pixels near a key colour are
// hidden (black), the others shown (white), kept as a 1-bit bitmap and
// written as the BMP file the mask reader takes.

#include <QImage>

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace fabulor {

// The colour a mask is cut by, and how far from it, on each of red, green
// and blue, a pixel may be and still be hidden.
struct MaskKey {
    QRgb colour = 0;   // alpha is not looked at
    int tolerance = 0; // 0 to 255
};

inline constexpr int MaxMaskTolerance = 255;

inline bool HiddenByKey(QRgb pixel, const MaskKey& key)
{
    auto near = [&](int a, int b) { return (a > b ? a - b : b - a) <= key.tolerance; };
    return near(qRed(pixel), qRed(key.colour)) && near(qGreen(pixel), qGreen(key.colour)) &&
           near(qBlue(pixel), qBlue(key.colour));
}

// Whether a made mask means what it was made to mean. The window takes as
// hidden the colour of the mask's top-left pixel, whatever it is, and a mask
// of one colour gives no shape at all; a mask that would be read otherwise
// than it was made is refused rather than written.
enum class MaskVerdict {
    Usable,
    EmptyPicture, // no pixels
    TooLarge,     // more pixels than the mask reader takes
    TopLeftShown, // the window would show the hidden part and hide the rest
    AllHidden,    // one colour: the whole window would show
};

struct MadeMask {
    // Format_Mono with the palette {black, white}: index 0 hidden, 1 shown.
    // Null for an empty or too large picture.
    QImage image;
    std::uint64_t hidden = 0; // pixels within the key's tolerance
    MaskVerdict verdict = MaskVerdict::EmptyPicture;
};

// The mask of every pixel of picture (any QImage format; palette pictures by
// their palette colours).
MadeMask MakeMask(const QImage& picture, const MaskKey& key);

// Why a verdict refuses the mask, in skintool's English; empty for Usable.
std::string_view MaskVerdictMessage(MaskVerdict verdict);

// The BMP file of a made mask: 1 bit per pixel, the two-entry palette
// black and white, rows bottom-up and padded to four bytes.
std::vector<std::uint8_t> EncodeMaskBmp(const QImage& mask);

// The pixels of a picture file as the program decodes it: a JPEG picture or
// a Windows bitmap, told apart by content, within the decoders' size limits.
// Throws the decoder's failure (EJPEG, EInvalidGraphic), or EInvalidGraphic
// "Picture is neither a JPEG picture nor a bitmap" for anything else.
QImage DecodeMaskSource(std::span<const std::uint8_t> bytes);

// A key colour as text: "#RRGGBB", or a colour as the skin document writes
// it ("$00BBGGRR", "clBlack"). Nothing for other text, and for colours that
// are no fixed RGB value (the window system's colours, clNone).
std::optional<QRgb> ParseKeyColour(std::string_view text);

} // namespace fabulor
