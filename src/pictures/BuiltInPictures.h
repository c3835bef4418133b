#pragma once
// The built-in button pictures and the two rules for showing a stored picture:
// a button falls back to its built-in picture, the skin picture stays as it was.

#include "document/MemoryStream.h"
#include "pictures/Picture.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace fabulor {

class PictureBudget;

// Replaces the picture with the named built-in bitmap ("BUT", "BUTEND", ...).
// A picture that is not a bitmap is first replaced by an empty one, then the
// resource is read into it. Throws EInvalidGraphic for a name that is not built in.
void LoadBuiltInPicture(Picture& picture, std::string_view name);

// Shows the bytes as a JPEG picture, or the named built-in picture when they
// do not decode (empty, not JPEG, broken header). Shows no message. With a
// budget, a picture whose pixels no longer fit in it counts as one that does
// not decode.
void ShowButtonPicture(Picture& picture, std::span<const std::uint8_t> bytes, std::string_view name,
                       const std::shared_ptr<PictureBudget>& budget = {});
// The same for a whole picture stream, whatever its position.
void ShowButtonPicture(Picture& picture, const MemoryStream& stream, std::string_view name,
                       const std::shared_ptr<PictureBudget>& budget = {});

// Shows the bytes as a JPEG picture in the skin picture; when they do not
// decode (or do not fit in the budget) the skin picture keeps what it had.
// Shows no message.
void ShowSkinPicture(std::span<const std::uint8_t> bytes, Picture& skin,
                     const std::shared_ptr<PictureBudget>& budget = {});
void ShowSkinPicture(const MemoryStream& stream, Picture& skin,
                     const std::shared_ptr<PictureBudget>& budget = {});

} // namespace fabulor
