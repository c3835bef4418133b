#include "ZipKit.h"

#include "Deflate.h"
#include "NameMatch.h"
#include "ZipErrors.h"

#include "document/FileAccess.h"

#include <algorithm>
#include <array>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace fabulor {

namespace {

constexpr std::uint16_t VersionDeflated = 20;
constexpr std::uint16_t VersionStored = 10;
constexpr std::uint16_t HighestVersionRead = 20;
constexpr std::size_t CopyChunk = std::size_t{64} * 1024;
// How much larger than its compressed data an entry is expected to be when
// room for it is reserved up front: skin texts (pictures as hex) inflate to
// about twice their size. Larger entries simply grow the stream.
constexpr std::int64_t ExpectedInflateRatio = 4;

bool fileExists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// MS-DOS time and date of a moment, in the local clock; both 0 outside 1980 to 2107.
void stampDosTime(std::time_t moment, CentralHeader& record)
{
    std::tm local{};
    if (localtime_r(&moment, &local) == nullptr || local.tm_year < 80 || local.tm_year > 207) {
        record.time = 0;
        record.date = 0;
        return;
    }
    record.time =
        static_cast<std::uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
    record.date =
        static_cast<std::uint16_t>(((local.tm_year - 80) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
}

// Fills the record of a new entry and returns its data: deflated, or stored
// when Deflate would come out larger than the input.
std::vector<std::uint8_t> compressEntry(std::span<const std::uint8_t> input, std::time_t now,
                                        CentralHeader& record)
{
    record.uncompressedSize = static_cast<std::int32_t>(input.size());
    record.flags = 0;
    record.versionMadeBy = 20;
    record.externalAttributes = 0;
    record.internalAttributes = 0;
    stampDosTime(now, record);
    std::vector<std::uint8_t> data;
    if (input.empty()) {
        record.method = MethodStored;
        record.crc32 = 0;
    } else {
        record.crc32 = crc32Of(input);
        data = deflateRaw(input);
        record.method = MethodDeflated;
        if (data.size() > input.size()) {
            record.method = MethodStored;
            data.assign(input.begin(), input.end());
        }
    }
    record.versionNeeded = record.method == MethodDeflated ? VersionDeflated : VersionStored;
    record.compressedSize = static_cast<std::int32_t>(data.size());
    return data;
}

std::string classNameOf(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const EZipVersion&) {
        return "EZipVersion";
    } catch (const EZipInvalid&) {
        return "EZipInvalid";
    } catch (const EZipInvalidPassword&) {
        return "EZipInvalidPassword";
    } catch (const EZipInvalidMethod&) {
        return "EZipInvalidMethod";
    } catch (const EZipBadCRC&) {
        return "EZipBadCRC";
    } catch (const EZipDuplicateName&) {
        return "EZipDuplicateName";
    } catch (const EZipInflateError&) {
        return "EZipInflateError";
    } catch (const EZipEntryTooLarge&) {
        return "EZipEntryTooLarge";
    } catch (const EZipException&) {
        return "EZipException";
    } catch (const EReadError&) {
        return "EReadError";
    } catch (const Exception&) {
        return "Exception";
    }
}

// Decoded bytes go to the stream at its position, never more than `limit`.
// The buffer grows with the bytes that actually arrive, four times at a time
// (few moves), and once past a quarter of the limit straight to the limit, so
// old and new buffer together never hold more than half the limit during a
// move. Room not yet written is only reserved, never touched: the memory in
// use follows the bytes written. On any outcome the stream ends holding
// exactly what was written or, when the entry is discarded, what it held before.
class StreamFiller {
public:
    StreamFiller(MemoryStream& stream, std::size_t expected, std::size_t limit)
        : m_stream(stream), m_start(stream.position()), m_oldSize(stream.size()), m_limit(limit)
    {
        // The bytes an extraction may overwrite, for a discard to put back.
        if (m_start < m_oldSize)
            m_overwritten.assign(stream.bytes().begin() + static_cast<std::ptrdiff_t>(m_start),
                                 stream.bytes().end());
        makeRoom(std::min(expected, limit));
    }
    ~StreamFiller()
    {
        if (m_discarded) {
            m_stream.setSize(std::max(m_oldSize, m_start));
            m_stream.setPosition(m_start);
            m_stream.write(m_overwritten);
            m_stream.setSize(m_oldSize);
            m_stream.shrinkToFit();
            m_stream.setPosition(m_start);
            return;
        }
        const std::size_t end = m_start + m_written;
        m_stream.setSize(m_written > 0 ? std::max(m_oldSize, end) : m_oldSize);
        m_stream.setPosition(end);
    }
    StreamFiller(const StreamFiller&) = delete;
    StreamFiller& operator=(const StreamFiller&) = delete;

    void put(std::span<const std::uint8_t> bytes)
    {
        if (bytes.size() > m_limit - m_written) throw EZipEntryTooLarge::extracting();
        makeRoom(m_written + bytes.size());
        m_stream.setPosition(m_start + m_written);
        m_stream.write(bytes);
        m_written += bytes.size();
        m_crc = crc32Of(bytes, m_crc);
    }
    std::uint32_t crc() const { return m_crc; }
    // The entry is refused as a whole: leave the stream as it was.
    void discard() { m_discarded = true; }

private:
    void makeRoom(std::size_t bytes)
    {
        const std::size_t needed = m_start + bytes;
        if (needed <= m_stream.capacity()) return;
        std::size_t room = std::max(needed, m_stream.capacity() * 4);
        if (room - m_start > m_limit / 4) room = m_start + m_limit;
        m_stream.reserve(std::max(room, needed));
    }

    MemoryStream& m_stream;
    std::size_t m_start;
    std::size_t m_oldSize;
    std::size_t m_limit;
    std::vector<std::uint8_t> m_overwritten;
    std::size_t m_written = 0;
    std::uint32_t m_crc = 0;
    bool m_discarded = false;
};

} // namespace

TZipKit::~TZipKit()
{
    try {
        CloseArchiveFile();
    } catch (const std::exception&) {
        // Nothing can report from here; the failed write left the old file whole.
    }
}

void TZipKit::setFileName(const std::string& path)
{
    assignFileName(path, OpenMode::OpenOrCreate);
}

void TZipKit::OpenArchiveFile(const std::string& path)
{
    assignFileName(path, OpenMode::ReadExisting);
}

void TZipKit::assignFileName(const std::string& path, OpenMode mode)
{
    if (!m_path.empty()) {
        // Only real changes, or a new archive that still lacks its end record,
        // are written: closing an archive that was only read never touches it.
        if (m_dirty || m_unwritten) writeArchive();
        closeArchive();
    }
    if (path.empty()) return;
    if (path.front() != '/') throw EZipException("Full Path Required");
    m_lastFailure.reset();
    openArchive(path, mode);
}

void TZipKit::CloseArchiveFile()
{
    if (!m_path.empty()) setFileName(std::string());
}

void TZipKit::DiscardArchiveFile()
{
    removeUnwrittenFile();
    closeArchive();
}

void TZipKit::removeUnwrittenFile()
{
    if (!m_unwritten) return;
    // Only the empty file this archive made: if anything else has taken its
    // name meanwhile, or written to it, it stays.
    struct stat st {};
    if (::lstat(m_path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0 &&
        static_cast<std::uint64_t>(st.st_dev) == m_createdDevice &&
        static_cast<std::uint64_t>(st.st_ino) == m_createdInode)
        ::unlink(m_path.c_str());
}

void TZipKit::closeArchive()
{
    m_file.close();
    m_path.clear();
    m_items.clear();
    m_end = EndRecord{};
    m_dirty = false;
    m_unwritten = false;
}

void TZipKit::openArchive(const std::string& path, OpenMode mode)
{
    // Only a save may create the file or open a path that names no regular
    // file; a pipe or device there is refused before anything opens it.
    if (mode == OpenMode::OpenOrCreate) RefuseNonRegularTarget(path);
    const bool exists = mode == OpenMode::ReadExisting || fileExists(path);
    if (m_beforeOpen) m_beforeOpen();
    if (exists) {
        m_file = ArchiveFile::openExisting(path);
        m_path = path;
        try {
            readDirectory();
        } catch (...) {
            closeArchive();
            throw;
        }
    } else {
        m_file = ArchiveFile::createNew(path);
        m_path = path;
        m_unwritten = true;
        const ArchiveFile::Identity created = m_file.identity();
        m_createdDevice = created.device;
        m_createdInode = created.inode;
    }
}

void TZipKit::requireArchive() const
{
    if (m_path.empty()) throw EZipNoArchive();
}

std::int64_t TZipKit::findEndRecord(std::int64_t fileSize, std::uint32_t firstWord)
{
    if (firstWord == SpannedMarker || firstWord == SpannedTemporaryMarker) return -1;
    std::array<std::uint8_t, EndRecordSize> tail{};
    m_file.readExactAt(fileSize - static_cast<std::int64_t>(EndRecordSize), tail);
    if (readLE32(tail, 0) == EndRecordSignature && readLE16(tail, 20) == 0)
        return fileSize - static_cast<std::int64_t>(EndRecordSize);

    // Backwards, in windows that double from 512 bytes up to 64 KiB; each
    // window reaches 4 bytes into the one before, so no signature is split.
    std::vector<std::uint8_t> window;
    std::size_t windowSize = 512;
    std::int64_t highest = fileSize - static_cast<std::int64_t>(EndRecordSize);
    while (highest >= 0) {
        const std::int64_t end = highest + 4;
        const std::int64_t start = std::max<std::int64_t>(0, end - static_cast<std::int64_t>(windowSize));
        window.resize(static_cast<std::size_t>(end - start));
        m_file.readExactAt(start, window);
        for (std::int64_t p = highest; p >= start; --p) {
            const std::size_t at = static_cast<std::size_t>(p - start);
            if (readLE32(window, at) != EndRecordSignature) continue;
            std::array<std::uint8_t, EndRecordSize> record{};
            m_file.readExactAt(p, record);
            const std::int64_t following = fileSize - p - static_cast<std::int64_t>(EndRecordSize);
            if (following >= readLE16(record, 20)) return p;
        }
        highest = start - 1;
        windowSize = std::min(windowSize * 2, std::size_t{64} * 1024);
    }
    return -1;
}

void TZipKit::readDirectory()
{
    const std::int64_t fileSize = m_file.size();
    if (fileSize == 0) return;
    std::array<std::uint8_t, 4> first{};
    m_file.readExactAt(0, first);
    const std::int64_t endAt = findEndRecord(fileSize, readLE32(first, 0));
    if (endAt < 0) {
        if (first[0] == 'P' && first[1] == 'K') throw EZipFileNotFound();
        throw EZipInvalid();
    }

    std::array<std::uint8_t, EndRecordSize> fixed{};
    m_file.readExactAt(endAt, fixed);
    std::uint16_t commentLength = 0;
    m_end = EndRecord::parseFixed(fixed, commentLength);
    m_end.comment.resize(commentLength);
    m_file.readExactAt(endAt + static_cast<std::int64_t>(EndRecordSize),
                       std::span(reinterpret_cast<std::uint8_t*>(m_end.comment.data()), commentLength));

    // The headers are read up to the end record; its entry counts are not trusted.
    std::int64_t position = m_end.directoryOffset;
    // An offset before the file's start (0xFFFFFFFF marks ZIP64 archives) points at no header.
    if (position < 0) throw EZipInvalid();
    while (position < endAt) {
        std::array<std::uint8_t, CentralHeaderSize> header{};
        m_file.readExactAt(position, header);
        if (readLE32(header, 0) != CentralHeaderSignature) throw EZipInvalid();
        std::uint16_t nameLength = 0, extraLength = 0, fileCommentLength = 0;
        Item item;
        item.record = CentralHeader::parseFixed(header, nameLength, extraLength, fileCommentLength);
        std::vector<std::uint8_t> variable(std::size_t{nameLength} + extraLength + fileCommentLength);
        m_file.readExactAt(position + static_cast<std::int64_t>(CentralHeaderSize), variable);
        const auto text = [&](std::size_t from, std::size_t length) {
            return std::string(variable.begin() + static_cast<std::ptrdiff_t>(from),
                               variable.begin() + static_cast<std::ptrdiff_t>(from + length));
        };
        item.record.name = text(0, nameLength);
        item.record.extra = text(nameLength, extraLength);
        item.record.comment = text(std::size_t{nameLength} + extraLength, fileCommentLength);
        m_items.push_back(std::move(item));
        position += static_cast<std::int64_t>(CentralHeaderSize + variable.size());
    }
    m_dirty = false;
}

std::optional<std::size_t> TZipKit::findItem(std::string_view name) const
{
    // The last of several entries of one name is the one found.
    for (std::size_t i = m_items.size(); i-- > 0;)
        if (sameEntryName(m_items[i].record.name, name)) return i;
    return std::nullopt;
}

std::vector<CentralHeader> TZipKit::entries() const
{
    std::vector<CentralHeader> out;
    out.reserve(m_items.size());
    for (const Item& item : m_items)
        out.push_back(item.record);
    return out;
}

void TZipKit::DeleteEntries(std::string_view mask)
{
    requireArchive();
    for (std::size_t i = m_items.size(); i-- > 0;)
        if (matchesMask(mask, m_items[i].record.name)) m_items[i].action = Action::Delete;
    m_dirty = true;
}

void TZipKit::recordFailure(const std::exception_ptr& error)
{
    QuietFailure failure;
    failure.className = classNameOf(error);
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        failure.message = e.what();
    }
    failure.error = error;
    m_lastFailure = std::move(failure);
}

void TZipKit::AddEntryFromStream(std::string_view name, MemoryStream& stream)
{
    requireArchive();
    m_lastFailure.reset();
    stream.rewind();
    Item item;
    item.record.name = storedEntryName(name);
    for (const Item& other : m_items) {
        if (other.action != Action::Delete && sameEntryName(other.record.name, item.record.name)) {
            recordFailure(std::make_exception_ptr(EZipDuplicateName()));
            return;
        }
    }
    if (stream.size() > MaxEntryTextBytes) {
        // What no load would read back is not written; a raised failure closes the archive.
        DiscardArchiveFile();
        throw EZipEntryTooLarge::inserting();
    }
    const std::time_t now = m_clock ? m_clock() : std::time(nullptr);
    item.pendingData = compressEntry(stream.bytes(), now, item.record);
    item.action = Action::AddFromStream;
    m_items.push_back(std::move(item));
    m_dirty = true;
    writeArchive();
}

void TZipKit::SaveChanges()
{
    if (m_path.empty()) return;
    if (m_dirty || m_items.empty()) writeArchive();
}

void TZipKit::copyStoredData(const Item& item, ReplacementFile& out) const
{
    std::array<std::uint8_t, LocalHeaderSize> fixed{};
    m_file.readExactAt(item.record.localHeaderOffset, fixed);
    const LocalHeaderFixed local = LocalHeaderFixed::parse(fixed);
    std::int64_t from = std::int64_t{item.record.localHeaderOffset} +
                        static_cast<std::int64_t>(LocalHeaderSize) + local.nameLength + local.extraLength;
    std::int64_t left = item.record.compressedSize;
    if (left < 0) throw EReadError();
    std::vector<std::uint8_t> chunk(static_cast<std::size_t>(std::min<std::int64_t>(left, CopyChunk)));
    while (left > 0) {
        const std::size_t piece = static_cast<std::size_t>(std::min<std::int64_t>(left, CopyChunk));
        m_file.readExactAt(from, std::span(chunk).first(piece));
        out.write(std::span(chunk).first(piece));
        from += static_cast<std::int64_t>(piece);
        left -= static_cast<std::int64_t>(piece);
    }
}

void TZipKit::writeArchive()
{
    try {
        // The new archive goes to a file beside the old one; the old file is
        // read for the entries that are kept and replaced only when the new
        // one is complete, so a failed save leaves it as it was.
        ReplacementFile out(m_path, m_writeLimit);
        std::vector<CentralHeader> written;
        for (const Item& item : m_items) {
            if (item.action == Action::Delete) continue;
            CentralHeader record = item.record;
            if (out.written() > static_cast<std::uint64_t>(INT32_MAX)) throw EWriteError();
            record.localHeaderOffset = static_cast<std::int32_t>(out.written());
            record.diskNumberStart = 0;
            // No data descriptor follows: the sizes are in the local header.
            record.flags = static_cast<std::uint16_t>(record.flags & ~FlagDataDescriptor);
            record.extra.clear();
            std::vector<std::uint8_t> header;
            appendLocalHeader(header, record);
            out.write(header);
            if (item.action == Action::AddFromStream)
                out.write(item.pendingData);
            else
                copyStoredData(item, out);
            written.push_back(std::move(record));
        }
        if (written.size() > 0xFFFF || out.written() > static_cast<std::uint64_t>(INT32_MAX))
            throw EWriteError();

        EndRecord end;
        end.comment = m_end.comment;
        end.entriesOnDisk = static_cast<std::uint16_t>(written.size());
        end.totalEntries = end.entriesOnDisk;
        end.directoryOffset = static_cast<std::int32_t>(out.written());
        std::vector<std::uint8_t> directory;
        for (const CentralHeader& record : written)
            record.appendTo(directory);
        end.directorySize = static_cast<std::int32_t>(directory.size());
        end.appendTo(directory);
        out.write(directory);
        out.commit();

        m_file = ArchiveFile::openExisting(m_path);
        std::vector<Item> kept;
        kept.reserve(written.size());
        for (CentralHeader& record : written) {
            Item item;
            item.record = std::move(record);
            kept.push_back(std::move(item));
        }
        m_items = std::move(kept);
        m_end = std::move(end);
        m_dirty = false;
        m_unwritten = false;
    } catch (...) {
        // A failed write closes the archive; nothing more goes to its file.
        DiscardArchiveFile();
        throw;
    }
}

void TZipKit::ExtractEntryToStream(std::string_view name, MemoryStream& stream)
{
    requireArchive();
    m_lastFailure.reset();
    std::optional<std::size_t> index = findItem(name);
    if (!index) return;
    if (m_items[*index].action != Action::None) {
        writeArchive();
        // Writing may have removed the entry it was marked for deletion.
        index = findItem(name);
        if (!index) return;
    }
    try {
        extractItem(m_items[*index], stream);
    } catch (const Exception&) {
        recordFailure(std::current_exception());
    }
}

void TZipKit::extractItem(const Item& item, MemoryStream& stream) const
{
    const CentralHeader& record = item.record;
    if ((record.versionNeeded & 0xFF) > HighestVersionRead) throw EZipVersion();
    std::array<std::uint8_t, LocalHeaderSize> fixed{};
    m_file.readExactAt(record.localHeaderOffset, fixed);
    const LocalHeaderFixed local = LocalHeaderFixed::parse(fixed);
    if (local.signature != LocalHeaderSignature) throw EZipInvalid();
    const std::int64_t fileSize = m_file.size();
    const std::int64_t dataStart = std::int64_t{record.localHeaderOffset} +
                                   static_cast<std::int64_t>(LocalHeaderSize) + local.nameLength +
                                   local.extraLength;
    if (dataStart > fileSize) throw EReadError();
    if (record.flags & FlagEncrypted) throw EZipInvalidPassword();

    // The recorded size is only checked against the bound, never trusted to
    // size anything: read as unsigned, so 2 GiB and more is simply too large.
    const std::uint64_t recorded = static_cast<std::uint32_t>(record.uncompressedSize);
    const std::int64_t available = fileSize - dataStart;
    std::uint32_t crc = 0;
    if (local.method == MethodStored) {
        if (recorded > MaxEntryTextBytes) throw EZipEntryTooLarge::extracting();
        const std::int64_t size = static_cast<std::int64_t>(recorded);
        StreamFiller filler(stream, static_cast<std::size_t>(std::min(size, available)), MaxEntryTextBytes);
        std::vector<std::uint8_t> chunk(static_cast<std::size_t>(std::min<std::int64_t>(size, CopyChunk)));
        std::int64_t at = dataStart;
        std::int64_t left = size;
        while (left > 0) {
            const std::size_t piece = static_cast<std::size_t>(std::min<std::int64_t>(left, CopyChunk));
            const std::size_t got = m_file.readAt(at, std::span(chunk).first(piece));
            filler.put(std::span(chunk).first(got));
            if (got < piece) throw EReadError();
            at += static_cast<std::int64_t>(piece);
            left -= static_cast<std::int64_t>(piece);
        }
        crc = filler.crc();
    } else if (local.method == MethodDeflated) {
        if (recorded > MaxEntryTextBytes) throw EZipEntryTooLarge::extracting();
        // Room for the text as skins compress it (hex pictures about two to
        // one); the stream grows past that with the data, so a recorded size
        // alone never claims memory. The data is inflated to the end of its
        // final block, within the bound, whatever the recorded size says:
        // the CRC-32 decides whether what came out is the entry.
        const std::size_t expected = static_cast<std::size_t>(std::min<std::int64_t>(
            static_cast<std::int64_t>(recorded), available * ExpectedInflateRatio + 1024));
        // The usual case, a recorded size within that room: the whole entry
        // in one piece, decoded in one call. Only an entry that decodes
        // cleanly to exactly its recorded size takes this way; any other
        // (damaged, cut short, longer than recorded) is decoded again below,
        // piece by piece, which says what is wrong and keeps to the bound.
        // Decoded straight into the end of the stream: no second copy.
        const std::size_t start = stream.position();
        if (recorded == expected && recorded > 0 && start == stream.size()) {
            const std::int64_t recordedPacked = static_cast<std::uint32_t>(record.compressedSize);
            std::vector<std::uint8_t> packed = LargeBuffer(static_cast<std::size_t>(
                recordedPacked > 0 && recordedPacked <= available ? recordedPacked : available));
            if (m_file.readAt(dataStart, packed) == packed.size()) {
                stream.reserveLarge(start + expected);
                stream.setSize(start + expected);
                const auto out = stream.bytes().subspan(start);
                if (inflateWhole(packed, out)) {
                    stream.setPosition(start + expected);
                    if (crc32Of(out) != record.crc32) throw EZipBadCRC();
                    return;
                }
                stream.setSize(start);
                stream.shrinkToFit();
                stream.setPosition(start);
            }
        }
        StreamFiller filler(stream, expected, MaxEntryTextBytes);
        std::int64_t at = dataStart;
        try {
            inflateRaw(
                [&](std::span<std::uint8_t> buffer) {
                    const std::size_t got = m_file.readAt(at, buffer);
                    at += static_cast<std::int64_t>(got);
                    return got;
                },
                MaxEntryTextBytes, [&](std::span<const std::uint8_t> bytes) { filler.put(bytes); });
        } catch (const EZipEntryTooLarge&) {
            // Refused as a whole: nothing of it stays, not its first 512 MiB.
            filler.discard();
            throw;
        }
        crc = filler.crc();
    } else {
        throw EZipInvalidMethod();
    }
    if (crc != record.crc32) throw EZipBadCRC();
}

} // namespace fabulor
