#include "GraphicErrors.h"

namespace fabulor {

EInvalidGraphic::~EInvalidGraphic() = default;
EJPEG::~EJPEG() = default;
EPictureBudget::~EPictureBudget() = default;

} // namespace fabulor
