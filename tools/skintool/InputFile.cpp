#include "InputFile.h"

#include "document/Errors.h"
#include "document/FileAccess.h"

namespace skintool {

std::vector<std::uint8_t> readInputFile(const std::string& path, std::size_t limit)
{
    std::optional<std::vector<std::uint8_t>> bytes = fabulor::ReadRegularFile(path, limit);
    if (!bytes)
        throw fabulor::EFileStreamError("Cannot open file " + path + " - larger than " +
                                        std::to_string(limit / (std::size_t{1024} * 1024)) + " MiB");
    return std::move(*bytes);
}

} // namespace skintool
