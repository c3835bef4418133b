#include "resources/ResourceNames.h"

namespace fabulor {

QString BuiltInPicturePath(std::string_view name)
{
    return QStringLiteral(":/builtin/") +
           QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QString ItemPicturePath(int index)
{
    return QStringLiteral(":/items/%1.png").arg(index);
}

} // namespace fabulor
