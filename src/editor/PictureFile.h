#pragma once
// Reading a chosen picture file whole, as the bytes the skin stores.

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace fabulor {

// All bytes of the file, or nothing when it is no regular file or cannot be read. A file larger
// than any picture the program would show counts as unreadable, so a wrong
// choice cannot swell the skin by gigabytes.
std::optional<std::vector<std::uint8_t>> ReadPictureFile(const QString& fileName);

} // namespace fabulor
