#include "DocumentText.h"

#include <algorithm>
#include <cstring>

namespace fabulor {

std::vector<std::string> BytesToLines(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty()) return {};
    const char* p = reinterpret_cast<const char*>(bytes.data());
    const char* end = p + bytes.size();
    if (const void* nul = std::memchr(p, 0, bytes.size())) end = static_cast<const char*>(nul);

    // The next CR and the next LF are each searched with memchr and searched
    // again only once the scan has passed them, so every byte is looked at a
    // bounded number of times whatever mix of line ends the text has.
    auto next = [end](const char* from, char c) {
        const void* hit = std::memchr(from, c, static_cast<std::size_t>(end - from));
        return hit ? static_cast<const char*>(hit) : end;
    };
    const char* nextCr = next(p, '\r');
    const char* nextLf = next(p, '\n');
    std::vector<std::string> lines;
    while (p != end) {
        if (nextCr < p) nextCr = next(p, '\r');
        if (nextLf < p) nextLf = next(p, '\n');
        const char* stop = std::min(nextCr, nextLf);
        lines.emplace_back(p, stop);
        if (stop == end) break;
        p = stop + 1;
        if (*stop == '\r' && p != end && *p == '\n') ++p;
    }
    return lines;
}

namespace {

std::size_t textSize(const IniStore& store)
{
    std::size_t size = 0;
    store.forEachLine([&size](std::string_view line) { size += line.size() + 2; });
    return size;
}

// Fills exactly textSize(store) bytes at out.
void fillText(const IniStore& store, char* out)
{
    store.forEachLine([&out](std::string_view line) {
        if (!line.empty()) // an empty view may have no data at all
            std::memcpy(out, line.data(), line.size());
        out += line.size();
        *out++ = '\r';
        *out++ = '\n';
    });
}

} // namespace

std::string DocumentText(const IniStore& store)
{
    // Measured first, so that multi-megabyte pictures are copied exactly once.
    std::string text(textSize(store), '\0');
    fillText(store, text.data());
    return text;
}

void LoadDocumentBytes(IniStore& store, MemoryStream& stream)
{
    store.setStrings(BytesToLines(stream.remaining()));
    stream.setPosition(stream.size());
}

void SaveDocumentBytes(const IniStore& store, MemoryStream& stream)
{
    // Straight into the stream's buffer: no second copy of the whole text.
    const std::size_t start = stream.position();
    const std::size_t size = textSize(store);
    if (size == 0) return;
    if (stream.size() < start + size) stream.setSize(start + size);
    fillText(store, reinterpret_cast<char*>(stream.bytes().data() + start));
    stream.setPosition(start + size);
}

} // namespace fabulor
