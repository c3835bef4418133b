// skintool's archive commands: list, unpack and pack a skin file through the
// same archive component and call sequences the editor uses.

#include "Command.h"

#include "document/FileAccess.h"
#include "document/MemoryStream.h"
#include "skinfile/SkinEntry.h"
#include "skinfile/ZipErrors.h"
#include "skinfile/ZipKit.h"

#include <filesystem>
#include <iomanip>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace skintool {

namespace {

// The archive component wants full paths; the command line may give relative ones.
std::string fullPath(const std::string& path)
{
    return std::filesystem::absolute(std::filesystem::path(path)).lexically_normal().string();
}

} // namespace

// One line per central directory entry: name, method, compressed size,
// uncompressed size, CRC-32, version needed; tab-separated.
int runList(Args args, std::ostream& out, std::ostream&)
{
    fabulor::TZipKit zip;
    zip.OpenArchiveFile(fullPath(args[0]));
    for (const fabulor::CentralHeader& e : zip.entries()) {
        std::ostringstream crc;
        crc << std::hex << std::setw(8) << std::setfill('0') << e.crc32;
        out << e.name << '\t' << e.method << '\t' << e.compressedSize << '\t' << e.uncompressedSize << '\t'
            << crc.str() << '\t' << e.versionNeeded << '\n';
    }
    zip.CloseArchiveFile();
    return ExitOk;
}

// The load sequence; the document text goes to standard output.
int runUnpack(Args args, std::ostream& out, std::ostream& err)
{
    fabulor::TZipKit zip;
    const fabulor::MemoryStream text = fabulor::LoadSkinEntry(fullPath(args[0]), zip);
    const auto bytes = text.bytes();
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (const auto& failure = zip.lastItemFailure()) {
        err << "warning: " << failure->message << '\n';
        return ExitWarning;
    }
    return ExitOk;
}

// The save sequence with INI's bytes as they are.
int runPack(Args args, std::ostream&, std::ostream&)
{
    std::optional<std::vector<std::uint8_t>> bytes =
        fabulor::ReadRegularFile(args[0], fabulor::MaxEntryTextBytes);
    // A text no load would read back is not packed.
    if (!bytes) throw fabulor::EZipEntryTooLarge::inserting();
    fabulor::MemoryStream text(std::move(*bytes));
    fabulor::TZipKit zip;
    fabulor::SaveSkinEntry(fullPath(args[1]), text, zip);
    return ExitOk;
}

} // namespace skintool
