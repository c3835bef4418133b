#pragma once
// The largest picture either decoder is willing to hold, and what one
// skin's pictures may hold together.

#include <cstdint>

namespace fabulor {

// Pixels that would need more than this (width x height x bytes per decoded
// pixel) are treated as a picture that does not decode, rather than letting a
// header of a few bytes ask for gigabytes.
inline constexpr std::uint64_t MaxPictureBytes = std::uint64_t{256} * 1024 * 1024;

// What the decoded pictures of one skin may take together (PictureBudget.h):
// two pictures of the largest size, or thousands of any real skin's.
inline constexpr std::uint64_t MaxSkinPictureBytes = std::uint64_t{512} * 1024 * 1024;

} // namespace fabulor
