#pragma once
// Which control of the preview window shows each component of the skin: the
// one table that binds the schema's components (document/SkinSchema.h), by
// index, to the preview's controls.

#include "document/SkinSchema.h"

#include <array>
#include <span>

class QWidget;

namespace fabulor {

class PictureBox;
class TF;

struct ControlBinding {
    // The control the component's place (and size, where it has one) is.
    QWidget* (*control)(TF&);
    // A button's picture; null for components that are no button.
    PictureBox* (*picture)(TF&);
    // The widgets whose presses select and move the component: the control
    // itself or what covers it (a button's picture, a page, a viewport).
    std::array<QWidget* (*)(TF&), 5> pressed;
    // False where only a left press moves (a right press only selects).
    bool anyButtonMoves = true;
};

std::span<const ControlBinding, ComponentCount> ControlBindings();

// The control of a component, or null for an index outside the catalogue.
QWidget* ComponentControl(TF& f, int index);
// The picture box of a button, or null.
PictureBox* ComponentPicture(TF& f, int index);

} // namespace fabulor
