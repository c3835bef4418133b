#include "AnsiText.h"

#include <array>
#include <cstdint>

namespace fabulor {

namespace {

constexpr std::array<unsigned char, 256> makeUpperTable()
{
    std::array<unsigned char, 256> t{};
    for (unsigned i = 0; i < 256; ++i)
        t[i] = static_cast<unsigned char>(i);
    for (unsigned c = 'a'; c <= 'z'; ++c)
        t[c] = static_cast<unsigned char>(c - 0x20);
    // š ś ť ž ź sit 0x10 above their capitals.
    t[0x9A] = 0x8A;
    for (unsigned c = 0x9C; c <= 0x9F; ++c)
        t[c] = static_cast<unsigned char>(c - 0x10);
    t[0xB3] = 0xA3; // ł
    t[0xB9] = 0xA5; // ą
    t[0xBA] = 0xAA; // ş
    t[0xBE] = 0xBC; // ľ
    t[0xBF] = 0xAF; // ż
    // ŕ to ţ mirror Ŕ to Ţ; the division sign 0xF7 has no capital (0xD7 is the
    // multiplication sign), and ß (0xDF) and the dot above (0xFF) stay.
    for (unsigned c = 0xE0; c <= 0xFE; ++c)
        if (c != 0xF7) t[c] = static_cast<unsigned char>(c - 0x20);
    return t;
}

constexpr std::array<unsigned char, 256> upperTable = makeUpperTable();

inline unsigned char upper(char c)
{
    return upperTable[static_cast<unsigned char>(c)];
}

} // namespace

std::string AnsiUpperCase(std::string_view text)
{
    std::string out(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        out[i] = static_cast<char>(upper(text[i]));
    return out;
}

bool AnsiSameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

std::string_view TrimBlanks(std::string_view text)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::size_t AnsiNameHash::operator()(std::string_view name) const
{
    // FNV-1a over the upper-cased bytes: names are short, so this is cheap and
    // spreads well enough for a few dozen keys per section.
    std::uint64_t h = 14695981039346656037ull;
    for (char c : name) {
        h ^= upper(c);
        h *= 1099511628211ull;
    }
    return static_cast<std::size_t>(h);
}

} // namespace fabulor
