#pragma once
// The skin document: an in-memory INI store of ordered sections holding key
// lines, with names found regardless of letter case and the last duplicate
// winning. It is never backed by a file; text comes and goes as lines.

#include "document/AnsiText.h"
#include "document/ColourTable.h"
#include "document/MemoryStream.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace fabulor {

// Lookups keep their index up to date as they go, so one store is read by
// one thread at a time, like any other document.
class IniStore {
public:
    IniStore() = default;

    // Removes every section.
    void clear();

    // A missing section or key gives the default.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // Replaces the key's line in place (the key takes the letter case of this
    // call) or appends it, creating the section when needed. The value is
    // taken as it is: no trimming, no checks.
    void writeString(std::string_view section, std::string_view key, std::string_view value);

    // An unparsable value gives the default (see ParseInteger).
    std::int32_t readInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const;
    void writeInteger(std::string_view section, std::string_view key, std::int32_t value);

    // Any integer other than 0 is true; written as "1" or "0".
    bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;
    void writeBool(std::string_view section, std::string_view key, bool value);

    // The stored colour text, or defaultText when the key is missing, turned
    // into a colour; throws EConvertError when that text is no colour.
    Colour readColour(std::string_view section, std::string_view key, std::string_view defaultText) const;
    void writeColour(std::string_view section, std::string_view key, Colour value);

    // Stores the bytes from the stream's position to its end as upper-case
    // hexadecimal; the position is not moved.
    void writeBinary(std::string_view section, std::string_view key, const MemoryStream& stream);
    // Decodes the stored hexadecimal into the stream at its position and
    // leaves the position there; returns how many bytes the value holds
    // (0 for a missing or empty value).
    std::size_t readBinary(std::string_view section, std::string_view key, MemoryStream& stream) const;

    // The key's value as stored, without a copy (a picture's may be many
    // megabytes): valid until the document next changes. None when missing.
    std::optional<std::string_view> readView(std::string_view section, std::string_view key) const
    {
        return findValue(section, key);
    }

    // Whole key lines, for taking a change back exactly: the line of the key
    // (its last duplicate) as stored, name case included, or none.
    bool hasSection(std::string_view section) const;
    std::optional<std::string> keyLine(std::string_view section, std::string_view key) const;
    // Puts a line taken by keyLine back in the key's place, or appends it
    // (creating the section) when the key is absent.
    void restoreKeyLine(std::string_view section, std::string_view key, std::string line);
    // Removes the key's last line; the section stays, also when empty.
    void eraseKey(std::string_view section, std::string_view key);
    // Removes the section when it holds no lines.
    void eraseEmptySection(std::string_view section);

    // Appends the document's lines: per section its "[name]" header, its lines
    // and one empty line. An empty document gives none.
    void getStrings(std::vector<std::string>& lines) const;
    // Replaces the whole document by the parsed lines. The rvalue form takes
    // over the lines, trimmed in place, instead of copying them, which
    // matters for pictures of several megabytes.
    void setStrings(const std::vector<std::string>& lines);
    void setStrings(std::vector<std::string>&& lines);

    // Calls visit(std::string_view) for each line getStrings would give,
    // without copying any of them.
    template <typename Visit> void forEachLine(Visit&& visit) const;
    // Calls visitSection(std::string_view name) as each section starts, then
    // visitLine(std::string_view) for each of its lines; no header is built,
    // so a section name of any length costs no copy.
    template <typename VisitSection, typename VisitLine>
    void forEachSection(VisitSection&& visitSection, VisitLine&& visitLine) const;

private:
    // Upper-cased name -> position of the last line or section of that name,
    // rebuilt on the first lookup once stale. A copy of the store starts
    // with stale indexes instead of copying them: copies are taken to be
    // read elsewhere (the check reads one), and a skin of a million names
    // would copy a million entries on the way.
    struct NameIndex {
        std::unordered_map<std::string, std::size_t, AnsiNameHash, AnsiNameEqual> names;
        bool stale = true;

        NameIndex() = default;
        NameIndex(const NameIndex&) {}
        NameIndex& operator=(const NameIndex&)
        {
            names.clear();
            stale = true;
            return *this;
        }
        NameIndex(NameIndex&&) = default;
        NameIndex& operator=(NameIndex&&) = default;
        ~NameIndex() = default;
    };

    struct Line {
        std::string text;
        // Length of the key name before the first "="; npos when the line has
        // no "=" and so never matches a key.
        std::size_t nameLength = std::string::npos;

        bool isKeyLine() const { return nameLength != std::string::npos; }
        std::string_view name() const { return std::string_view(text).substr(0, nameLength); }
        std::string_view value() const { return std::string_view(text).substr(nameLength + 1); }
    };

    struct Section {
        std::string name;
        std::vector<Line> lines;
        // Rebuilt on the first lookup after the lines changed behind its back
        // (parsing); writes keep a fresh index up to date as they go.
        mutable NameIndex index;

        std::optional<std::size_t> find(std::string_view key) const;
        void append(Line line);
    };

    const Section* findSection(std::string_view name) const;
    Section& sectionForWrite(std::string_view name);
    std::optional<std::string_view> findValue(std::string_view section, std::string_view key) const;
    // Writes a complete "key=value" line built by the caller.
    void putLine(std::string_view section, std::string_view key, std::string line);
    template <typename Source> void parse(Source& lines);

    std::vector<Section> m_sections;
    mutable NameIndex m_sectionIndex;
};

template <typename Visit> void IniStore::forEachLine(Visit&& visit) const
{
    std::string header;
    for (const Section& section : m_sections) {
        header.assign(1, '[');
        header += section.name;
        header += ']';
        visit(std::string_view(header));
        for (const Line& line : section.lines)
            visit(std::string_view(line.text));
        visit(std::string_view());
    }
}

template <typename VisitSection, typename VisitLine>
void IniStore::forEachSection(VisitSection&& visitSection, VisitLine&& visitLine) const
{
    for (const Section& section : m_sections) {
        visitSection(std::string_view(section.name));
        for (const Line& line : section.lines)
            visitLine(std::string_view(line.text));
    }
}

} // namespace fabulor
