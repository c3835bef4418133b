#include "Errors.h"

namespace fabulor {

// Out-of-line destructors give each class one home for its type information.
Exception::~Exception() = default;
EConvertError::~EConvertError() = default;
EStreamError::~EStreamError() = default;
EReadError::~EReadError() = default;
EWriteError::~EWriteError() = default;
EFileStreamError::~EFileStreamError() = default;
EFOpenError::~EFOpenError() = default;
EFCreateError::~EFCreateError() = default;

} // namespace fabulor
