#include "SkinEntry.h"

namespace fabulor {

namespace {

// Releases the archive if a step in between raises, so no operation leaves
// an archive open behind it. Nothing is written then: the pending changes
// of a sequence that failed half-way (every entry marked for deletion, say)
// are no archive anyone asked for, and a file the save created goes again.
class ArchiveCloser {
public:
    explicit ArchiveCloser(TZipKit& zip) : m_zip(zip) {}
    ~ArchiveCloser()
    {
        if (!m_zip.FileName().empty()) m_zip.DiscardArchiveFile();
    }
    ArchiveCloser(const ArchiveCloser&) = delete;
    ArchiveCloser& operator=(const ArchiveCloser&) = delete;

private:
    TZipKit& m_zip;
};

} // namespace

MemoryStream LoadSkinEntry(const std::string& path, TZipKit& zip)
{
    MemoryStream text;
    zip.OpenArchiveFile(path);
    ArchiveCloser closer(zip);
    zip.ExtractEntryToStream(SkinEntryName, text);
    zip.CloseArchiveFile();
    text.rewind();
    return text;
}

void SaveSkinEntry(const std::string& path, MemoryStream& text, TZipKit& zip)
{
    zip.setFileName(path);
    ArchiveCloser closer(zip);
    zip.DeleteEntries("*.*");
    zip.AddEntryFromStream(SkinEntryName, text);
    zip.SaveChanges();
    zip.CloseArchiveFile();
}

} // namespace fabulor
