#include "FileStamp.h"

#include "Deflate.h"

#include "document/FileAccess.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fabulor {
namespace {

constexpr std::size_t ReadPiece = std::size_t{256} * 1024;

FileStamp StampOf(const struct stat& st)
{
    FileStamp stamp;
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    return stamp;
}

// The CRC-32 of everything the descriptor reads from its start; nothing on a
// failed read. A CRC, not a cryptographic hash: it only has to notice
// accidental change, is consulted only when the sizes agree, and costs next
// to nothing beside the read, even for large skins.
std::optional<std::uint32_t> CrcOfFile(int fd)
{
    std::vector<std::uint8_t> piece(ReadPiece);
    std::uint32_t crc = 0;
    for (;;) {
        const ssize_t n = ::read(fd, piece.data(), piece.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) return crc;
        crc = crc32Of(std::span(piece).first(static_cast<std::size_t>(n)), crc);
    }
}

} // namespace

std::optional<FileStamp> StampFile(const std::string& path)
{
    try {
        const FileHandle file = OpenRegularFileForReading(path);
        struct stat st {};
        if (::fstat(file.fd(), &st) != 0) return std::nullopt;
        FileStamp stamp = StampOf(st);
        const std::optional<std::uint32_t> crc = CrcOfFile(file.fd());
        if (!crc) return std::nullopt;
        stamp.crc = *crc;
        return stamp;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool FileChangedSince(const std::string& path, const FileStamp& stamp)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if (static_cast<std::uint64_t>(st.st_size) != stamp.size) return true;
    // Same size: only the bytes tell. A new time alone (the file touched, or
    // saved again unchanged by another program) puts no work at risk, and a
    // change within the clock's granularity, or one whose writer put the old
    // time back, shows in the bytes too.
    const std::optional<FileStamp> read = StampFile(path);
    return read && read->crc != stamp.crc;
}

bool SameFile(const std::string& one, const std::string& other)
{
    if (one == other) return true;
    struct stat a {};
    struct stat b {};
    return ::stat(one.c_str(), &a) == 0 && ::stat(other.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

} // namespace fabulor
