#pragma once
// Binary values as hexadecimal text: two upper-case digits per byte, high
// nibble first, no separators. Table-driven, as pictures of several
// megabytes pass through here.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace fabulor {

// Appends 2 * bytes.size() characters to out.
void AppendHex(std::string& out, std::span<const std::uint8_t> bytes);

// Decodes the digit pairs of text (either case) into out, which must hold at
// least text.size() / 2 bytes; a last odd digit is ignored. Stops at the
// first pair that is not two hexadecimal digits and returns how many bytes
// it wrote; out is left untouched from there on.
std::size_t DecodeHex(std::string_view text, std::span<std::uint8_t> out);

} // namespace fabulor
