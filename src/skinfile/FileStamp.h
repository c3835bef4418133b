#pragma once
// What a file on disk held at one moment: its size and the CRC-32 of its
// bytes. The editor takes one when it loads or saves a skin
// file, so that a later save over that file can tell whether another program
// changed it meanwhile.

#include <cstdint>
#include <optional>
#include <string>

namespace fabulor {

struct FileStamp {
    std::uint64_t size = 0;
    std::uint32_t crc = 0;
};

// The stamp of the regular file at path (symbolic links followed); nothing
// when no regular file answers to it or it cannot be read.
std::optional<FileStamp> StampFile(const std::string& path);

// True when a regular file at path holds something else than the stamp
// records: another size or, when the sizes agree, other bytes; a new
// modification time alone loses nothing by being replaced. A file
// that is gone or cannot be read has nothing to lose and counts as unchanged;
// the save that follows reports what is wrong with it.
bool FileChangedSince(const std::string& path, const FileStamp& stamp);

// Whether two full paths name the same file now: the same spelling, or the
// same file reached by two (through a symbolic link, say).
bool SameFile(const std::string& one, const std::string& other);

} // namespace fabulor
