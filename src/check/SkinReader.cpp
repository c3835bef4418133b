#include "check/SkinReader.h"

#include "document/AnsiText.h"
#include "document/IntegerText.h"

#include <unordered_set>

namespace fabulor::check {

SkinReader::SkinReader(const IniStore& document) : m_document(document)
{
    // The key lines of all sections lie in one list, each section's in a
    // stretch of it: a skin of a million sections costs no million lists.
    std::vector<std::size_t> starts;
    document.forEachSection(
        [this, &starts](std::string_view name) {
            m_sections.push_back(Section{name, {}, false});
            starts.push_back(m_keys.size());
        },
        [this](std::string_view line) {
            const std::size_t eq = line.find('=');
            if (eq == std::string_view::npos) return; // kept by the document, never a key
            m_keys.push_back({line.substr(0, eq), line.substr(eq + 1)});
        });
    starts.push_back(m_keys.size());
    for (std::size_t i = 0; i < m_sections.size(); ++i)
        m_sections[i].keys = std::span<const KeyLine>(m_keys).subspan(starts[i], starts[i + 1] - starts[i]);

    // Duplicate headers make duplicate sections; the document finds the last,
    // under names compared as it compares them: seen from the end, a name
    // met before is an earlier duplicate.
    std::unordered_set<std::string_view, AnsiNameHash, AnsiNameEqual> later;
    later.reserve(m_sections.size());
    for (std::size_t i = m_sections.size(); i-- > 0;)
        m_sections[i].effective = later.insert(m_sections[i].name).second;

    // The keys of the schema, found once, in one pass: the rules ask for
    // them again and again, and the document's own lookup would index every
    // name of a section on the way (a million unknown ones, say).
    const std::span<const SkinSection> schema = SkinSections();
    m_known.resize(schema.size());
    for (std::size_t s = 0; s < schema.size(); ++s)
        m_known[s].resize(schema[s].keys.size());
    for (const Section& section : m_sections) {
        if (!section.effective) continue;
        const SkinSection* known = FindSection(section.name);
        if (!known) continue;
        auto& values = m_known[std::size_t(known - schema.data())];
        for (const KeyLine& line : section.keys)
            if (const SkinKey* key = known->key(line.name))
                values[std::size_t(key - known->keys.data())] = line.value; // a later duplicate wins
    }
}

std::optional<std::string_view> SkinReader::value(std::string_view section, std::string_view key) const
{
    if (const SkinSection* known = FindSection(section))
        if (const SkinKey* schemaKey = known->key(key))
            return m_known[std::size_t(known - SkinSections().data())]
                          [std::size_t(schemaKey - known->keys.data())];
    return m_document.readView(section, key); // a name the schema does not know
}

std::int32_t SkinReader::integer(std::string_view section, std::string_view key) const
{
    const std::int32_t fallback = DefaultNumber(section, key);
    const auto text = value(section, key);
    if (!text) return fallback;
    return ParseInteger(*text).value_or(fallback);
}

bool SkinReader::flag(std::string_view section, std::string_view key) const
{
    return integer(section, key) != 0;
}

std::string_view SkinReader::text(std::string_view section, std::string_view key) const
{
    if (const auto found = value(section, key)) return *found;
    const SkinSection* known = FindSection(section);
    const SkinKey* schemaKey = known ? known->key(key) : nullptr;
    return schemaKey ? schemaKey->defaultText : std::string_view();
}

std::string Latin1ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

} // namespace fabulor::check
