#include "ArchiveFile.h"

#include "document/Errors.h"
#include "document/FileAccess.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fabulor {

ArchiveFile::~ArchiveFile()
{
    close();
}

ArchiveFile::ArchiveFile(ArchiveFile&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

ArchiveFile& ArchiveFile::operator=(ArchiveFile&& other) noexcept
{
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

ArchiveFile ArchiveFile::openExisting(const std::string& path)
{
    // Only a regular file: a pipe, device or folder is refused before it can block.
    return ArchiveFile(OpenRegularFileForReading(path).release());
}

ArchiveFile ArchiveFile::createNew(const std::string& path)
{
    return ArchiveFile(CreateNewRegularFile(path, 0666).release());
}

void ArchiveFile::close()
{
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

std::int64_t ArchiveFile::size() const
{
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) throw EReadError();
    return st.st_size;
}

ArchiveFile::Identity ArchiveFile::identity() const
{
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) throw EReadError();
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

std::size_t ArchiveFile::readAt(std::int64_t offset, std::span<std::uint8_t> out) const
{
    if (offset < 0) throw EReadError();
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n =
            ::pread(m_fd, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw EReadError();
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

void ArchiveFile::readExactAt(std::int64_t offset, std::span<std::uint8_t> out) const
{
    if (readAt(offset, out) != out.size()) throw EReadError();
}

namespace {

std::string folderOf(const std::string& path)
{
    const std::size_t cut = path.rfind('/');
    if (cut == std::string::npos) return ".";
    return cut == 0 ? "/" : path.substr(0, cut);
}

// The file a path finally names, so that a skin reached through a symbolic
// link is replaced where it lives and the link stays a link.
std::string resolvedTarget(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            std::string out(real);
            std::free(real);
            return out;
        }
    }
    return path;
}

} // namespace

ReplacementFile::ReplacementFile(const std::string& target, std::optional<std::uint64_t> writeLimit)
    : m_target(target), m_realTarget(resolvedTarget(target)), m_writeLimit(writeLimit)
{
    // A pipe, device or folder of that name is not replaced by an archive.
    RefuseNonRegularTarget(m_target);
    // A file others may not write to is not ours to replace either.
    if (::access(m_realTarget.c_str(), F_OK) == 0 && ::access(m_realTarget.c_str(), W_OK) != 0)
        throw EFOpenError(m_target);
    std::string pattern = m_realTarget;
    const std::size_t cut = pattern.rfind('/');
    pattern.insert(cut == std::string::npos ? 0 : cut + 1, ".");
    pattern += ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    m_fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (m_fd < 0) throw EFOpenError(m_target);
    m_tempPath.assign(name.data());
}

ReplacementFile::~ReplacementFile()
{
    if (m_fd >= 0) ::close(m_fd);
    if (!m_committed && !m_tempPath.empty()) ::unlink(m_tempPath.c_str());
}

void ReplacementFile::write(std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        std::size_t piece = bytes.size();
        if (m_writeLimit) {
            const std::uint64_t room = *m_writeLimit > m_written ? *m_writeLimit - m_written : 0;
            if (room == 0) throw EWriteError();
            piece = static_cast<std::size_t>(std::min<std::uint64_t>(piece, room));
        }
        const ssize_t n = ::write(m_fd, bytes.data(), piece);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw EWriteError();
        m_written += static_cast<std::uint64_t>(n);
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
}

void ReplacementFile::commit()
{
    // Looked at again: something else may have taken the name since.
    RefuseNonRegularTarget(m_target);
    struct stat old {};
    if (::stat(m_realTarget.c_str(), &old) == 0) {
        // Keep the old file's owner and permission bits; an owner change is
        // only possible for the superuser and is not worth failing a save over.
        [[maybe_unused]] const int ownerKept = ::fchown(m_fd, old.st_uid, old.st_gid);
        ::fchmod(m_fd, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(m_fd, 0666 & ~mask);
    }
    // The new archive must be on disk before it takes the old one's name.
    if (::fsync(m_fd) != 0) throw EWriteError();
    if (::close(std::exchange(m_fd, -1)) != 0) throw EWriteError();
    if (::rename(m_tempPath.c_str(), m_realTarget.c_str()) != 0) throw EFOpenError(m_target);
    m_committed = true;
    // Make the rename itself durable.
    const int dir = ::open(folderOf(m_realTarget).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace fabulor
