// The skin file load sequence on any bytes: open the archive, extract
// "skin.ski", close, parse. Whatever text comes out must survive the save
// sequence: saved as a new skin file, and saved over a copy of the loaded
// file (which keeps its folder entries), it loads back byte for byte. A
// load never writes: the loaded file stays as it was.

#include "FuzzCheck.h"

#include "document/DocumentText.h"
#include "document/Errors.h"
#include "document/IniStore.h"
#include "document/MemoryStream.h"
#include "skinfile/EntryLimit.h"
#include "skinfile/SkinEntry.h"
#include "skinfile/ZipKit.h"

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <system_error>
#include <vector>

using namespace fabulor;
namespace fs = std::filesystem;

namespace {

// One folder per fuzzing process, emptied again when the process ends.
class WorkFolder {
public:
    WorkFolder()
    {
        m_path = fs::temp_directory_path() / ("fsb-fuzz-skinfile-" + std::to_string(::getpid()));
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~WorkFolder()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    std::string file(const char* name) const { return (m_path / name).string(); }

private:
    fs::path m_path;
};

const WorkFolder& work()
{
    static const WorkFolder folder;
    return folder;
}

void writeFile(const std::string& path, std::span<const std::uint8_t> bytes)
{
    fs::remove(path);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    FUZZ_CHECK(out.good());
}

std::vector<std::uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    FUZZ_CHECK(in.good());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool sameBytes(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

// Loads the saved file and expects exactly the text, with nothing absorbed.
void expectLoadsBack(const std::string& path, const MemoryStream& text)
{
    TZipKit zip;
    const MemoryStream back = LoadSkinEntry(path, zip);
    FUZZ_CHECK(!zip.lastItemFailure());
    FUZZ_CHECK(sameBytes(back.bytes(), text.bytes()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> input(data, size);
    const std::string loaded = work().file("loaded.ski");
    writeFile(loaded, input);

    MemoryStream text;
    try {
        TZipKit zip;
        text = LoadSkinEntry(loaded, zip);
        FUZZ_CHECK(text.position() == 0);
        FUZZ_CHECK(text.size() <= MaxEntryTextBytes);
        // An absorbed failure must still be reportable: the editor rethrows it.
        if (const auto& failure = zip.lastItemFailure()) {
            FUZZ_CHECK(failure->error && !failure->className.empty() && !failure->message.empty());
            try {
                std::rethrow_exception(failure->error);
            } catch (const Exception& error) {
                FUZZ_CHECK(failure->message == error.what());
            }
        }
    } catch (const Exception&) {
        // A file that does not open as an archive: refused with a message.
    } catch (const std::exception& error) {
        fuzzcheck::unexpected("loading", error);
    }
    FUZZ_CHECK(sameBytes(readFile(loaded), input));

    try {
        IniStore document;
        MemoryStream parsed = text;
        LoadDocumentBytes(document, parsed);

        const std::string fresh = work().file("fresh.ski");
        fs::remove(fresh);
        {
            TZipKit zip;
            MemoryStream toSave = text;
            SaveSkinEntry(fresh, toSave, zip);
        }
        expectLoadsBack(fresh, text);
    } catch (const std::exception& error) {
        fuzzcheck::unexpected("saving a new skin file", error);
    }

    // Saving over the loaded file may refuse a damaged archive, but with
    // the archive's own error; when it succeeds the text must come back.
    const std::string over = work().file("over.ski");
    writeFile(over, input);
    bool saved = false;
    try {
        TZipKit zip;
        MemoryStream toSave = text;
        SaveSkinEntry(over, toSave, zip);
        saved = true;
    } catch (const Exception&) {
        // A save that fails leaves the old file exactly as it was.
        FUZZ_CHECK(sameBytes(readFile(over), input));
    } catch (const std::exception& error) {
        fuzzcheck::unexpected("saving over the loaded file", error);
    }
    if (saved) {
        try {
            expectLoadsBack(over, text);
        } catch (const std::exception& error) {
            fuzzcheck::unexpected("loading what was saved over the loaded file", error);
        }
    }
    return 0;
}
