#pragma once
// The check's environment from the fonts installed here, through Qt's font
// database. Needs a QGuiApplication (the offscreen platform will do).

#include "check/SkinCheck.h"

#include <QString>

#include <functional>
#include <string>

namespace fabulor {

CheckEnvironment SystemCheckEnvironment();

// The family that fontconfig's metric aliases put in place of family (UTF-8)
// and that installed says is here: a font of the same letter widths, as
// Liberation Sans is for Arial. Empty when there is none; a generic fallback
// (sans-serif, DejaVu Sans) is none. Safe on any thread as long as installed
// is.
std::string MetricSubstitute(const std::string& family, const std::function<bool(const QString&)>& installed);

} // namespace fabulor
