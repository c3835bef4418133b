#pragma once
// The component catalogue: the 24 components of the reader window a skin
// describes, in the order the chooser lists them. The index into this table
// is shared by the chooser, the geometry editors, the picture editor and the
// preview's press handlers.

#include <QString>

#include <array>
#include <string_view>

class QWidget;

namespace fabulor {

class PictureBox;
class TF;

struct CatalogueEntry {
    QString chooserText;
    std::string_view section;
    QWidget* (*moved)(TF&);   // the control whose left and top are edited
    QWidget* (*resized)(TF&); // the control whose size is edited; null: none
    bool rozmiar;             // which option bands the entry shows
    bool nawigacja;
    bool rysunek;
};

inline constexpr int CatalogueSize = 24;
inline constexpr int FirstButtonIndex = 3;
inline constexpr int LastButtonIndex = 16;
inline constexpr int WarningPictureIndex = 16;

const std::array<CatalogueEntry, CatalogueSize>& Catalogue();

// A button-like component: its section, picture box, built-in picture and
// default position.
struct ButtonEntry {
    std::string_view section;
    PictureBox* (*image)(TF&);
    QWidget* (*panel)(TF&);
    std::string_view builtInPicture;
    int defaultTop;
    int defaultLeft;
};

// Entries 3 to 16 of the catalogue, in catalogue order.
const std::array<ButtonEntry, LastButtonIndex - FirstButtonIndex + 1>& ButtonTable();

// The button entry of a catalogue index, or null outside 3 to 16.
const ButtonEntry* ButtonForIndex(int index);

} // namespace fabulor
