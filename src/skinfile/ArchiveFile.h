#pragma once
// The archive's file on disk: an open, read-only descriptor with positioned
// reads (ArchiveFile), and the replacement that a rewrite goes into
// (ReplacementFile), renamed over the old file only once it is complete.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace fabulor {

class ArchiveFile {
public:
    ArchiveFile() = default;
    ~ArchiveFile();
    ArchiveFile(ArchiveFile&& other) noexcept;
    ArchiveFile& operator=(ArchiveFile&& other) noexcept;
    ArchiveFile(const ArchiveFile&) = delete;
    ArchiveFile& operator=(const ArchiveFile&) = delete;

    // Opens an existing regular file for reading, never creating one;
    // EFOpenError when that fails or the path names no regular file.
    static ArchiveFile openExisting(const std::string& path);
    // Creates a new regular file of length 0 and opens it; EFCreateError when that fails.
    static ArchiveFile createNew(const std::string& path);

    void close();
    std::int64_t size() const;
    struct Identity {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
    };
    // Which file is open: its device and inode numbers.
    Identity identity() const;
    // Reads up to out.size() bytes at the offset; returns how many (0 at the end).
    std::size_t readAt(std::int64_t offset, std::span<std::uint8_t> out) const;
    // Reads exactly out.size() bytes at the offset or fails with EReadError.
    void readExactAt(std::int64_t offset, std::span<std::uint8_t> out) const;

private:
    explicit ArchiveFile(int fd) : m_fd(fd) {}
    int m_fd = -1;
};

// A temporary file beside the target. Until commit() renames it over the
// target, the target is untouched; if it is never committed it is removed.
class ReplacementFile {
public:
    // writeLimit: for tests, the number of bytes the "disk" takes before
    // writes come up short. EFCreateError(target) when the target is no
    // regular file; EFOpenError(target) when no replacement can be made.
    ReplacementFile(const std::string& target, std::optional<std::uint64_t> writeLimit);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Appends the bytes; EWriteError when they do not all reach the file.
    void write(std::span<const std::uint8_t> bytes);
    std::uint64_t written() const { return m_written; }
    // Flushes to disk, gives the file the target's permissions and replaces
    // the target, unless something other than a regular file now has its name.
    void commit();

private:
    std::string m_target;     // the path the archive is known by
    std::string m_realTarget; // where it lives, symbolic links followed
    std::string m_tempPath;
    int m_fd = -1;
    std::uint64_t m_written = 0;
    std::optional<std::uint64_t> m_writeLimit;
    bool m_committed = false;
};

} // namespace fabulor
