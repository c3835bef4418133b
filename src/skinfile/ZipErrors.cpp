#include "ZipErrors.h"

namespace fabulor {

// Out-of-line destructors give each class one home for its type information.
EZipException::~EZipException() = default;
EZipInvalid::~EZipInvalid() = default;
EZipFileNotFound::~EZipFileNotFound() = default;
EZipNoArchive::~EZipNoArchive() = default;
EZipVersion::~EZipVersion() = default;
EZipInvalidPassword::~EZipInvalidPassword() = default;
EZipInvalidMethod::~EZipInvalidMethod() = default;
EZipBadCRC::~EZipBadCRC() = default;
EZipDuplicateName::~EZipDuplicateName() = default;
EZipEntryTooLarge::~EZipEntryTooLarge() = default;
EZipInflateError::~EZipInflateError() = default;

} // namespace fabulor
