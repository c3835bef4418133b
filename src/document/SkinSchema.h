#pragma once
// What a skin holds: its sections and their keys, and the components of the
// reader window that the sections describe. The one description the rest of
// the program reads: capture writes the keys in the order given here, apply
// reads them with these defaults, the editors take these limits, and the
// component chooser lists the components in this order.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string_view>

namespace fabulor {

// How a key's value is written in the skin file.
enum class KeyKind {
    Integer,     // decimal
    Flag,        // "1" or "0"
    ColourValue, // a colour name or "$" with eight hexadecimal digits
    Text,        // 8-bit text, as it is
    Binary,      // upper-case hexadecimal of a file's bytes (pictures)
};

// What a key holds for the editor: which property of its component (or of
// the window) it is. Capture, apply, the steps of the history and the check
// act on a key by its role, so a new key of a known role needs no code.
enum class KeyRole {
    Width,  // "S" of a component; "W" of the window
    Height, // "W" of a component; "H" of the window
    Top,
    Left,
    Border,
    Background,  // the control's own colour (the frame's, for the picture frame)
    InnerColour, // the picture frame's inner area
    Flat,
    FontColour,
    FontName,
    FontSize,
    MouseOut,  // a button's picture
    MouseOver, // its picture under the pointer
    UseSkin,   // whether the mask shapes the window
    Mask,
    SkinPicture,
    Other, // kept in the skin, edited by nothing
};

// A component's place or size.
constexpr bool IsGeometryRole(KeyRole role)
{
    return role == KeyRole::Width || role == KeyRole::Height || role == KeyRole::Top || role == KeyRole::Left;
}

// What the sheets of "Właściwości" edit: colours, fonts, borders, flatness.
constexpr bool IsAppearanceRole(KeyRole role)
{
    switch (role) {
    case KeyRole::Border:
    case KeyRole::Background:
    case KeyRole::InnerColour:
    case KeyRole::Flat:
    case KeyRole::FontColour:
    case KeyRole::FontName:
    case KeyRole::FontSize:
        return true;
    case KeyRole::Width:
    case KeyRole::Height:
    case KeyRole::Top:
    case KeyRole::Left:
    case KeyRole::MouseOut:
    case KeyRole::MouseOver:
    case KeyRole::UseSkin:
    case KeyRole::Mask:
    case KeyRole::SkinPicture:
    case KeyRole::Other:
        break;
    }
    return false;
}

struct SkinKey {
    std::string_view name;
    KeyKind kind;
    KeyRole role = KeyRole::Other;
    // The default an absent key gives: a number for integers and flags, the
    // written text for colours and text. Binary keys default to no bytes.
    std::int32_t defaultNumber = 0;
    std::string_view defaultText = {};
    // What the editors of the key accept; the whole range where no editor
    // limits it.
    std::int32_t minimum = std::numeric_limits<std::int32_t>::min();
    std::int32_t maximum = std::numeric_limits<std::int32_t>::max();

    // Capture writes every key but the binary ones: those are stored when
    // the user chooses a file.
    bool captured() const { return kind != KeyKind::Binary; }
    bool isGeometry() const { return IsGeometryRole(role); }
    bool isAppearance() const { return IsAppearanceRole(role); }
};

struct SkinSection {
    std::string_view name;
    // In the order capture writes them and apply reads them.
    std::span<const SkinKey> keys;

    const SkinKey* key(std::string_view keyName) const;
    // The section's key of a role; null when it has none.
    const SkinKey* key(KeyRole role) const;
};

// Every section, in the order capture writes them: "Skin" first, then one
// per component in catalogue order.
std::span<const SkinSection> SkinSections();
// Found regardless of letter case, as the document finds names; null when
// the skin has no such section.
const SkinSection* FindSection(std::string_view name);
// The window's own section, "Skin", the first of all.
const SkinSection& WindowSection();
// The window's key of a role, which it has (UseSkin, Width, Height, Mask,
// SkinPicture).
const SkinKey& WindowKey(KeyRole role);

// Which bands of the component editor an entry offers.
enum ComponentGroup : unsigned {
    SizeGroup = 1u << 0,      // width and height ("S", "W")
    PlaceGroup = 1u << 1,     // left and top ("L", "T")
    PagesGroup = 1u << 2,     // stepping through the pages
    PicturesGroup = 1u << 3,  // a mouse-out picture ("MP1")
    MouseOverGroup = 1u << 4, // and a mouse-over picture ("MP2")
};

// Which sheet of the appearance editor edits an entry's colours, fonts and
// borders.
enum class AppearanceSheet {
    None,
    Description, // "Opis"
    PageControl, // "PageControl"
    ItemList,    // "Przedmioty"
    Picture,     // "Rysunek"
    PathLabels,  // the four path labels share one sheet
    Messages,    // "Komunikat"
};
inline constexpr std::size_t AppearanceSheetCount = 7; // None included

struct SkinComponent {
    std::string_view chooserText; // UTF-8, as the chooser lists it
    std::string_view section;
    std::string_view control; // the object name of its control in the preview
    unsigned groups;
    AppearanceSheet appearance;
    // Buttons: the built-in picture shown while the skin has none.
    std::string_view builtInPicture = {};

    bool has(ComponentGroup group) const { return (groups & group) != 0; }
};

inline constexpr std::size_t ComponentCount = 24;
// The components that code singles out, by their index in the catalogue.
inline constexpr int PageControlIndex = 0;
inline constexpr int DescriptionIndex = 1;
inline constexpr int FirstButtonIndex = 3;
inline constexpr int LastButtonIndex = 16;
inline constexpr int WarningPictureIndex = 16;
inline constexpr int FirstPathLabelIndex = 18;
inline constexpr int MessageLabelIndex = 22;
inline constexpr int ItemListIndex = 23;

// The components in the order the chooser lists them; the index into this
// table names a component everywhere in the program.
std::span<const SkinComponent, ComponentCount> SkinComponents();
// The index of the component a section describes, or -1.
int ComponentIndex(std::string_view section);
// The section of the component of an index (0 to 23).
const SkinSection& ComponentSection(int index);
// The key of a role that the component of an index has (a button's
// MouseOut, a label's FontColour).
const SkinKey& ComponentKey(int index, KeyRole role);

// The default of a section's integer key (its start geometry, say); 0 for a
// key the schema does not know.
std::int32_t DefaultNumber(std::string_view section, std::string_view key);
// The default of a component's key of a role; 0 where it has none.
std::int32_t DefaultNumber(int component, KeyRole role);

// The most a widget's geometry holds (Qt's QWIDGETSIZE_MAX): a component is
// placed at most this far from its parent's corner and made at most this
// large, so that its edges, and those of what lies on it, stay far from the
// ends of int. Any number may be typed or read; a component's left and top
// ("L", "T") and width and height ("S", "W") are held to these where they
// are used.
inline constexpr std::int32_t MaxComponentExtent = (1 << 24) - 1;

inline std::int32_t PlaceableCoordinate(std::int32_t value)
{
    return std::clamp(value, -MaxComponentExtent, MaxComponentExtent);
}

inline std::int32_t PlaceableExtent(std::int32_t value)
{
    return std::clamp(value, 0, MaxComponentExtent);
}

} // namespace fabulor
