#include "ZipRecords.h"

namespace fabulor {

std::uint16_t readLE16(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

std::uint32_t readLE32(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at]) | (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[at + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

void appendLE16(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void appendLE32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

namespace {

void appendBytes(std::vector<std::uint8_t>& out, const std::string& text)
{
    out.insert(out.end(), text.begin(), text.end());
}

std::int32_t asSigned(std::uint32_t value)
{
    return static_cast<std::int32_t>(value);
}
std::uint32_t asUnsigned(std::int32_t value)
{
    return static_cast<std::uint32_t>(value);
}

} // namespace

CentralHeader CentralHeader::parseFixed(std::span<const std::uint8_t> fixed, std::uint16_t& nameLength,
                                        std::uint16_t& extraLength, std::uint16_t& commentLength)
{
    CentralHeader h;
    h.versionMadeBy = readLE16(fixed, 4);
    h.versionNeeded = readLE16(fixed, 6);
    h.flags = readLE16(fixed, 8);
    h.method = readLE16(fixed, 10);
    h.time = readLE16(fixed, 12);
    h.date = readLE16(fixed, 14);
    h.crc32 = readLE32(fixed, 16);
    h.compressedSize = asSigned(readLE32(fixed, 20));
    h.uncompressedSize = asSigned(readLE32(fixed, 24));
    nameLength = readLE16(fixed, 28);
    extraLength = readLE16(fixed, 30);
    commentLength = readLE16(fixed, 32);
    h.diskNumberStart = readLE16(fixed, 34);
    h.internalAttributes = readLE16(fixed, 36);
    h.externalAttributes = readLE32(fixed, 38);
    h.localHeaderOffset = asSigned(readLE32(fixed, 42));
    return h;
}

void CentralHeader::appendTo(std::vector<std::uint8_t>& out) const
{
    appendLE32(out, CentralHeaderSignature);
    appendLE16(out, versionMadeBy);
    appendLE16(out, versionNeeded);
    appendLE16(out, flags);
    appendLE16(out, method);
    appendLE16(out, time);
    appendLE16(out, date);
    appendLE32(out, crc32);
    appendLE32(out, asUnsigned(compressedSize));
    appendLE32(out, asUnsigned(uncompressedSize));
    appendLE16(out, static_cast<std::uint16_t>(name.size()));
    appendLE16(out, 0);
    appendLE16(out, static_cast<std::uint16_t>(comment.size()));
    appendLE16(out, diskNumberStart);
    appendLE16(out, internalAttributes);
    appendLE32(out, externalAttributes);
    appendLE32(out, asUnsigned(localHeaderOffset));
    appendBytes(out, name);
    appendBytes(out, comment);
}

void appendLocalHeader(std::vector<std::uint8_t>& out, const CentralHeader& entry)
{
    appendLE32(out, LocalHeaderSignature);
    appendLE16(out, entry.versionNeeded);
    appendLE16(out, entry.flags);
    appendLE16(out, entry.method);
    appendLE16(out, entry.time);
    appendLE16(out, entry.date);
    appendLE32(out, entry.crc32);
    appendLE32(out, asUnsigned(entry.compressedSize));
    appendLE32(out, asUnsigned(entry.uncompressedSize));
    appendLE16(out, static_cast<std::uint16_t>(entry.name.size()));
    appendLE16(out, 0);
    appendBytes(out, entry.name);
}

LocalHeaderFixed LocalHeaderFixed::parse(std::span<const std::uint8_t> fixed)
{
    LocalHeaderFixed h;
    h.signature = readLE32(fixed, 0);
    h.method = readLE16(fixed, 8);
    h.nameLength = readLE16(fixed, 26);
    h.extraLength = readLE16(fixed, 28);
    return h;
}

EndRecord EndRecord::parseFixed(std::span<const std::uint8_t> fixed, std::uint16_t& commentLength)
{
    EndRecord r;
    r.diskNumber = readLE16(fixed, 4);
    r.directoryDisk = readLE16(fixed, 6);
    r.entriesOnDisk = readLE16(fixed, 8);
    r.totalEntries = readLE16(fixed, 10);
    r.directorySize = asSigned(readLE32(fixed, 12));
    r.directoryOffset = asSigned(readLE32(fixed, 16));
    commentLength = readLE16(fixed, 20);
    return r;
}

void EndRecord::appendTo(std::vector<std::uint8_t>& out) const
{
    appendLE32(out, EndRecordSignature);
    appendLE16(out, diskNumber);
    appendLE16(out, directoryDisk);
    appendLE16(out, entriesOnDisk);
    appendLE16(out, totalEntries);
    appendLE32(out, asUnsigned(directorySize));
    appendLE32(out, asUnsigned(directoryOffset));
    appendLE16(out, static_cast<std::uint16_t>(comment.size()));
    appendBytes(out, comment);
}

} // namespace fabulor
