#pragma once
// Colours as the skin document stores them: the 52 named colours of the
// reader's toolkit, and the conversion between a colour and its colour text.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace fabulor {

// 00BBGGRR (red in the low byte); 80000000 + index names a window-system
// colour, 1FFFFFFF means no colour and 20000000 the default colour.
using Colour = std::uint32_t;

struct NamedColour {
    std::string_view identifier;
    Colour value;
};

// All 52 entries; values are unique. The conversions below go through it;
// tests read it whole to check it.
std::span<const NamedColour> ColourTable();

// The table identifier when the colour has one ("clSilver"), otherwise "$"
// and eight upper-case hexadecimal digits ("$00DFDFDF").
std::string ColorToString(Colour colour);

// A table identifier in any letter case, or a number as ParseInteger takes
// it (its 32-bit pattern is the colour). Anything else throws EConvertError
// "'<text>' is not a valid integer value".
Colour StringToColor(std::string_view text);
// The same without the exception, for a caller that only asks whether the
// text is a colour: the message quotes the whole text, which may be hundreds
// of megabytes long. None where StringToColor throws.
std::optional<Colour> TextToColour(std::string_view text);

} // namespace fabulor
