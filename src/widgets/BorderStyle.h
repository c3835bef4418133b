#pragma once
// The two frame styles of the description box and the item list.

namespace fabulor {

enum class BorderStyle { None, Single };

} // namespace fabulor
