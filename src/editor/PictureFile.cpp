#include "PictureFile.h"

#include "document/Errors.h"
#include "document/FileAccess.h"
#include "graphics/PictureLimits.h"
#include "widgets/FileNames.h"

namespace fabulor {

std::optional<std::vector<std::uint8_t>> ReadPictureFile(const QString& fileName)
{
    // Only a regular file is opened: a pipe or a device could wait or read forever.
    try {
        return ReadRegularFile(FileNameBytes(fileName), MaxPictureBytes);
    } catch (const Exception&) {
        return std::nullopt;
    }
}

} // namespace fabulor
