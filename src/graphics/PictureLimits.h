#pragma once
// The largest picture either decoder is willing to hold.

#include <cstdint>

namespace fabulor {

// Pixels that would need more than this (width x height x bytes per decoded
// pixel) are treated as a picture that does not decode, rather than letting a
// header of a few bytes ask for gigabytes.
inline constexpr std::uint64_t MaxPictureBytes = std::uint64_t{256} * 1024 * 1024;

} // namespace fabulor
