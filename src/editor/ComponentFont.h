#pragma once
// Setting a preview component's font the way the skin describes it: the
// name held with at most 31 characters (an empty one keeps the name), the
// size in points (one Qt cannot show keeps the size). The skin file keeps
// names as 8-bit text, byte for byte.

#include <QString>

#include <string>

class QWidget;

namespace fabulor {

inline constexpr int MaxFontNameLength = 31;

void ApplyFontName(QWidget* control, const QString& name);
void ApplyFontSize(QWidget* control, int points);

// The font name as the skin document holds it, and back.
QString FontNameFromSkin(const std::string& name);
std::string FontNameForSkin(const QString& name);

} // namespace fabulor
