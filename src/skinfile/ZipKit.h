#pragma once
// TZipKit: the archive component behind skin files. It opens, creates,
// reads and rewrites one ZIP archive at a time, entries stored or deflated.

#include "document/MemoryStream.h"
#include "skinfile/ArchiveFile.h"
#include "skinfile/EntryLimit.h"
#include "skinfile/ZipRecords.h"

#include <ctime>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fabulor {

// A failure that an operation absorbed instead of raising, kept so that the
// caller can still tell the user what went wrong.
struct QuietFailure {
    std::string className; // e.g. "EZipBadCRC"
    std::string message;   // the exception's text
    std::exception_ptr error;
};

class TZipKit {
public:
    enum class Action { None, Delete, AddFromStream };

    TZipKit() = default;
    // Closes the open archive, writing what is pending; a failure then is dropped.
    ~TZipKit();
    TZipKit(const TZipKit&) = delete;
    TZipKit& operator=(const TZipKit&) = delete;

    const std::string& FileName() const { return m_path; }
    // Closes the open archive (writing pending changes first), then opens the
    // file of that full path, or creates it as a new empty archive. An empty
    // path leaves no archive open. A path that names something other than a
    // regular file (pipe, device, folder) raises EFCreateError.
    void setFileName(const std::string& path);
    // As setFileName, but for reading: the file must exist and be a regular
    // file (else EFOpenError); nothing is ever created.
    void OpenArchiveFile(const std::string& path);
    void CloseArchiveFile();
    // Closes the open archive without writing its pending changes, for a
    // sequence that failed half-way. A file that assigning FileName created
    // and that nothing was written to yet is removed again: a save that
    // failed leaves no empty file behind, which would load as an empty skin.
    void DiscardArchiveFile();

    // Marks every named entry matching the mask for deletion; writes nothing.
    void DeleteEntries(std::string_view mask);
    // Adds the stream's whole content as an entry and rewrites the archive at
    // once; a stream above MaxEntryTextBytes raises EZipEntryTooLarge.
    void AddEntryFromStream(std::string_view name, MemoryStream& stream);
    // Rewrites the archive when changes are pending or it has no entries.
    void SaveChanges();
    // Appends the entry's bytes at the stream's position. A missing entry and
    // every failure of the extraction itself are quiet (see lastItemFailure).
    // An entry above MaxEntryTextBytes leaves the stream as it was.
    void ExtractEntryToStream(std::string_view name, MemoryStream& stream);

    // The failure the last add or extraction absorbed. Cleared when an archive
    // is opened and when an add or extraction starts; closing keeps it, so a
    // caller may look after the whole load sequence.
    const std::optional<QuietFailure>& lastItemFailure() const { return m_lastFailure; }

    // The central directory records, in directory order (entries marked for
    // deletion included until the next write).
    std::vector<CentralHeader> entries() const;

    // For tests: the clock new entries are stamped with, and a "disk" that
    // takes only so many bytes per rewrite.
    void setClock(std::function<std::time_t()> clock) { m_clock = std::move(clock); }
    void setWriteLimit(std::optional<std::uint64_t> bytes) { m_writeLimit = bytes; }
    // For tests: runs when a path has been checked and just before its file is
    // opened, so a test can change the file system in that gap.
    void setBeforeOpenHook(std::function<void()> hook) { m_beforeOpen = std::move(hook); }

private:
    struct Item {
        CentralHeader record;
        Action action = Action::None;
        std::vector<std::uint8_t> pendingData; // compressed, for AddFromStream
    };

    enum class OpenMode { OpenOrCreate, ReadExisting };

    void requireArchive() const;
    void assignFileName(const std::string& path, OpenMode mode);
    void openArchive(const std::string& path, OpenMode mode);
    void closeArchive(); // releases without writing
    void removeUnwrittenFile();
    void readDirectory();
    std::int64_t findEndRecord(std::int64_t fileSize, std::uint32_t firstWord);
    void writeArchive();
    void copyStoredData(const Item& item, ReplacementFile& out) const;
    void extractItem(const Item& item, MemoryStream& stream) const;
    std::optional<std::size_t> findItem(std::string_view name) const;
    void recordFailure(const std::exception_ptr& error);

    std::string m_path;
    ArchiveFile m_file;
    std::vector<Item> m_items;
    EndRecord m_end;
    bool m_dirty = false;
    // Created by assigning FileName and not yet written: closing gives it its end record.
    bool m_unwritten = false;
    // Which file that was, so that only it is ever removed again.
    std::uint64_t m_createdDevice = 0;
    std::uint64_t m_createdInode = 0;
    std::optional<QuietFailure> m_lastFailure;
    std::function<std::time_t()> m_clock;
    std::optional<std::uint64_t> m_writeLimit;
    std::function<void()> m_beforeOpen;
};

} // namespace fabulor
