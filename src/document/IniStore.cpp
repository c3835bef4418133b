#include "IniStore.h"

#include "document/HexText.h"
#include "document/IntegerText.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <type_traits>
#include <utility>

namespace fabulor {
namespace {

// Names longer than this stay out of the indexes, which hold a copy of each
// name, and are found by looking through the lines: a damaged or hostile
// skin may hold a name of hundreds of megabytes, and nothing looks up a
// name that long but by accident.
constexpr std::size_t LongestIndexedName = 256;

bool Indexed(std::string_view name)
{
    return name.size() <= LongestIndexedName;
}

// Keeps of a parsed line only the parts given, as views into it in their
// order, moved together in place: a line of hundreds of megabytes is then
// neither copied nor held twice.
std::string Keep(std::string& line, std::initializer_list<std::string_view> parts)
{
    std::size_t end = 0;
    for (const std::string_view part : parts) {
        // Each part moves towards the front, never over a later one.
        if (!part.empty()) std::memmove(line.data() + end, part.data(), part.size());
        end += part.size();
    }
    line.resize(end);
    // A short name or value cut from a long run of blanks keeps no room.
    if (line.capacity() > 2 * end + 64) line.shrink_to_fit();
    return std::move(line);
}

} // namespace

std::optional<std::size_t> IniStore::Section::find(std::string_view key) const
{
    if (!Indexed(key)) {
        for (std::size_t i = lines.size(); i-- > 0;)
            if (lines[i].isKeyLine() && AnsiSameText(lines[i].name(), key)) return i;
        return std::nullopt;
    }
    if (index.stale) {
        index.names.clear();
        // Later lines overwrite earlier ones: the last duplicate wins.
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (lines[i].isKeyLine() && Indexed(lines[i].name()))
                index.names.insert_or_assign(AnsiUpperCase(lines[i].name()), i);
        index.stale = false;
    }
    const auto it = index.names.find(key);
    if (it == index.names.end()) return std::nullopt;
    return it->second;
}

void IniStore::Section::append(Line line)
{
    lines.push_back(std::move(line));
    if (!index.stale && lines.back().isKeyLine() && Indexed(lines.back().name()))
        index.names.insert_or_assign(AnsiUpperCase(lines.back().name()), lines.size() - 1);
}

void IniStore::clear()
{
    m_sections.clear();
    m_sectionIndex.names.clear();
    m_sectionIndex.stale = true;
}

const IniStore::Section* IniStore::findSection(std::string_view name) const
{
    if (!Indexed(name)) {
        for (std::size_t i = m_sections.size(); i-- > 0;)
            if (AnsiSameText(m_sections[i].name, name)) return &m_sections[i];
        return nullptr;
    }
    if (m_sectionIndex.stale) {
        m_sectionIndex.names.clear();
        for (std::size_t i = 0; i < m_sections.size(); ++i)
            if (Indexed(m_sections[i].name))
                m_sectionIndex.names.insert_or_assign(AnsiUpperCase(m_sections[i].name), i);
        m_sectionIndex.stale = false;
    }
    const auto it = m_sectionIndex.names.find(name);
    return it == m_sectionIndex.names.end() ? nullptr : &m_sections[it->second];
}

IniStore::Section& IniStore::sectionForWrite(std::string_view name)
{
    if (const Section* found = findSection(name))
        return m_sections[static_cast<std::size_t>(found - m_sections.data())];
    m_sections.push_back(Section{std::string(name), {}, {}});
    // findSection has just brought the index up to date, so the new section
    // can simply be added to it.
    if (Indexed(name)) m_sectionIndex.names.insert_or_assign(AnsiUpperCase(name), m_sections.size() - 1);
    return m_sections.back();
}

std::optional<std::string_view> IniStore::findValue(std::string_view section, std::string_view key) const
{
    const Section* s = findSection(section);
    if (!s) return std::nullopt;
    const auto pos = s->find(key);
    if (!pos) return std::nullopt;
    return s->lines[*pos].value();
}

void IniStore::putLine(std::string_view section, std::string_view key, std::string line)
{
    Section& s = sectionForWrite(section);
    // A key holding "=" is split there like any parsed line, so the index
    // always agrees with what a reload of the text would give.
    Line built{std::move(line), std::string::npos};
    built.nameLength = std::string_view(built.text).substr(0, key.size() + 1).find('=');
    if (const auto pos = s.find(key))
        s.lines[*pos] = std::move(built); // same name up to letter case: index unchanged
    else
        s.append(std::move(built));
}

bool IniStore::hasSection(std::string_view section) const
{
    return findSection(section) != nullptr;
}

std::optional<std::string> IniStore::keyLine(std::string_view section, std::string_view key) const
{
    const Section* s = findSection(section);
    if (!s) return std::nullopt;
    const auto pos = s->find(key);
    if (!pos) return std::nullopt;
    return s->lines[*pos].text;
}

void IniStore::restoreKeyLine(std::string_view section, std::string_view key, std::string line)
{
    putLine(section, key, std::move(line));
}

void IniStore::eraseKey(std::string_view section, std::string_view key)
{
    const Section* found = findSection(section);
    if (!found) return;
    Section& s = m_sections[static_cast<std::size_t>(found - m_sections.data())];
    const auto pos = s.find(key);
    if (!pos) return;
    s.lines.erase(s.lines.begin() + static_cast<std::ptrdiff_t>(*pos));
    s.index.stale = true;
}

void IniStore::eraseEmptySection(std::string_view section)
{
    const Section* found = findSection(section);
    if (!found || !found->lines.empty()) return;
    m_sections.erase(m_sections.begin() + (found - m_sections.data()));
    m_sectionIndex.stale = true;
}

std::string IniStore::readString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const
{
    return std::string(findValue(section, key).value_or(defaultValue));
}

void IniStore::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    std::string line;
    line.reserve(key.size() + 1 + value.size());
    line.append(key).append(1, '=').append(value);
    putLine(section, key, std::move(line));
}

std::int32_t IniStore::readInteger(std::string_view section, std::string_view key,
                                   std::int32_t defaultValue) const
{
    // ParseInteger takes "0x" itself, so no rewriting to "$" is needed first.
    const auto text = findValue(section, key);
    if (!text) return defaultValue;
    return ParseInteger(*text).value_or(defaultValue);
}

void IniStore::writeInteger(std::string_view section, std::string_view key, std::int32_t value)
{
    writeString(section, key, IntegerToText(value));
}

bool IniStore::readBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniStore::writeBool(std::string_view section, std::string_view key, bool value)
{
    writeString(section, key, value ? "1" : "0");
}

Colour IniStore::readColour(std::string_view section, std::string_view key,
                            std::string_view defaultText) const
{
    return StringToColor(findValue(section, key).value_or(defaultText));
}

void IniStore::writeColour(std::string_view section, std::string_view key, Colour value)
{
    writeString(section, key, ColorToString(value));
}

void IniStore::writeBinary(std::string_view section, std::string_view key, const MemoryStream& stream)
{
    const auto bytes = stream.remaining();
    std::string line;
    line.reserve(key.size() + 1 + 2 * bytes.size());
    line.append(key).append(1, '=');
    AppendHex(line, bytes);
    putLine(section, key, std::move(line));
}

std::size_t IniStore::readBinary(std::string_view section, std::string_view key, MemoryStream& stream) const
{
    const auto text = findValue(section, key);
    if (!text || text->empty()) return 0;
    const std::size_t count = text->size() / 2; // a last odd digit is ignored
    const std::size_t position = stream.position();
    // The bytes go where the stream stands, growing it as needed, just as a
    // write would; existing bytes past the value are kept. Text that is not
    // made of digit pairs is decoded up to the first bad pair and the rest of
    // the value's bytes are left zero, so the size still matches the text.
    if (stream.size() < position + count) stream.setSize(position + count);
    const auto region = stream.bytes().subspan(position, count);
    std::fill(region.begin(), region.end(), std::uint8_t{0});
    DecodeHex(*text, region);
    stream.setPosition(position);
    return count;
}

void IniStore::getStrings(std::vector<std::string>& lines) const
{
    forEachLine([&lines](std::string_view line) { lines.emplace_back(line); });
}

template <typename Source> void IniStore::parse(Source& source)
{
    constexpr bool canMove = !std::is_const_v<Source>;
    clear();
    Section* current = nullptr;
    for (auto& original : source) {
        const std::string_view line = TrimBlanks(original);
        if (line.empty() || line.front() == ';') continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            // Duplicate headers make duplicate sections; lookups find the last.
            const std::string_view name = TrimBlanks(line.substr(1, line.size() - 2));
            if constexpr (canMove)
                m_sections.push_back(Section{Keep(original, {name}), {}, {}});
            else
                m_sections.push_back(Section{std::string(name), {}, {}});
            current = &m_sections.back();
            continue;
        }
        if (!current) continue; // nothing before the first header belongs to the document
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            // Kept and written out again, but never matched as a key.
            if constexpr (canMove)
                current->lines.push_back(Line{Keep(original, {line}), std::string::npos});
            else
                current->lines.push_back(Line{std::string(line), std::string::npos});
            continue;
        }
        const std::string_view name = TrimBlanks(line.substr(0, eq));
        const std::string_view value = TrimBlanks(line.substr(eq + 1));
        if constexpr (canMove) {
            current->lines.push_back(Line{Keep(original, {name, line.substr(eq, 1), value}), name.size()});
            continue;
        }
        std::string text;
        text.reserve(name.size() + 1 + value.size());
        text.append(name).append(1, '=').append(value);
        current->lines.push_back(Line{std::move(text), name.size()});
    }
    // Every section starts with a stale index; the section list's one was
    // marked stale by clear().
}

void IniStore::setStrings(const std::vector<std::string>& lines)
{
    parse(lines);
}

void IniStore::setStrings(std::vector<std::string>&& lines)
{
    parse(lines);
}

} // namespace fabulor
