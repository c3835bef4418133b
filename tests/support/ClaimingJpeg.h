#pragma once
// JPEG pictures whose header claims far more pixels than their few bytes
// hold: a greyscale baseline frame whose data ends after its first block, so
// the decoder fills in the rest (mid grey). Storing one costs a few hundred
// bytes; decoding it, what its header claims. The hostile skins of the tests
// of the pictures' memory are made of them.

#include "document/HexText.h"
#include "document/IniStore.h"
#include "document/SkinSchema.h"

#include <cstdint>
#include <span>
#include <string>

namespace fabulor::testing {

// note tells pictures of the same size apart.
inline std::string ClaimingJpeg(int width, int height, char note = 'x')
{
    const auto segment = [](unsigned char marker, const std::string& body) {
        const std::size_t length = body.size() + 2;
        return std::string{'\xFF', char(marker), char(length >> 8), char(length & 0xFF)} + body;
    };
    const auto side = [](int value) { return std::string{char(value >> 8), char(value & 0xFF)}; };
    // One Huffman code of one bit, for the difference 0 and for the end of block.
    const std::string oneCode = std::string{'\1'} + std::string(15, '\0') + std::string(1, '\0');
    return std::string{'\xFF', '\xD8'} + segment(0xFE, std::string(1, note)) +
           segment(0xDB, std::string(1, '\0') + std::string(64, '\1')) +
           segment(0xC0,
                   std::string{'\x08'} + side(height) + side(width) + std::string{'\1', '\1', '\x11', '\0'}) +
           segment(0xC4, std::string(1, '\0') + oneCode) + segment(0xC4, std::string(1, '\x10') + oneCode) +
           segment(0xDA, std::string{'\1', '\1', '\0', '\0', '\x3F', '\0'}) +
           std::string{'\x3F', '\xFF', '\xD9'};
}

inline std::string HexOf(const std::string& bytes)
{
    std::string out;
    AppendHex(out, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    return out;
}

// The largest picture the decoder takes: 16384 x 16384 grey, 256 MiB of
// pixels; two of them fill the memory one skin's pictures may take.
inline std::string LargestJpegHex(char note = 'x')
{
    return HexOf(ClaimingJpeg(16384, 16384, note));
}

// Thirteen buttons, each with a mouse-out and a mouse-over picture of the
// largest size: 26 pictures, 6.5 GiB once decoded, in a skin of 16 KB.
inline IniStore LargestPicturesSkin()
{
    IniStore skin;
    char note = 'a';
    for (int index = FirstButtonIndex; index < LastButtonIndex; ++index) {
        const std::string_view section = SkinComponents()[std::size_t(index)].section;
        skin.writeString(section, "MP1", LargestJpegHex(note++));
        skin.writeString(section, "MP2", LargestJpegHex(note++));
    }
    return skin;
}

} // namespace fabulor::testing
