#pragma once
// One value of a skin key, typed by its kind, and reading and writing it in
// the document the way the schema says.

#include "document/ColourTable.h"
#include "document/IniStore.h"
#include "document/SkinSchema.h"

#include <cstdint>
#include <string>
#include <variant>

namespace fabulor {

// Integer, flag, colour or text. Binary keys have no value of this kind.
using SkinValue = std::variant<std::int32_t, bool, Colour, std::string>;

// The key's value, or its default when absent. A colour that is no colour
// throws EConvertError, as the document does. Not for binary keys.
SkinValue ReadSkinValue(const IniStore& doc, std::string_view section, const SkinKey& key);
// Writes the value as the key's kind is written.
void WriteSkinValue(IniStore& doc, std::string_view section, const SkinKey& key, const SkinValue& value);

} // namespace fabulor
