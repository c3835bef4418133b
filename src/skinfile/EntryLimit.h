#pragma once
// The largest skin text an archive entry may hold.

#include <cstddef>

namespace fabulor {

// 512 MiB: no real skin comes near it (a skin's pictures are each at most
// 256 MiB of pixels, and typical skins are a few megabytes). An entry whose
// recorded size is larger is refused before a byte is inflated, and data
// that inflates past it is refused as soon as it does, so a small damaged or
// hostile file cannot make a load inflate gigabytes. Saving a larger text is
// refused too, so no save writes a file that could not be loaded again.
inline constexpr std::size_t MaxEntryTextBytes = std::size_t{512} * 1024 * 1024;

} // namespace fabulor
