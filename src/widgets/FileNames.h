#pragma once
// File names as the program holds them: QStrings that keep every byte of the
// name the file system knows. Qt turns a byte that is no UTF-8 into U+FFFD
// (QFile::decodeName) and leaves such names out of its directory listings, so
// a file called "bad\xFF.ski" could be named but never opened again. Here
// such a byte b becomes the lone surrogate U+DC00 + b, which no decoded name
// contains, and turns back into b on the way out; every other name is the
// QString Qt would make of it.

#include <QString>

#include <string>

class QUrl;

namespace fabulor {

// The name of a path the file system gave (argv, a directory entry).
QString FileNameFromBytes(const char* bytes, std::size_t size);
QString FileNameFromBytes(const std::string& bytes);
// The path to hand to the file system, byte for byte as it was given.
std::string FileNameBytes(const QString& name);
// The name for people to read: a byte that is no UTF-8 shows as U+FFFD.
QString FileNameShown(const QString& name);

// The name made absolute against the working folder, "." and ".." taken out,
// without reaching the disk. QFileInfo::absoluteFilePath would lose the bytes.
QString AbsoluteFileName(const QString& name);
// Whether something answers to the name (symbolic links followed).
bool FileNameExists(const QString& name);
// Whether the name is a regular file (symbolic links followed).
bool FileNameIsRegularFile(const QString& name);
// The local file a file:// address names, its percent-escaped bytes kept;
// empty for any other address.
QString LocalFileName(const QUrl& url);

} // namespace fabulor
