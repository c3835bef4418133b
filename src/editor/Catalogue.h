#pragma once
// The component catalogue as the settings window uses it: each component of
// the skin's schema (document/SkinSchema.h) joined with its control in the
// preview (preview/PreviewControls.h), in the order the chooser lists them.
// The index into this table is shared by the chooser, the geometry editors,
// the picture editor and the preview's press handlers.

#include "document/SkinSchema.h"

#include <QString>

#include <array>
#include <string_view>

class QWidget;

namespace fabulor {

struct ControlBinding;
class PictureBox;
class TF;

struct CatalogueEntry {
    const SkinComponent* schema; // what the skin holds of it
    const ControlBinding* binding;
    QString chooserText;
    std::string_view section;

    // The control whose left and top are edited.
    QWidget* moved(TF& f) const;
    // The control whose size is edited; null where the size is not edited.
    QWidget* resized(TF& f) const;
    // A button's picture box; null for other components.
    PictureBox* image(TF& f) const;

    // Which option bands the entry shows.
    bool rozmiar() const { return schema->has(SizeGroup); }
    bool nawigacja() const { return schema->has(PagesGroup); }
    bool rysunek() const { return schema->has(PicturesGroup); }
};

inline constexpr int CatalogueSize = int(ComponentCount);

const std::array<CatalogueEntry, CatalogueSize>& Catalogue();

// A component's section name, as steps of the history name it.
QString SectionName(int index);

// The entry of a catalogue index, or null outside it.
const CatalogueEntry* CatalogueAt(int index);
// The entry of a button (index 3 to 16), or null for any other index.
const CatalogueEntry* ButtonForIndex(int index);

} // namespace fabulor
