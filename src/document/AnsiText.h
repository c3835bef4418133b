#pragma once
// Byte-text helpers of the skin document: the 8-bit upper-casing used for
// case-insensitive names, the blank trimming of parsed lines, and the
// case-insensitive hashing behind the store's name indexes.

#include <cstddef>
#include <string>
#include <string_view>

namespace fabulor {

// Upper case in the Windows-1250 (Central European) code page, the ANSI code
// page of the Polish systems the reader runs on: ASCII a-z plus the accented
// lower-case letters of that page (ą ć ę ł ń ó ś ź ż, š ž, ...). Bytes
// without an upper-case partner in that page come back unchanged.
std::string AnsiUpperCase(std::string_view text);
// True when both texts are equal after AnsiUpperCase.
bool AnsiSameText(std::string_view a, std::string_view b);

// Removes every byte with a code of 32 (space) or lower from both ends.
std::string_view TrimBlanks(std::string_view text);

// Hash and equality over names that ignore letter case as AnsiUpperCase
// does. Both are transparent, so a lookup by std::string_view allocates
// nothing.
struct AnsiNameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const;
};

struct AnsiNameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return AnsiSameText(a, b); }
};

} // namespace fabulor
