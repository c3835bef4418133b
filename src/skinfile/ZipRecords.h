#pragma once
// The three ZIP records the archive component reads and writes (local file
// header, central directory header, end of central directory record), with
// their little-endian byte layouts.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace fabulor {

inline constexpr std::uint32_t LocalHeaderSignature = 0x04034B50;
inline constexpr std::uint32_t CentralHeaderSignature = 0x02014B50;
inline constexpr std::uint32_t EndRecordSignature = 0x06054B50;
// First words of a multi-part archive's pieces.
inline constexpr std::uint32_t SpannedMarker = 0x08074B50;
inline constexpr std::uint32_t SpannedTemporaryMarker = 0x30304B50;

inline constexpr std::size_t LocalHeaderSize = 30;
inline constexpr std::size_t CentralHeaderSize = 46;
inline constexpr std::size_t EndRecordSize = 22;

inline constexpr std::uint16_t MethodStored = 0;
inline constexpr std::uint16_t MethodDeflated = 8;
inline constexpr std::uint16_t FlagEncrypted = 0x0001;
inline constexpr std::uint16_t FlagDataDescriptor = 0x0008;

// Little-endian access to a byte buffer; reads assume the caller checked the length.
std::uint16_t readLE16(std::span<const std::uint8_t> bytes, std::size_t at);
std::uint32_t readLE32(std::span<const std::uint8_t> bytes, std::size_t at);
void appendLE16(std::vector<std::uint8_t>& out, std::uint16_t value);
void appendLE32(std::vector<std::uint8_t>& out, std::uint32_t value);

// One central directory header: everything the archive knows about an entry.
// Sizes and offsets are signed 32-bit, as the component handles them.
struct CentralHeader {
    std::uint16_t versionMadeBy = 20;
    std::uint16_t versionNeeded = 20;
    std::uint16_t flags = 0;
    std::uint16_t method = MethodDeflated;
    std::uint16_t time = 0;
    std::uint16_t date = 0;
    std::uint32_t crc32 = 0;
    std::int32_t compressedSize = 0;
    std::int32_t uncompressedSize = 0;
    std::uint16_t diskNumberStart = 0;
    std::uint16_t internalAttributes = 0;
    std::uint32_t externalAttributes = 0;
    std::int32_t localHeaderOffset = 0;
    std::string name;    // stored bytes, no terminator
    std::string extra;   // as read; never written back
    std::string comment; // the entry's file comment

    // Parses the fixed 46 bytes; the caller then fills name, extra and comment
    // from the lengths returned through the out-parameters.
    static CentralHeader parseFixed(std::span<const std::uint8_t> fixed, std::uint16_t& nameLength,
                                    std::uint16_t& extraLength, std::uint16_t& commentLength);
    // The header as written: extra field length 0, the file comment kept.
    void appendTo(std::vector<std::uint8_t>& out) const;
};

// The local header built from a central record: same values, no extra field.
void appendLocalHeader(std::vector<std::uint8_t>& out, const CentralHeader& entry);

// Name and extra lengths of a local header, to find where its data starts.
struct LocalHeaderFixed {
    std::uint32_t signature = 0;
    std::uint16_t method = 0;
    std::uint16_t nameLength = 0;
    std::uint16_t extraLength = 0;

    static LocalHeaderFixed parse(std::span<const std::uint8_t> fixed);
};

// The end of central directory record.
struct EndRecord {
    std::uint16_t diskNumber = 0;
    std::uint16_t directoryDisk = 0;
    std::uint16_t entriesOnDisk = 0;
    std::uint16_t totalEntries = 0;
    std::int32_t directorySize = 0;
    std::int32_t directoryOffset = 0;
    std::string comment;

    // Parses the fixed 22 bytes; comment length is returned separately.
    static EndRecord parseFixed(std::span<const std::uint8_t> fixed, std::uint16_t& commentLength);
    void appendTo(std::vector<std::uint8_t>& out) const;
};

} // namespace fabulor
