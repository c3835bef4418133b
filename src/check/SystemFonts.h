#pragma once
// The check's environment from the fonts installed here, through Qt's font
// database. Needs a QGuiApplication (the offscreen platform will do).

#include "check/SkinCheck.h"

namespace fabulor {

CheckEnvironment SystemCheckEnvironment();

} // namespace fabulor
