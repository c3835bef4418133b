// The skin check and its layout model on any skin text. Whatever the text
// holds, the check gives a bounded number of findings whose messages quote
// only a short part of any name or value, and the layout keeps every edge
// far from the ends of int; UndefinedBehaviorSanitizer reports any overflow
// on the way there.

#include "FuzzCheck.h"

#include "check/SkinCheck.h"
#include "check/SkinLayout.h"
#include "document/DocumentText.h"
#include "document/IniStore.h"
#include "document/MemoryStream.h"
#include "graphics/GraphicErrors.h"
#include "graphics/JpegDecoder.h"

#include <QRect>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

using namespace fabulor;

namespace {

// Pictures asking for more pixels than this are not checked: decoding them
// and building a mask's region cost seconds under the sanitizers, which a
// busy machine would report as hangs.
constexpr std::int64_t MaxCheckedPixels = 4 * 1024 * 1024;
// Generous bounds: the rules of the schema's keys and components give a few
// hundred findings at most, unknown names 200 of each kind and a count.
constexpr std::size_t MostFindings = 1000;
constexpr std::size_t LongestMessage = 400;
constexpr std::size_t LongestPlace = 100; // a name of 40 letters in UTF-8, and "…"
// Places and sizes are held to 2^24; what lies on a page adds the page's place.
constexpr int FarthestEdge = 1 << 26;

std::uint32_t LittleEndian(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t count)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i)
        value |= std::uint32_t(bytes[at + i]) << (8 * i);
    return value;
}

// The pixels a stored picture's header asks for, as far as it says; 0 when
// it says nothing.
std::int64_t AskedPixels(const IniStore& document, std::string_view section, std::string_view key)
{
    MemoryStream stream;
    if (document.readBinary(section, key, stream) == 0) return 0;
    const std::span<const std::uint8_t> bytes = stream.bytes();
    if (bytes.size() >= 26 && bytes[0] == 'B' && bytes[1] == 'M') {
        // The oldest header holds 16-bit sides, every later one 32-bit.
        const bool core = LittleEndian(bytes, 14, 4) == 12;
        const std::int64_t width =
            core ? LittleEndian(bytes, 18, 2) : std::int32_t(LittleEndian(bytes, 18, 4));
        const std::int64_t height =
            core ? LittleEndian(bytes, 20, 2) : std::int32_t(LittleEndian(bytes, 22, 4));
        return std::abs(width) * std::abs(height);
    }
    try {
        const JpegHeader header = ReadJpegHeader(bytes);
        return std::int64_t{header.width} * header.height;
    } catch (const EJPEG&) {
        return 0;
    }
}

bool Near(const QRect& box)
{
    const auto near = [](std::int64_t edge) { return edge > -FarthestEdge && edge < FarthestEdge; };
    return near(box.left()) && near(box.top()) && near(std::int64_t{box.left()} + box.width()) &&
           near(std::int64_t{box.top()} + box.height());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    IniStore document;
    MemoryStream text;
    text.write(std::string_view(reinterpret_cast<const char*>(data), size));
    text.rewind();
    LoadDocumentBytes(document, text);
    for (const char* key : {"Maska", "Skin"})
        if (AskedPixels(document, "Skin", key) > MaxCheckedPixels) return 0;

    // Text as wide as its size in points per letter, however large: the
    // layout must hold what a font would measure.
    CheckEnvironment environment;
    environment.measureText = [](const std::string&, int points, const std::string& sample) {
        const std::int64_t width = std::int64_t{points} * std::int64_t(sample.size());
        return TextSize{int(std::min<std::int64_t>(width, std::numeric_limits<int>::max())), points};
    };

    std::vector<Finding> findings;
    SkinLayout layout;
    try {
        findings = CheckSkin(document, environment);
        layout = BuildSkinLayout(document, environment);
    } catch (const std::exception& error) {
        fuzzcheck::unexpected("CheckSkin", error);
    }

    FUZZ_CHECK(findings.size() <= MostFindings);
    for (const Finding& finding : findings) {
        FUZZ_CHECK(!finding.message.empty() && finding.message.size() <= LongestMessage);
        FUZZ_CHECK(finding.section.size() <= LongestPlace && finding.key.size() <= LongestPlace);
    }
    FUZZ_CHECK(layout.window.width() >= 0 && layout.window.height() >= 0);
    FUZZ_CHECK(Near(layout.pageArea));
    for (const QRect& box : layout.boxes)
        FUZZ_CHECK(Near(box));
    return 0;
}
