#pragma once
// Integers as the skin document writes and reads them. The parser is shared
// with every control that accepts a typed number, so its rules live here once.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fabulor {

// Accepts any number of leading spaces, then either an optional "+" or "-"
// with decimal digits (leading zeros allowed, the value must fit 32 bits
// signed), or hexadecimal digits of either case after "$", "x", "X", "0x" or
// "0X" (no sign; at most eight digits, taken as a 32-bit pattern, so
// "$FFFFFFFF" is -1). The digits must run to the end of the text. Anything
// else, the empty text included, gives no value.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// Decimal digits with a minus sign for negative values: no plus sign, no
// leading zeros, no spaces.
std::string IntegerToText(std::int32_t value);

} // namespace fabulor
