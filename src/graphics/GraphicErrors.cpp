#include "GraphicErrors.h"

namespace fabulor {

EInvalidGraphic::~EInvalidGraphic() = default;
EJPEG::~EJPEG() = default;

} // namespace fabulor
