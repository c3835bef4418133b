#pragma once
// Entry names: how a given name becomes the stored one, how names are looked
// up, and how delete masks ("*.*;readme.?xt") match them.

#include <string>
#include <string_view>

namespace fabulor {

// Drops a drive or server-and-share prefix, one leading separator and every
// leading "..\"; "\" becomes "/".
std::string storedEntryName(std::string_view given);

// Whole-name comparison, path included, ignoring the case of A to Z only.
bool sameEntryName(std::string_view a, std::string_view b);

// True when any ";"-separated pattern of the mask matches the name. A folder
// entry (a name ending in "/") matches nothing.
bool matchesMask(std::string_view mask, std::string_view name);

} // namespace fabulor
