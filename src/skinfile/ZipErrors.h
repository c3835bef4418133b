#pragma once
// Failures of the ZIP archive component. Each text is what the error box
// shows (with a full stop) and what skintool prints, word for word; the skin
// file tests compare them exactly, so a text changes only with its tests.

#include "document/Errors.h"
#include "skinfile/EntryLimit.h"

#include <string>

namespace fabulor {

// Root of the archive-specific failures; also raised as-is for "Full Path Required".
class EZipException : public Exception {
public:
    using Exception::Exception;
    ~EZipException() override;
};

class EZipInvalid : public EZipException {
public:
    EZipInvalid() : EZipException("Invalid file - not a PKZip file") {}
    ~EZipInvalid() override;
};

// One part of a multi-part archive whose other parts are missing.
class EZipFileNotFound : public EZipException {
public:
    EZipFileNotFound() : EZipException("File not found") {}
    ~EZipFileNotFound() override;
};

class EZipNoArchive : public EZipException {
public:
    EZipNoArchive() : EZipException("Archive does not exist - FileName is blank") {}
    ~EZipNoArchive() override;
};

class EZipVersion : public EZipException {
public:
    EZipVersion() : EZipException("Cannot extract file - newer version required") {}
    ~EZipVersion() override;
};

class EZipInvalidPassword : public EZipException {
public:
    EZipInvalidPassword() : EZipException("Cannot extract file - invalid password") {}
    ~EZipInvalidPassword() override;
};

class EZipInvalidMethod : public EZipException {
public:
    EZipInvalidMethod() : EZipException("Cannot extract file - unsupported compression method") {}
    ~EZipInvalidMethod() override;
};

class EZipBadCRC : public EZipException {
public:
    EZipBadCRC() : EZipException("Failed CRC Check") {}
    ~EZipBadCRC() override;
};

class EZipDuplicateName : public EZipException {
public:
    EZipDuplicateName() : EZipException("Cannot insert file - duplicates stored name") {}
    ~EZipDuplicateName() override;
};

// An entry larger than MaxEntryTextBytes, on the way out or in.
class EZipEntryTooLarge : public EZipException {
public:
    static EZipEntryTooLarge extracting()
    {
        return EZipEntryTooLarge("Cannot extract file - " + limitText());
    }
    static EZipEntryTooLarge inserting() { return EZipEntryTooLarge("Cannot insert file - " + limitText()); }
    ~EZipEntryTooLarge() override;

private:
    using EZipException::EZipException;
    static std::string limitText()
    {
        return "entry larger than " + std::to_string(MaxEntryTextBytes / (std::size_t{1024} * 1024)) + " MiB";
    }
};

// Deflate data that does not decode: malformed or cut short.
class EZipInflateError : public EZipException {
public:
    using EZipException::EZipException;
    ~EZipInflateError() override;
};

} // namespace fabulor
