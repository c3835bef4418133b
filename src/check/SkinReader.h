#pragma once
// The skin document as the check reads it: every section and key line, as
// views into the document's own lines, so that a picture of many megabytes is
// looked at without being copied; and values found as the document finds
// them (letter case ignored, the last duplicate section and key winning).
// The views stay valid while the document is not changed.

#include "document/IniStore.h"
#include "document/SkinSchema.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fabulor::check {

class SkinReader {
public:
    explicit SkinReader(const IniStore& document);

    struct KeyLine {
        std::string_view name;
        std::string_view value;
    };
    struct Section {
        std::string_view name;
        std::span<const KeyLine> keys; // every key line, duplicates included
        bool effective = false;        // the last section of its name: the one lookups find
    };
    const std::vector<Section>& sections() const { return m_sections; }

    std::optional<std::string_view> value(std::string_view section, std::string_view key) const;
    // As the document reads an integer: the schema's default when the key is
    // missing or its text is no number.
    std::int32_t integer(std::string_view section, std::string_view key) const;
    bool flag(std::string_view section, std::string_view key) const;
    // The key's text, or the schema's default text.
    std::string_view text(std::string_view section, std::string_view key) const;

private:
    const IniStore& m_document;
    std::vector<Section> m_sections;
    std::vector<KeyLine> m_keys; // every section's, one after another
    // The value each key of the schema reads, by the section's and the
    // key's place in the schema; none where the skin lacks the key.
    std::vector<std::vector<std::optional<std::string_view>>> m_known;
};

// Bytes of 8-bit skin text (font and key names) as UTF-8, one byte one
// character, as the editor takes font names.
std::string Latin1ToUtf8(std::string_view text);

} // namespace fabulor::check
