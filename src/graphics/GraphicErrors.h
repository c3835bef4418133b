#pragma once
// Failures of the two picture decoders.

#include "document/Errors.h"

#include <string>

namespace fabulor {

// A mask or built-in bitmap that does not read.
class EInvalidGraphic : public Exception {
public:
    EInvalidGraphic() : Exception("Bitmap image is not valid") {}
    using Exception::Exception;
    ~EInvalidGraphic() override;
};

// A JPEG picture whose header does not read; carries the JPEG library's message code.
class EJPEG : public Exception {
public:
    explicit EJPEG(int code) : Exception("JPEG error #" + std::to_string(code)), m_code(code) {}
    ~EJPEG() override;
    int code() const { return m_code; }

private:
    int m_code;
};

// A picture whose pixels would take the skin's pictures past the memory they
// may use together (PictureBudget.h); shown as one that does not decode.
class EPictureBudget : public Exception {
public:
    EPictureBudget() : Exception("The skin's pictures would need too much memory") {}
    ~EPictureBudget() override;
};

} // namespace fabulor
