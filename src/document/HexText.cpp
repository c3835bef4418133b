#include "HexText.h"

#include <algorithm>
#include <array>

namespace fabulor {

namespace {

constexpr std::array<char, 16> digits{'0', '1', '2', '3', '4', '5', '6', '7',
                                      '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};

// Two output characters per byte value, looked up in one step.
constexpr std::array<std::array<char, 2>, 256> makeEncodeTable()
{
    std::array<std::array<char, 2>, 256> t{};
    for (unsigned i = 0; i < 256; ++i)
        t[i] = {digits[i >> 4], digits[i & 15]};
    return t;
}

// Nibble value of a digit, or NotADigit for any other byte.
constexpr std::uint8_t NotADigit = 0xFF;

constexpr std::array<std::uint8_t, 256> makeDecodeTable()
{
    std::array<std::uint8_t, 256> t{};
    for (auto& v : t)
        v = NotADigit;
    for (int i = 0; i < 10; ++i)
        t['0' + i] = static_cast<std::uint8_t>(i);
    for (int i = 0; i < 6; ++i) {
        t['A' + i] = static_cast<std::uint8_t>(10 + i);
        t['a' + i] = static_cast<std::uint8_t>(10 + i);
    }
    return t;
}

constexpr auto encodeTable = makeEncodeTable();
constexpr auto decodeTable = makeDecodeTable();

} // namespace

void AppendHex(std::string& out, std::span<const std::uint8_t> bytes)
{
    const std::size_t start = out.size();
    out.resize(start + 2 * bytes.size());
    char* p = out.data() + start;
    for (std::uint8_t b : bytes) {
        p[0] = encodeTable[b][0];
        p[1] = encodeTable[b][1];
        p += 2;
    }
}

std::size_t DecodeHex(std::string_view text, std::span<std::uint8_t> out)
{
    const std::size_t pairs = std::min(text.size() / 2, out.size());
    for (std::size_t i = 0; i < pairs; ++i) {
        const unsigned hi = decodeTable[static_cast<unsigned char>(text[2 * i])];
        const unsigned lo = decodeTable[static_cast<unsigned char>(text[2 * i + 1])];
        if ((hi | lo) > 0x0F) // either is NotADigit
            return i;
        out[i] = static_cast<std::uint8_t>((hi << 4) | lo);
    }
    return pairs;
}

} // namespace fabulor
