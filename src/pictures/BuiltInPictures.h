#pragma once
// The built-in button pictures and the two rules for showing a stored picture:
// a button falls back to its built-in picture, the skin picture stays as it was.

#include "document/MemoryStream.h"
#include "pictures/Picture.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace fabulor {

// Replaces the picture with the named built-in bitmap ("BUT", "BUTEND", ...).
// A picture that is not a bitmap is first replaced by an empty one, then the
// resource is read into it. Throws EInvalidGraphic for a name that is not built in.
void LoadBuiltInPicture(Picture& picture, std::string_view name);

// Shows the bytes as a JPEG picture, or the named built-in picture when they
// do not decode (empty, not JPEG, broken header). Shows no message.
void ShowButtonPicture(Picture& picture, std::span<const std::uint8_t> bytes, std::string_view name);
// The same for a whole picture stream, whatever its position.
void ShowButtonPicture(Picture& picture, const MemoryStream& stream, std::string_view name);

// Shows the bytes as a JPEG picture in the skin picture; when they do not
// decode the skin picture keeps what it had. Shows no message.
void ShowSkinPicture(std::span<const std::uint8_t> bytes, Picture& skin);
void ShowSkinPicture(const MemoryStream& stream, Picture& skin);

} // namespace fabulor
