#pragma once
// Where the reader window's components lie, worked out from the skin alone,
// without a preview: the window's size, the page area of the page control
// and every component's box in window coordinates, as the preview places
// them. Buttons are as large as their mouse-out picture (or built-in
// picture), labels as their sample text where text can be measured.

#include "check/SkinCheck.h"
#include "document/SkinSchema.h"

#include <QRect>
#include <QSize>

#include <array>

namespace fabulor {

inline constexpr int WindowParent = -1;

// The page of the page control a component lies on (0 to 3), or WindowParent.
int ComponentPage(int index);

struct SkinLayout {
    QSize window;  // W x H, or the mask's size while it shapes the window
    QRect pageArea; // the page control's page area, in window coordinates
    std::array<QRect, ComponentCount> boxes; // window coordinates
};

// The layout of a skin as the preview would show it after loading it.
SkinLayout BuildSkinLayout(const IniStore& document, const CheckEnvironment& environment = {},
                           CheckPictureCache* cache = nullptr);

// The texts the preview's labels show in place of the reader's own: the
// four path labels' and the message label's.
std::string_view LabelSampleText(int index);

} // namespace fabulor
