#pragma once
// Files named on skintool's command line, read whole through the same checks
// the editor's reads use: a pipe, device or folder is refused at once.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace skintool {

// All bytes of the regular file at path. Raises "Cannot open file PATH" when
// it is missing or no regular file, and "Cannot open file PATH - larger than
// N MiB" when it holds more than limit bytes.
std::vector<std::uint8_t> readInputFile(const std::string& path, std::size_t limit);

} // namespace skintool
