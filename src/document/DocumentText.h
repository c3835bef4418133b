#pragma once
// The skin document as bytes: the text of the "skin.ski" entry. Every line
// ends with CR LF on the way out; on the way in any line end is taken.

#include "document/IniStore.h"
#include "document/MemoryStream.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace fabulor {

// Splits 8-bit text into lines at CR LF, a lone CR or a lone LF; a last line
// without a line end still counts. A NUL byte ends the text.
std::vector<std::string> BytesToLines(std::span<const std::uint8_t> bytes);

// The document's lines (IniStore::getStrings) as text with CR LF line ends,
// built in one pass without an intermediate line list.
std::string DocumentText(const IniStore& store);

// Replaces the document by the text from the stream's position to its end;
// the stream is left at its end, as after reading it.
void LoadDocumentBytes(IniStore& store, MemoryStream& stream);

// Writes the document's text at the stream's position.
void SaveDocumentBytes(const IniStore& store, MemoryStream& stream);

} // namespace fabulor
