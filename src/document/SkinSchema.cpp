#include "document/SkinSchema.h"

#include "document/AnsiText.h"

#include <array>

namespace fabulor {
namespace {

constexpr SkinKey Integer(KeyRole role, std::string_view name, std::int32_t value)
{
    return {name, KeyKind::Integer, role, value};
}

constexpr SkinKey Limited(KeyRole role, std::string_view name, std::int32_t value, std::int32_t minimum,
                          std::int32_t maximum)
{
    return {name, KeyKind::Integer, role, value, {}, minimum, maximum};
}

constexpr SkinKey Flag(KeyRole role, std::string_view name)
{
    return {name, KeyKind::Flag, role, 0};
}

constexpr SkinKey ColourKey(KeyRole role, std::string_view name, std::string_view value)
{
    return {name, KeyKind::ColourValue, role, 0, value};
}

constexpr SkinKey Text(KeyRole role, std::string_view name, std::string_view value)
{
    return {name, KeyKind::Text, role, 0, value};
}

constexpr SkinKey Binary(KeyRole role, std::string_view name)
{
    return {name, KeyKind::Binary, role};
}

// The window's size editors take 0 to 5000, the border editors 0 to 10, the
// font size picker shows 1 to 999.
constexpr std::int32_t MaxWindowSide = 5000;
constexpr std::int32_t MaxBorder = 10;
constexpr std::int32_t MaxFontSize = 999;

// The keys every component of a kind has.
constexpr SkinKey Width(std::int32_t value)
{
    return Integer(KeyRole::Width, "S", value);
}

constexpr SkinKey Height(std::int32_t value)
{
    return Integer(KeyRole::Height, "W", value);
}

constexpr SkinKey Top(std::int32_t value)
{
    return Integer(KeyRole::Top, "T", value);
}

constexpr SkinKey Left(std::int32_t value)
{
    return Integer(KeyRole::Left, "L", value);
}

constexpr SkinKey Border(std::int32_t value)
{
    return Limited(KeyRole::Border, "Border", value, 0, MaxBorder);
}

constexpr SkinKey Background(std::string_view value)
{
    return ColourKey(KeyRole::Background, "Color", value);
}

constexpr SkinKey FontColour(std::string_view value)
{
    return ColourKey(KeyRole::FontColour, "FColor", value);
}

constexpr SkinKey FontName()
{
    return Text(KeyRole::FontName, "FName", "Arial");
}

constexpr SkinKey FontSize(std::int32_t value)
{
    return Limited(KeyRole::FontSize, "FSize", value, 1, MaxFontSize);
}

constexpr std::array skinKeys{
    Flag(KeyRole::UseSkin, "En"),
    Limited(KeyRole::Width, "W", 623, 0, MaxWindowSide),
    Limited(KeyRole::Height, "H", 364, 0, MaxWindowSide),
    Binary(KeyRole::Mask, "Maska"),
    Binary(KeyRole::SkinPicture, "Skin"),
};

constexpr std::array pageControlKeys{
    Width(209), Height(153), Top(144), Left(24), Border(0), Background("$00DFDFDF"),
};

constexpr std::array descriptionKeys{
    Width(209),
    Height(88),
    Top(49),
    Left(24),
    Flag(KeyRole::Flat, "Flat"),
    Background("$0FFFFFF"),
    FontColour("$0000000"),
    FontName(),
    FontSize(10),
};

constexpr std::array pictureKeys{
    Width(241),
    Height(249),
    Top(48),
    Left(248),
    Border(4),
    ColourKey(KeyRole::InnerColour, "RColor", "clGray"),
    Background("clSilver"),
};

// A button: its place and its two pictures.
constexpr std::array<SkinKey, 4> ButtonKeys(std::int32_t top, std::int32_t left)
{
    return {Top(top), Left(left), Binary(KeyRole::MouseOut, "MP1"), Binary(KeyRole::MouseOver, "MP2")};
}

constexpr auto closeKeys = ButtonKeys(16, 464);
constexpr auto minimiseKeys = ButtonKeys(16, 430);
constexpr auto menuKeys = ButtonKeys(16, 396);
constexpr auto path1Keys = ButtonKeys(5, 8);
constexpr auto path2Keys = ButtonKeys(35, 8);
constexpr auto path3Keys = ButtonKeys(65, 8);
constexpr auto path4Keys = ButtonKeys(95, 8);
constexpr auto upKeys = ButtonKeys(40, 85);
constexpr auto downKeys = ButtonKeys(80, 85);
constexpr auto leftKeys = ButtonKeys(80, 45);
constexpr auto rightKeys = ButtonKeys(80, 125);
constexpr auto endKeys = ButtonKeys(50, 64);
constexpr auto itemKeys = ButtonKeys(50, 64);
constexpr auto warningKeys = ButtonKeys(305, 25);

constexpr std::array moveAreaKeys{
    Width(361),
    Height(25),
    Top(16),
    Left(24),
};

// A label: its place and its font.
constexpr std::array<SkinKey, 5> LabelKeys(std::int32_t top, std::int32_t left)
{
    return {Top(top), Left(left), FontColour("clBlack"), FontName(), FontSize(8)};
}

constexpr auto label1Keys = LabelKeys(12, 42);
constexpr auto label2Keys = LabelKeys(42, 42);
constexpr auto label3Keys = LabelKeys(72, 42);
constexpr auto label4Keys = LabelKeys(102, 42);
constexpr auto messageKeys = LabelKeys(312, 64);

constexpr std::array itemListKeys{
    Width(97),
    Height(249),
    Top(48),
    Left(504),
    Flag(KeyRole::Flat, "Flat"),
    Background("$0FFFFFF"),
    FontColour("$0000000"),
    FontName(),
    FontSize(10),
};

const std::array<SkinSection, ComponentCount + 1> sections{{
    {"Skin", skinKeys},    {"PC1", pageControlKeys}, {"OP1", descriptionKeys}, {"PRys", pictureKeys},
    {"PClose", closeKeys}, {"PMini", minimiseKeys},  {"PMenu", menuKeys},      {"P1", path1Keys},
    {"P2", path2Keys},     {"P3", path3Keys},        {"P4", path4Keys},        {"PG", upKeys},
    {"PD", downKeys},      {"PL", leftKeys},         {"PP", rightKeys},        {"PEnd", endKeys},
    {"PItem", itemKeys},   {"PUwaga", warningKeys},  {"PMove", moveAreaKeys},  {"L1", label1Keys},
    {"L2", label2Keys},    {"L3", label3Keys},       {"L4", label4Keys},       {"LM", messageKeys},
    {"LB", itemListKeys},
}};

constexpr unsigned Boxed = SizeGroup | PlaceGroup;
constexpr unsigned Button = PlaceGroup | PicturesGroup | MouseOverGroup;

constexpr std::array<SkinComponent, ComponentCount> components{{
    {"Page Control - Syt., Kier., Inw., Koniec", "PC1", "PC1", Boxed | PagesGroup,
     AppearanceSheet::PageControl},
    {"Opis sytuacji", "OP1", "Op1", Boxed, AppearanceSheet::Description},
    {"Rysunek", "PRys", "PRys", Boxed, AppearanceSheet::Picture},
    {"Przycisk [Zamknij]", "PClose", "PClose", Button, AppearanceSheet::None, "BUT"},
    {"Przycisk [Minimalizuj]", "PMini", "PMini", Button, AppearanceSheet::None, "BUTM"},
    {"Przycisk [Menu]", "PMenu", "PMenu", Button, AppearanceSheet::None, "BUTMENU"},
    {"Przycisk [1]", "P1", "P1", Button, AppearanceSheet::None, "BUT1"},
    {"Przycisk [2]", "P2", "P2", Button, AppearanceSheet::None, "BUT2"},
    {"Przycisk [3]", "P3", "P3", Button, AppearanceSheet::None, "BUT3"},
    {"Przycisk [4]", "P4", "P4", Button, AppearanceSheet::None, "BUT4"},
    {"Przycisk [Góra]", "PG", "PG", Button, AppearanceSheet::None, "BUTG"},
    {"Przycisk [Dół]", "PD", "PD", Button, AppearanceSheet::None, "BUTD"},
    {"Przycisk [Lewo]", "PL", "PL", Button, AppearanceSheet::None, "BUTL"},
    {"Przycisk [Prawo]", "PP", "PP", Button, AppearanceSheet::None, "BUTP"},
    {"Przycisk [Koniec]", "PEnd", "PEnd", Button, AppearanceSheet::None, "BUTEND"},
    {"Przycisk [OK]", "PItem", "PItem", Button, AppearanceSheet::None, "BUTITEM"},
    // The warning sign has a mouse-out picture only.
    {"Rysunek [Uwaga]", "PUwaga", "PUwaga", PlaceGroup | PicturesGroup, AppearanceSheet::None, "BUTUWAGA"},
    {"Obszar przenoszenia", "PMove", "PMove", Boxed, AppearanceSheet::None},
    {"Etykieta [1]", "L1", "L1", PlaceGroup, AppearanceSheet::PathLabels},
    {"Etykieta [2]", "L2", "L2", PlaceGroup, AppearanceSheet::PathLabels},
    {"Etykieta [3]", "L3", "L3", PlaceGroup, AppearanceSheet::PathLabels},
    {"Etykieta [4]", "L4", "L4", PlaceGroup, AppearanceSheet::PathLabels},
    {"Etykieta [Komunikaty]", "LM", "LM", PlaceGroup, AppearanceSheet::Messages},
    {"Lista przedmiotów", "LB", "LB", Boxed, AppearanceSheet::ItemList},
}};

} // namespace

const SkinKey* SkinSection::key(std::string_view keyName) const
{
    for (const SkinKey& candidate : keys)
        if (AnsiSameText(candidate.name, keyName)) return &candidate;
    return nullptr;
}

const SkinKey* SkinSection::key(KeyRole role) const
{
    for (const SkinKey& candidate : keys)
        if (candidate.role == role) return &candidate;
    return nullptr;
}

std::span<const SkinSection> SkinSections()
{
    return sections;
}

const SkinSection& WindowSection()
{
    return sections.front();
}

const SkinKey& WindowKey(KeyRole role)
{
    return *WindowSection().key(role);
}

const SkinSection* FindSection(std::string_view name)
{
    for (const SkinSection& section : sections)
        if (AnsiSameText(section.name, name)) return &section;
    return nullptr;
}

std::span<const SkinComponent, ComponentCount> SkinComponents()
{
    return components;
}

int ComponentIndex(std::string_view section)
{
    for (std::size_t i = 0; i < components.size(); ++i)
        if (AnsiSameText(components[i].section, section)) return int(i);
    return -1;
}

const SkinSection& ComponentSection(int index)
{
    // The window's own section comes first.
    return sections[std::size_t(index) + 1];
}

const SkinKey& ComponentKey(int index, KeyRole role)
{
    return *ComponentSection(index).key(role);
}

std::int32_t DefaultNumber(std::string_view section, std::string_view key)
{
    const SkinSection* known = FindSection(section);
    const SkinKey* found = known ? known->key(key) : nullptr;
    return found ? found->defaultNumber : 0;
}

std::int32_t DefaultNumber(int component, KeyRole role)
{
    const SkinKey* found = ComponentSection(component).key(role);
    return found ? found->defaultNumber : 0;
}

} // namespace fabulor
