#include "PictureFile.h"

#include "graphics/PictureLimits.h"

#include <QFile>
#include <QFileInfo>

namespace fabulor {

std::optional<std::vector<std::uint8_t>> ReadPictureFile(const QString& fileName)
{
    // Only a regular file: opening a pipe or a device could wait forever.
    if (!QFileInfo(fileName).isFile())
        return std::nullopt;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || std::uint64_t(file.size()) > MaxPictureBytes)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(std::size_t(file.size()));
    if (file.read(reinterpret_cast<char*>(bytes.data()), qint64(bytes.size())) != qint64(bytes.size()))
        return std::nullopt;
    return bytes;
}

} // namespace fabulor
