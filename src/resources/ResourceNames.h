#pragma once
// Where the built-in pictures live in the program's resources.

#include <QString>

#include <array>
#include <string_view>

namespace fabulor {

// The built-in button bitmaps, by resource name ("BUTC" is kept but unused).
inline constexpr std::array<std::string_view, 15> kBuiltInPictureNames = {
    "BUT",  "BUTM", "BUTMENU", "BUT1",   "BUT2",    "BUT3",     "BUT4", "BUTG",
    "BUTD", "BUTL", "BUTP",    "BUTEND", "BUTITEM", "BUTUWAGA", "BUTC"};

inline constexpr int kItemPictureCount = 7;

// ":/builtin/NAME": a 24-bit bitmap starting at its information header.
QString BuiltInPicturePath(std::string_view name);
// ":/items/N.png": the 32 x 32 pictures of the preview's item list.
QString ItemPicturePath(int index);

} // namespace fabulor
