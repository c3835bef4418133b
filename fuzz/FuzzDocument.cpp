// The skin document's parser, writer and value readers. Any bytes are a
// document (parsing never fails), so every input is checked for:
//  - the written text parses back to the same text (the canonical form is stable);
//  - every value reads the way an independent reading of the text says:
//    text, integer (against a reference parser), flag, colour, binary;
//  - values written through the typed writers read back unchanged, and the
//    document still writes a text that parses back to itself.

#include "FuzzCheck.h"

#include "document/AnsiText.h"
#include "document/ColourTable.h"
#include "document/DocumentText.h"
#include "document/Errors.h"
#include "document/HexText.h"
#include "document/IniStore.h"
#include "document/IntegerText.h"
#include "document/MemoryStream.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace fabulor;

namespace {

std::string parseAndWrite(std::string_view text, IniStore& store)
{
    MemoryStream stream;
    stream.write(text);
    stream.rewind();
    LoadDocumentBytes(store, stream);
    FUZZ_CHECK(stream.position() == stream.size());
    return DocumentText(store);
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The integer rules written out the plain way, to hold ParseInteger to them.
std::optional<std::int32_t> referenceInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    std::string_view rest = text.substr(i);
    std::size_t prefix = 0;
    if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X'))
        prefix = 1;
    else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X'))
        prefix = 2;
    if (prefix != 0) {
        const std::string_view digits = rest.substr(prefix);
        if (digits.empty() || digits.size() > 8) return std::nullopt;
        std::uint32_t value = 0;
        for (char c : digits) {
            const int d = hexDigit(c);
            if (d < 0) return std::nullopt;
            value = value * 16 + static_cast<std::uint32_t>(d);
        }
        return static_cast<std::int32_t>(value);
    }
    bool negative = false;
    if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) {
        negative = rest[0] == '-';
        rest.remove_prefix(1);
    }
    if (rest.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (char c : rest) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::int64_t{1} << 31) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

struct Key {
    std::string section;
    std::string name;
};

// The keys of the written text with the value a lookup must find: the last
// section of a name, and in it the last line of a key, letter case ignored.
std::vector<std::pair<Key, std::string>> expectedValues(const std::vector<std::string>& lines)
{
    std::map<std::string, std::size_t> lastSection; // upper-cased name -> index
    std::vector<std::pair<std::string, std::map<std::string, std::pair<std::string, std::string>>>> sections;
    bool atHeader = true;
    for (const std::string& line : lines) {
        if (atHeader) {
            FUZZ_CHECK(line.size() >= 2 && line.front() == '[' && line.back() == ']');
            const std::string name = line.substr(1, line.size() - 2);
            lastSection[AnsiUpperCase(name)] = sections.size();
            sections.emplace_back(name, std::map<std::string, std::pair<std::string, std::string>>{});
            atHeader = false;
        } else if (line.empty()) {
            atHeader = true; // the empty line that ends every section
        } else if (const std::size_t eq = line.find('='); eq != std::string::npos) {
            const std::string name = line.substr(0, eq);
            sections.back().second[AnsiUpperCase(name)] = {name, line.substr(eq + 1)};
        }
    }
    FUZZ_CHECK(atHeader);
    std::vector<std::pair<Key, std::string>> values;
    for (const auto& [upperName, index] : lastSection)
        for (const auto& [upperKey, entry] : sections[index].second)
            values.push_back({Key{sections[index].first, entry.first}, entry.second});
    return values;
}

void checkReads(const IniStore& store, const Key& key, const std::string& value)
{
    FUZZ_CHECK(store.readString(key.section, key.name, "\x01missing") == value);

    const std::optional<std::int32_t> number = referenceInteger(value);
    FUZZ_CHECK(ParseInteger(value) == number);
    FUZZ_CHECK(store.readInteger(key.section, key.name, 17) == number.value_or(17));
    FUZZ_CHECK(store.readInteger(key.section, key.name, -5) == number.value_or(-5));
    FUZZ_CHECK(store.readBool(key.section, key.name, true) == (number.value_or(1) != 0));
    FUZZ_CHECK(store.readBool(key.section, key.name, false) == (number.value_or(0) != 0));
    if (number) FUZZ_CHECK(ParseInteger(IntegerToText(*number)) == number);

    try {
        const Colour colour = store.readColour(key.section, key.name, "clRed");
        FUZZ_CHECK(StringToColor(ColorToString(colour)) == colour);
        if (number)
            FUZZ_CHECK(colour == static_cast<Colour>(*number) || AnsiSameText(value, ColorToString(colour)));
    } catch (const EConvertError& error) {
        FUZZ_CHECK(!number);
        FUZZ_CHECK(std::string(error.what()) == "'" + value + "' is not a valid integer value");
    }

    MemoryStream binary;
    const std::size_t count = store.readBinary(key.section, key.name, binary);
    FUZZ_CHECK(count == value.size() / 2);
    FUZZ_CHECK(binary.size() == count && binary.position() == 0);
    std::size_t goodPairs = 0;
    while (goodPairs < count && hexDigit(value[2 * goodPairs]) >= 0 &&
           hexDigit(value[2 * goodPairs + 1]) >= 0)
        ++goodPairs;
    std::string hex;
    AppendHex(hex, binary.bytes().first(goodPairs));
    FUZZ_CHECK(hex == AnsiUpperCase(value.substr(0, 2 * goodPairs)));
    for (std::size_t i = goodPairs; i < count; ++i)
        FUZZ_CHECK(binary.bytes()[i] == 0);
}

// Typed writes into keys the document has; their names are already in the
// canonical form, so the document must still parse back to itself.
void checkWrites(IniStore& store, const std::vector<std::pair<Key, std::string>>& values,
                 std::span<const std::uint8_t> data)
{
    std::size_t used = 0;
    auto nextNumber = [&]() {
        std::uint32_t n = 0;
        for (int i = 0; i < 4; ++i, ++used)
            n = (n << 8) | (data.empty() ? 0u : data[used % data.size()]);
        return n;
    };
    constexpr std::size_t MaxKeys = 8;
    for (std::size_t i = 0; i < values.size() && i < MaxKeys; ++i) {
        const Key& key = values[i].first;
        const std::uint32_t n = nextNumber();
        switch (i % 4) {
        case 0:
            store.writeInteger(key.section, key.name, static_cast<std::int32_t>(n));
            FUZZ_CHECK(store.readInteger(key.section, key.name, 0) == static_cast<std::int32_t>(n));
            break;
        case 1:
            store.writeBool(key.section, key.name, (n & 1) != 0);
            FUZZ_CHECK(store.readBool(key.section, key.name, (n & 1) == 0) == ((n & 1) != 0));
            break;
        case 2:
            store.writeColour(key.section, key.name, n);
            FUZZ_CHECK(store.readColour(key.section, key.name, "") == n);
            break;
        default: {
            MemoryStream in;
            in.write(data.first(std::min<std::size_t>(data.size(), n % 64)));
            in.setPosition(n % 3);
            store.writeBinary(key.section, key.name, in);
            MemoryStream out;
            const std::size_t count = store.readBinary(key.section, key.name, out);
            const auto remaining = in.remaining();
            FUZZ_CHECK(count == remaining.size());
            FUZZ_CHECK(
                std::equal(remaining.begin(), remaining.end(), out.bytes().begin(), out.bytes().end()));
            break;
        }
        }
    }
    const std::string text = DocumentText(store);
    IniStore again;
    FUZZ_CHECK(parseAndWrite(text, again) == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    try {
        IniStore store;
        const std::string text =
            parseAndWrite(std::string_view(reinterpret_cast<const char*>(data), size), store);

        // The three ways of writing the document agree: its lines, each
        // ended by CR LF, its text, and its bytes.
        std::vector<std::string> lines;
        store.getStrings(lines);
        std::string joined;
        for (const std::string& line : lines)
            joined += line + "\r\n";
        FUZZ_CHECK(joined == text);
        MemoryStream saved;
        SaveDocumentBytes(store, saved);
        FUZZ_CHECK(std::string_view(reinterpret_cast<const char*>(saved.bytes().data()), saved.size()) ==
                   text);
        FUZZ_CHECK(BytesToLines(saved.bytes()) == lines);

        IniStore again;
        FUZZ_CHECK(parseAndWrite(text, again) == text);

        const auto values = expectedValues(lines);
        for (const auto& [key, value] : values)
            checkReads(store, key, value);
        checkWrites(store, values, bytes);
    } catch (const std::exception& error) {
        fuzzcheck::unexpected("the document", error);
    }
    return 0;
}
