#pragma once
// The two fixed call sequences that move the skin document text in and out of
// a skin file; the editor's load/save buttons and skintool share them.

#include "document/MemoryStream.h"
#include "skinfile/ZipKit.h"

#include <string>

namespace fabulor {

// The entry every skin file carries its document text in.
inline constexpr const char* SkinEntryName = "skin.ski";

// Opens the archive at the full path, extracts "skin.ski" and closes it.
// Returns the extracted bytes (empty without such an entry), rewound. A
// failure absorbed by the extraction stays readable in zip.lastItemFailure().
// A missing file, or one that is no regular file, raises EFOpenError:
// loading never creates or writes a file.
MemoryStream LoadSkinEntry(const std::string& path, TZipKit& zip);

// Makes the file at the full path an archive whose only named entry is
// "skin.ski" holding the stream's whole content (folder entries stay).
void SaveSkinEntry(const std::string& path, MemoryStream& text, TZipKit& zip);

} // namespace fabulor
