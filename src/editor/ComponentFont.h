#pragma once
// Setting a preview component's font the way the skin describes it: the
// name held with at most 31 characters (an empty one keeps the name), the
// size in points. The skin file keeps names as 8-bit text, byte for byte.
//
// A skin may hold font sizes that Qt cannot draw (0 and below: other tools
// write them, and the reader's own toolkit gives them a meaning). Such a size
// must survive load and save, so each component remembers the size its skin
// holds apart from the point size it is drawn with.

#include <QString>

#include <string>

class QWidget;

namespace fabulor {

inline constexpr int MaxFontNameLength = 31;

void ApplyFontName(QWidget* control, const QString& name);

// The skin's size for the component from now on. A size of 1 point or more
// is drawn as it is; any other keeps the size the component is drawn with,
// which is always a readable one.
void ApplyFontSize(QWidget* control, int points);

// Only remembers the skin's size; the component keeps being drawn as it is.
void KeepSkinFontSize(QWidget* control, int points);

// The size the skin holds for the component: the last size applied or kept,
// otherwise the point size it is drawn with.
int SkinFontSize(const QWidget* control);

// The font name as the skin document holds it, and back.
QString FontNameFromSkin(const std::string& name);
std::string FontNameForSkin(const QString& name);

} // namespace fabulor
