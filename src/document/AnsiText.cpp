#include "AnsiText.h"

#include <array>
#include <cstdint>
#include <cstring>

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
    // Names the same to the byte, found fast: a duplicate name may be
    // hundreds of megabytes long.
    if (a.empty() || std::memcmp(a.data(), b.data(), a.size()) == 0) return true;
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
    // Eight upper-cased bytes to a word and one multiply per word: most
    // names are short, but a damaged or hostile skin may hold one of
    // hundreds of megabytes, where a multiply per byte costs seconds.
    constexpr std::uint64_t Multiplier = 0x9E3779B97F4A7C15ull;
    const auto* bytes = reinterpret_cast<const unsigned char*>(name.data());
    const std::size_t size = name.size();
    std::uint64_t h = size * Multiplier;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word = 0;
        for (unsigned j = 0; j < 8; ++j)
            word |= std::uint64_t(upperTable[bytes[i + j]]) << (8 * j);
        h = (h ^ word) * Multiplier;
        h ^= h >> 32;
    }
    std::uint64_t tail = 0;
    for (unsigned shift = 0; i < size; ++i, shift += 8)
        tail |= std::uint64_t(upperTable[bytes[i]]) << shift;
    h = (h ^ tail) * Multiplier;
    return static_cast<std::size_t>(h ^ (h >> 32));
}

} // namespace fabulor
