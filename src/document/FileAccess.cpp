#include "FileAccess.h"

#include "Errors.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace fabulor {

namespace {

constexpr std::size_t ReadPiece = std::size_t{64} * 1024;

// True when the path names a regular file (symbolic links followed).
bool IsRegularFile(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

FileHandle::~FileHandle()
{
    close();
}

FileHandle::FileHandle(FileHandle&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept
{
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

int FileHandle::release()
{
    return std::exchange(m_fd, -1);
}

void FileHandle::close()
{
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

FileHandle OpenRegularFileForReading(const std::string& path)
{
    // Looked at first so that a device is not even opened (opening some has
    // effects of its own); the check after the open covers a path swapped in between.
    if (!IsRegularFile(path)) throw EFOpenError(path);
    // Non-blocking, so that a pipe put there meanwhile cannot hold the open
    // until a writer comes; no create flag, so a vanished file stays vanished.
    FileHandle file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.isOpen()) throw EFOpenError(path);
    struct stat st {};
    if (::fstat(file.fd(), &st) != 0 || !S_ISREG(st.st_mode)) throw EFOpenError(path);
    const int flags = ::fcntl(file.fd(), F_GETFL);
    if (flags < 0 || ::fcntl(file.fd(), F_SETFL, flags & ~O_NONBLOCK) != 0) throw EFOpenError(path);
    return file;
}

FileHandle CreateNewRegularFile(const std::string& path, unsigned mode)
{
    RefuseNonRegularTarget(path);
    // O_EXCL: never opens what appeared meanwhile, nor follows a symbolic link.
    FileHandle file(
        ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, static_cast<mode_t>(mode)));
    if (!file.isOpen()) throw EFCreateError(path);
    struct stat st {};
    if (::fstat(file.fd(), &st) != 0 || !S_ISREG(st.st_mode)) throw EFCreateError(path);
    return file;
}

void RefuseNonRegularTarget(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) throw EFCreateError(path);
        return;
    }
    // A link that leads nowhere (or round in a circle) is not replaced by a
    // file of its own name, which would quietly cut it, nor followed to
    // create its target: every writer refuses it alike.
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) throw EFCreateError(path);
    // Any other path that cannot be looked at is left to the open that follows.
}

std::optional<std::vector<std::uint8_t>> ReadRegularFile(const std::string& path, std::size_t maxBytes)
{
    const FileHandle file = OpenRegularFileForReading(path);
    struct stat st {};
    if (::fstat(file.fd(), &st) != 0) throw EReadError();
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes) return std::nullopt;
    // The recorded length only sizes the first allocation: the file may grow
    // or shrink while it is read, and some report 0 but hold more.
    std::vector<std::uint8_t> bytes;
    // One byte more than recorded, so the read that finds the end fits too.
    bytes.reserve(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t done = 0;
    for (;;) {
        // Up to one byte past the limit: enough to know the file is too large.
        std::size_t wanted = maxBytes - done < ReadPiece ? maxBytes - done + 1 : ReadPiece;
        if (done < bytes.capacity()) wanted = std::min(wanted, bytes.capacity() - done);
        bytes.resize(done + wanted);
        const ssize_t n = ::read(file.fd(), bytes.data() + done, wanted);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw EReadError();
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
        if (done > maxBytes) return std::nullopt;
    }
    bytes.resize(done);
    return bytes;
}

} // namespace fabulor
