#pragma once
// The skin check: what in a skin the reader will show wrongly or not at all,
// found from the document alone, before anyone loads it into the reader.
// Shared by the editor's findings list and `skintool check`; needs no widgets.

#include "document/IniStore.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace fabulor {

// A note tells what the reader will do differently without anything being
// wrong: a font that is not installed here, but has one of the same letter
// widths that takes its place.
enum class Severity { Warning, Error, Note };

struct Finding {
    Severity severity = Severity::Warning;
    std::string message; // Polish, UTF-8, short; states the rule ("kontrast 1,8:1")
    std::string section; // as the schema spells it; empty for the whole skin
    std::string key;     // empty when the finding is about the section as a whole
    int component = -1;  // index into SkinComponents(), -1 when none
};

// The width and height of a text drawn in one line, in pixels.
struct TextSize {
    int width = 0;
    int height = 0;
};

// What the check needs of the machine it runs on. Font names are UTF-8.
// SystemCheckEnvironment() (check/SystemFonts.h) fills it from the installed
// fonts.
struct CheckEnvironment {
    // Whether a font family is installed. Unset: the font rule is skipped.
    std::function<bool(const std::string& family)> fontInstalled;
    // The installed family that takes the place of one not installed with
    // the same width of every letter, so text lays out as in the named font
    // (Liberation Sans for Arial); empty when there is none. Unset: none.
    std::function<std::string(const std::string& family)> fontSubstitute;
    // The sizes, in points, that a font of fixed sizes offers; empty for a
    // scalable font. Unset: no size is refused for this reason.
    std::function<std::vector<int>(const std::string& family)> fontSizes;
    // A UTF-8 text in the font at the size, as the preview's labels measure
    // themselves. Unset: labels keep the size the reader's mock-up gives them.
    std::function<TextSize(const std::string& family, int points, const std::string& text)> measureText;
};

// Pictures decoded by earlier checks, keyed on the stored bytes, so that
// checking again after an edit that left the pictures alone decodes nothing.
// One cache serves one thread at a time.
class CheckPictureCache {
public:
    CheckPictureCache();
    ~CheckPictureCache();
    CheckPictureCache(const CheckPictureCache&) = delete;
    CheckPictureCache& operator=(const CheckPictureCache&) = delete;

    struct Entries;
    Entries& entries() { return *m_entries; }

private:
    std::unique_ptr<Entries> m_entries;
};

// Every finding: errors, warnings, then notes, each in schema order (the
// window's section, then the components in catalogue order). Notes alone:
// the skin is clean.
std::vector<Finding> CheckSkin(const IniStore& document, const CheckEnvironment& environment = {},
                               CheckPictureCache* cache = nullptr);

} // namespace fabulor
