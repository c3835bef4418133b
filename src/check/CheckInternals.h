#pragma once
// What the rules share with the layout model: the skin's pictures and the
// fonts its labels are drawn in.

#include "check/CheckPictures.h"
#include "check/SkinLayout.h"
#include "check/SkinReader.h"

#include <string>

namespace fabulor::check {

// The mouse-out picture of a button, or the mask, as stored; null when the
// key is missing or empty.
const DecodedPicture* StoredPicture(const SkinReader& skin, CheckPictureCache& cache,
                                    std::string_view section, std::string_view key, PictureRole role,
                                    bool pixels = false);

// Whether a mask shapes the window: the skin in use and a mask that decodes.
const DecodedPicture* ShapingMask(const SkinReader& skin, CheckPictureCache& cache);

struct LabelFont {
    std::string family; // UTF-8
    int points = 8;
};
// The font a label is drawn in after the skin is loaded, following how the
// editor applies it (an empty name keeps the one before, a size the size
// picker refuses is drawn at 10 points).
LabelFont EffectiveLabelFont(const SkinReader& skin, int index);

SkinLayout LayoutOf(const SkinReader& skin, const CheckEnvironment& environment, CheckPictureCache& cache);

} // namespace fabulor::check
