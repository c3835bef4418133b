#include "document/SkinValue.h"

#include <cassert>

namespace fabulor {

SkinValue ReadSkinValue(const IniStore& doc, std::string_view section, const SkinKey& key)
{
    switch (key.kind) {
    case KeyKind::Integer:
        return doc.readInteger(section, key.name, key.defaultNumber);
    case KeyKind::Flag:
        return doc.readBool(section, key.name, key.defaultNumber != 0);
    case KeyKind::ColourValue:
        return doc.readColour(section, key.name, key.defaultText);
    case KeyKind::Text:
        return doc.readString(section, key.name, key.defaultText);
    case KeyKind::Binary:
        break;
    }
    assert(false && "binary keys have no single value");
    return std::string();
}

void WriteSkinValue(IniStore& doc, std::string_view section, const SkinKey& key, const SkinValue& value)
{
    switch (key.kind) {
    case KeyKind::Integer:
        doc.writeInteger(section, key.name, std::get<std::int32_t>(value));
        return;
    case KeyKind::Flag:
        doc.writeBool(section, key.name, std::get<bool>(value));
        return;
    case KeyKind::ColourValue:
        doc.writeColour(section, key.name, std::get<Colour>(value));
        return;
    case KeyKind::Text:
        doc.writeString(section, key.name, std::get<std::string>(value));
        return;
    case KeyKind::Binary:
        break;
    }
    assert(false && "binary keys have no single value");
}

} // namespace fabulor
