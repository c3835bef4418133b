#include "DocumentText.h"

#include <algorithm>
#include <cstring>

namespace fabulor {

std::vector<std::string> BytesToLines(std::span<const std::uint8_t> bytes)
{
    const char* p = reinterpret_cast<const char*>(bytes.data());
    const char* end = p + bytes.size();
    if (const void* nul = std::memchr(p, 0, bytes.size()))
        end = static_cast<const char*>(nul);

    std::vector<std::string> lines;
    while (p != end) {
        const char* stop = std::find_if(p, end, [](char c) { return c == '\r' || c == '\n'; });
        lines.emplace_back(p, stop);
        if (stop == end)
            break;
        p = stop + 1;
        if (*stop == '\r' && p != end && *p == '\n')
            ++p;
    }
    return lines;
}

std::string LinesToText(const std::vector<std::string>& lines)
{
    std::size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines)
        text.append(line).append("\r\n");
    return text;
}

std::string DocumentText(const IniStore& store)
{
    // Measure first so that multi-megabyte pictures are copied exactly once.
    std::size_t size = 0;
    store.forEachLine([&size](std::string_view line) { size += line.size() + 2; });
    std::string text;
    text.reserve(size);
    store.forEachLine([&text](std::string_view line) { text.append(line).append("\r\n"); });
    return text;
}

void LoadDocumentBytes(IniStore& store, MemoryStream& stream)
{
    store.setStrings(BytesToLines(stream.remaining()));
    stream.setPosition(stream.size());
}

void SaveDocumentBytes(const IniStore& store, MemoryStream& stream)
{
    stream.write(DocumentText(store));
}

} // namespace fabulor
