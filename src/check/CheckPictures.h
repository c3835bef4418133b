#pragma once
// The pictures of a skin as the check sees them: what each stored value
// holds and whether it decodes, found once and kept in the check's picture
// cache under a hash of its stored text.

#include "check/SkinCheck.h"

#include <QImage>
#include <QRegion>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <span>
#include <unordered_map>

#include <QSize>

namespace fabulor::check {

// What a stored picture is expected to be.
enum class PictureRole {
    Jpeg, // the skin picture and the button pictures
    Mask, // a Windows bitmap
};

struct DecodedPicture {
    bool decodes = false;
    std::string format; // what the bytes look like: "JPEG", "BMP", "PNG", ...; empty when unknown
    std::string error;  // the decoder's message when it does not decode
    int width = 0;
    int height = 0;
    QImage pixels;      // Jpeg only, when asked for
    QRegion region;     // Mask only: the visible part
    std::uint32_t topLeft = 0; // Mask only: the top-left pixel's colour, 0xRRGGBB
};

// The file format the first bytes of a picture name, or empty.
std::string SniffFormat(std::span<const std::uint8_t> bytes);

// Decodes the picture whose hexadecimal text is stored, or takes the result
// of an earlier check from the cache. A JPEG picture's pixels are decoded
// only when asked for; its header tells whether it decodes.
const DecodedPicture& Decode(CheckPictureCache& cache, std::string_view hexText, PictureRole role,
                             bool pixels = false);

// A check marks the start and end of its use of the cache: what the check
// did not use is dropped at its end, so the cache holds one skin's pictures.
void BeginCheck(CheckPictureCache& cache);
void EndCheck(CheckPictureCache& cache);

// The size of a built-in picture ("BUT", ...), read once per process.
QSize BuiltInPictureSize(std::string_view name);

} // namespace fabulor::check

namespace fabulor {

struct CheckPictureCache::Entries {
    struct Key {
        std::size_t hash;
        std::size_t length;
        int role;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const { return key.hash ^ (key.length * 31u) ^ std::size_t(key.role); }
    };
    struct Entry {
        check::DecodedPicture picture;
        std::uint64_t lastUsed = 0;
    };
    std::unordered_map<Key, Entry, KeyHash> entries;
    std::uint64_t generation = 0;
    // Counts decodes, so tests can see a warm check decode nothing.
    std::uint64_t decodes = 0;
};

} // namespace fabulor
