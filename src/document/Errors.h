#pragma once
// The failures the program raises. Every failure is an exception derived from
// fabulor::Exception; what() is the exact text the user sees in the error box.
// Class names follow the roles the reader program's world knows them by.

#include <stdexcept>
#include <string>

namespace fabulor {

class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    ~Exception() override;
};

// A text that should have been a number or a colour.
class EConvertError : public Exception {
public:
    using Exception::Exception;
    ~EConvertError() override;
};

class EStreamError : public Exception {
public:
    using Exception::Exception;
    ~EStreamError() override;
};

class EReadError : public EStreamError {
public:
    EReadError() : EStreamError("Stream read error") {}
    using EStreamError::EStreamError;
    ~EReadError() override;
};

class EWriteError : public EStreamError {
public:
    EWriteError() : EStreamError("Stream write error") {}
    using EStreamError::EStreamError;
    ~EWriteError() override;
};

class EFileStreamError : public EStreamError {
public:
    using EStreamError::EStreamError;
    ~EFileStreamError() override;
};

class EFOpenError : public EFileStreamError {
public:
    explicit EFOpenError(const std::string& path) : EFileStreamError("Cannot open file " + path) {}
    ~EFOpenError() override;
};

class EFCreateError : public EFileStreamError {
public:
    explicit EFCreateError(const std::string& path) : EFileStreamError("Cannot create file " + path) {}
    ~EFCreateError() override;
};

} // namespace fabulor
