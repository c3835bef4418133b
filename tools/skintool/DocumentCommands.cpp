// skintool commands on the skin document text: `ini` shows a document as the
// editor would save it, `get` performs one typed read on it.

#include "Command.h"
#include "InputFile.h"

#include "document/ColourTable.h"
#include "document/DocumentText.h"
#include "document/Errors.h"
#include "document/IniStore.h"
#include "document/IntegerText.h"
#include "document/MemoryStream.h"
#include "skinfile/EntryLimit.h"

#include <optional>
#include <ostream>
#include <vector>

namespace skintool {

namespace {

fabulor::IniStore loadDocument(const std::string& path)
{
    // No skin text is larger than an archive entry may be.
    fabulor::MemoryStream stream(readInputFile(path, fabulor::MaxEntryTextBytes));
    fabulor::IniStore store;
    fabulor::LoadDocumentBytes(store, stream);
    return store;
}

int usage(std::ostream& err, std::string_view why)
{
    err << "skintool get: " << why << "\n"
        << "usage: skintool get FILE SECTION KEY KIND DEFAULT\n"
        << "  KIND is text, int, flag, colour or binary; binary takes an empty DEFAULT\n";
    return ExitUsage;
}

} // namespace

// skintool ini FILE: the document's text, CR LF after every line.
int runIni(Args args, std::ostream& out, std::ostream&)
{
    const fabulor::IniStore store = loadDocument(args[0]);
    const std::string text = fabulor::DocumentText(store);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return ExitOk;
}

// skintool get FILE SECTION KEY KIND DEFAULT: text, int, flag and colour
// results are printed followed by one "\n"; binary values are written as raw
// bytes with nothing added, so they can be redirected into a picture file.
// Reads of kind binary have no default, so DEFAULT must be empty there.
int runGet(Args args, std::ostream& out, std::ostream& err)
{
    const std::string& path = args[0];
    const std::string& section = args[1];
    const std::string& key = args[2];
    const std::string& kind = args[3];
    const std::string& fallback = args[4];

    if (kind != "text" && kind != "int" && kind != "flag" && kind != "colour" && kind != "binary")
        return usage(err, "unknown KIND '" + kind + "'");
    std::optional<std::int32_t> number;
    if (kind == "int" || kind == "flag") {
        number = fabulor::ParseInteger(fallback);
        if (!number) return usage(err, "DEFAULT of an " + kind + " read must be an integer");
    }
    if (kind == "binary" && !fallback.empty()) return usage(err, "DEFAULT of a binary read must be empty");

    const fabulor::IniStore store = loadDocument(path);
    if (kind == "text") {
        out << store.readString(section, key, fallback) << '\n';
    } else if (kind == "int") {
        out << store.readInteger(section, key, *number) << '\n';
    } else if (kind == "flag") {
        out << (store.readBool(section, key, *number != 0) ? '1' : '0') << '\n';
    } else if (kind == "colour") {
        out << fabulor::ColorToString(store.readColour(section, key, fallback)) << '\n';
    } else {
        fabulor::MemoryStream stream;
        store.readBinary(section, key, stream);
        const auto bytes = stream.bytes();
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    return ExitOk;
}

} // namespace skintool
