#pragma once
// The pictures of a skin as the check sees them: what each stored value
// holds and whether it decodes, found once and kept in the check's picture
// cache under a hash of its stored text.

#include "check/SkinCheck.h"
#include "check/SkinReader.h"
#include "document/SkinSchema.h"

#include <QImage>
#include <QRegion>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

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
    std::uint64_t pixelBytes = 0; // Jpeg only: the memory its pixels take once decoded
    QImage pixels;                // Jpeg only, when asked for
    QRegion region;               // Mask only: the visible part
    std::uint32_t topLeft = 0;    // Mask only: the top-left pixel's colour, 0xRRGGBB
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

// The stored pictures the editor does not show because they do not fit in
// the memory it gives one skin's pictures (graphics/PictureBudget.h). It
// takes them in the order it loads them: the skin picture of a shaped skin,
// the mouse-out pictures in the chooser's order, then the mouse-over ones,
// each read when first shown; a picture that no longer fits counts as one
// that does not decode.
class PictureBudgetPlan {
public:
    PictureBudgetPlan(const SkinReader& skin, CheckPictureCache& cache);
    bool fits(std::string_view section, std::string_view key) const;

private:
    std::vector<std::pair<std::string_view, std::string_view>> m_over;
};

// The finding's sentence for a picture (the skin picture, a button's
// mouse-out or mouse-over picture) that does not fit.
std::string OverBudgetMessage(KeyRole picture);

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
        std::size_t operator()(const Key& key) const
        {
            return key.hash ^ (key.length * 31u) ^ std::size_t(key.role);
        }
    };
    struct Entry {
        check::DecodedPicture picture;
        std::uint64_t lastUsed = 0;
    };
    std::unordered_map<Key, Entry, KeyHash> entries;
    // The keys of the texts this check has hashed already, by where the text
    // lies in the document (which no one changes while a check runs): a
    // picture several rules look at is hashed once.
    std::unordered_map<const char*, Key> hashedThisCheck;
    std::uint64_t generation = 0;
    // Counts decodes, so tests can see a warm check decode nothing.
    std::uint64_t decodes = 0;
};

} // namespace fabulor
