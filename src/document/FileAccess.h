#pragma once
// Opening files by name without ever waiting on something that is not a
// regular file. Every read and write of a file the user names goes through
// here: a named pipe, socket, device or folder is refused at once instead of
// blocking in open() or reading without end.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fabulor {

// An open file descriptor, closed when the handle ends.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(int fd) : m_fd(fd) {}
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    int fd() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    // Gives up ownership of the descriptor.
    int release();
    void close();

private:
    int m_fd = -1;
};

// Opens an existing regular file for reading; never creates, never blocks.
// A missing or unreadable path, or one that is no regular file (symbolic
// links followed), raises EFOpenError(path).
FileHandle OpenRegularFileForReading(const std::string& path);

// Creates a new regular file (O_EXCL) for reading and writing with the given
// permission bits, less the umask. EFCreateError(path) when that fails.
FileHandle CreateNewRegularFile(const std::string& path, unsigned mode = 0666);

// For a path about to be created or replaced: raises EFCreateError(path) when
// something other than a regular file already answers to it, so a save never
// opens a pipe or a device, nor puts a file in its place. A symbolic link
// counts as what it points to; one that points nowhere is refused too, as
// creating its target through it would be refused.
void RefuseNonRegularTarget(const std::string& path);

// The whole content of a regular file. nullopt when it holds more than
// maxBytes (read no further than that). EFOpenError as for
// OpenRegularFileForReading; EReadError when a read fails.
std::optional<std::vector<std::uint8_t>> ReadRegularFile(const std::string& path, std::size_t maxBytes);

} // namespace fabulor
