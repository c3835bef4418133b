// skintool export and import: a skin file as a folder of plain files, so
// that version control can diff and merge its text and scripts can swap its
// pictures. DIR/skin.ini is the skin's text byte for byte (its line ends,
// its 8-bit letters, its duplicates and letter case), except that each
// picture value is a reference to a file beside it: "MP1=@PClose.MP1.jpg".
// Only the values are touched, never re-written from a parsed document,
// so importing an export gives back the very same text.
//
// Which values are pictures: the binary keys of the skin's own sections
// (the mask and skin picture of [Skin], the buttons' pictures), found as
// the document finds them (letter case ignored, blanks around names and
// values left out, nothing before the first section, nothing after a NUL).
// Export turns such a value into a reference only when it is what the
// editor writes, upper-case hexadecimal digit pairs; any other value stays
// as it is. Hexadecimal never starts with "@", so on those keys a value
// starting with "@" is a reference; a literal value that starts with "@"
// anyway is written with one more "@" in front, which import takes away.

#include "Command.h"
#include "InputFile.h"

#include "check/CheckPictures.h"
#include "document/AnsiText.h"
#include "document/Errors.h"
#include "document/FileAccess.h"
#include "document/HexText.h"
#include "document/MemoryStream.h"
#include "document/SkinSchema.h"
#include "graphics/PictureLimits.h"
#include "skinfile/EntryLimit.h"
#include "skinfile/SkinEntry.h"
#include "skinfile/ZipErrors.h"
#include "skinfile/ZipKit.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace skintool {

namespace {

constexpr std::string_view TextFileName = "skin.ini";

// One picture value of a skin text.
struct PictureValue {
    std::size_t begin = 0; // the value's bytes in the text, without the blanks around it
    std::size_t end = 0;
    std::size_t line = 0;     // counted from 1
    std::string_view section; // as the schema spells them
    std::string_view key;
    // The value the document reads for its section and key: the last of
    // them in the last section of that name. The others are kept but unused.
    bool read = false;
};

// The picture values of a skin text, in the order they come, empty ones
// too. Lines end as the document splits them: at CR LF, a lone CR or a
// lone LF.
std::vector<PictureValue> FindPictureValues(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    std::vector<PictureValue> found;
    std::vector<std::size_t> inSection; // the section each value is in, counted per name
    std::map<const fabulor::SkinSection*, std::size_t> sections; // how many of each name so far
    const fabulor::SkinSection* section = nullptr;
    std::size_t number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t stop = std::min(text.find_first_of("\r\n", start), text.size());
        const std::string_view raw = text.substr(start, stop - start);
        const std::size_t lineStart = start;
        ++number;
        start = stop + 1;
        if (stop < text.size() && text[stop] == '\r' && start < text.size() && text[start] == '\n') ++start;

        const std::string_view line = fabulor::TrimBlanks(raw);
        if (line.empty() || line.front() == ';') continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = fabulor::FindSection(fabulor::TrimBlanks(line.substr(1, line.size() - 2)));
            if (section) ++sections[section];
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!section || eq == std::string_view::npos) continue;
        const fabulor::SkinKey* key = section->key(fabulor::TrimBlanks(line.substr(0, eq)));
        if (!key || key->kind != fabulor::KeyKind::Binary) continue;
        const std::string_view value = fabulor::TrimBlanks(line.substr(eq + 1));
        const std::size_t begin =
            value.empty() ? lineStart + raw.size() : lineStart + std::size_t(value.data() - raw.data());
        found.push_back({begin, begin + value.size(), number, section->name, key->name});
        inSection.push_back(sections[section]);
    }
    // From the end: the first of each section and key met in the last
    // section of its name is the one read.
    std::map<std::pair<std::string_view, std::string_view>, bool> met;
    for (std::size_t i = found.size(); i-- > 0;) {
        PictureValue& v = found[i];
        if (inSection[i] == sections[fabulor::FindSection(v.section)] && !met[{v.section, v.key}]) {
            v.read = true;
            met[{v.section, v.key}] = true;
        }
    }
    return found;
}

bool IsEditorHex(std::string_view value)
{
    return !value.empty() && value.size() % 2 == 0 && std::all_of(value.begin(), value.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
    });
}

// A picture file's extension by what its bytes are, not by where they sit.
std::string Extension(std::span<const std::uint8_t> bytes)
{
    std::string format = fabulor::check::SniffFormat(bytes);
    if (format.empty()) return "bin";
    if (format == "JPEG") return "jpg";
    std::transform(format.begin(), format.end(), format.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return format;
}

std::vector<std::uint8_t> DecodePicture(std::string_view hex)
{
    std::vector<std::uint8_t> bytes(hex.size() / 2);
    fabulor::DecodeHex(hex, bytes);
    return bytes;
}

// A folder named on the command line, without the slashes that may end it.
std::string FolderName(std::string name)
{
    while (name.size() > 1 && name.back() == '/')
        name.pop_back();
    return name;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t cut = path.rfind('/');
    if (cut == std::string::npos) return ".";
    return cut == 0 ? "/" : path.substr(0, cut);
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

bool FolderIsEmpty(const std::string& folder)
{
    DIR* listing = ::opendir(folder.c_str());
    if (!listing) throw fabulor::EFCreateError(folder);
    bool empty = true;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            empty = false;
            break;
        }
    }
    ::closedir(listing);
    return empty;
}

// Where an export goes. A folder that does not exist yet is made beside
// its place under a hidden name and takes its name only once every file in
// it is whole. An empty folder that exists is written into: renaming over
// it would pull it from under a shell or file manager that has it open.
// Either way a failed export leaves nothing of its own behind. A folder
// with anything in it is refused: export never replaces or mixes with
// files it did not write, so a picture left over from an earlier export
// can never be taken for part of this one.
class FolderWriter {
public:
    explicit FolderWriter(const std::string& folder) : m_folder(FolderName(folder))
    {
        struct stat st {};
        if (::stat(m_folder.c_str(), &st) == 0) {
            if (!S_ISDIR(st.st_mode)) throw fabulor::EFCreateError(m_folder);
            if (!FolderIsEmpty(m_folder))
                throw fabulor::Exception("Cannot export to " + m_folder + " - the folder is not empty");
            m_where = m_folder;
            return;
        }
        // A link that leads nowhere is refused as every writer refuses it;
        // making its target through it would put the skin somewhere unseen.
        fabulor::RefuseNonRegularTarget(m_folder);
        std::string pattern = m_folder;
        const std::size_t cut = pattern.rfind('/');
        pattern.insert(cut == std::string::npos ? 0 : cut + 1, ".");
        pattern += ".XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (!::mkdtemp(name.data())) throw fabulor::EFCreateError(m_folder);
        m_where.assign(name.data());
        m_temporary = true;
    }

    ~FolderWriter()
    {
        if (m_committed) return;
        for (const std::string& path : m_written)
            ::unlink(path.c_str());
        if (m_temporary) ::rmdir(m_where.c_str());
    }
    FolderWriter(const FolderWriter&) = delete;
    FolderWriter& operator=(const FolderWriter&) = delete;

    void write(const std::string& name, std::span<const std::uint8_t> bytes)
    {
        const std::string shown = m_folder + "/" + name;
        const std::string path = m_where + "/" + name;
        fabulor::FileHandle file;
        try {
            file = fabulor::CreateNewRegularFile(path, 0666);
        } catch (const fabulor::EFCreateError&) {
            throw fabulor::EFCreateError(shown);
        }
        m_written.push_back(path);
        while (!bytes.empty()) {
            const ssize_t n = ::write(file.fd(), bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) failed(shown, n < 0 ? errno : EIO);
            bytes = bytes.subspan(static_cast<std::size_t>(n));
        }
        if (::fsync(file.fd()) != 0) failed(shown, errno);
        if (::close(file.release()) != 0) failed(shown, errno);
    }

    void commit()
    {
        if (m_temporary) {
            // mkdtemp makes the folder for its owner alone; a folder made
            // by export is made as mkdir would make it.
            const mode_t mask = ::umask(0);
            ::umask(mask);
            ::chmod(m_where.c_str(), 0777 & ~mask);
            SyncFolder(m_where);
            if (::rename(m_where.c_str(), m_folder.c_str()) != 0) throw fabulor::EFCreateError(m_folder);
            m_committed = true;
            SyncFolder(FolderOf(m_folder));
        } else {
            SyncFolder(m_where);
            m_committed = true;
        }
    }

private:
    [[noreturn]] static void failed(const std::string& shown, int error)
    {
        throw fabulor::Exception("Cannot write file " + shown + " - " + std::strerror(error));
    }

    std::string m_folder; // as named, for messages and the final name
    std::string m_where;  // where the files go now
    bool m_temporary = false;
    bool m_committed = false;
    std::vector<std::string> m_written;
};

// A picture file named by a reference: a name in the folder itself. Names
// with a folder in them are refused, so that a skin.ini from elsewhere can
// only pack pictures that were put beside it.
std::string ReferencedFile(const std::string& folder, std::string_view name, std::size_t line)
{
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string_view::npos)
        throw fabulor::Exception(folder + "/" + std::string(TextFileName) + " line " + std::to_string(line) +
                                 ": @" + std::string(name) + " names no file in " + folder);
    return folder + "/" + std::string(name);
}

// Hexadecimal of the bytes appended to out a piece at a time, so that a
// large picture is not held as text twice.
void AppendHexTo(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes)
{
    constexpr std::size_t Piece = std::size_t{64} * 1024;
    std::string hex;
    while (!bytes.empty()) {
        const std::span<const std::uint8_t> piece = bytes.first(std::min(Piece, bytes.size()));
        hex.clear();
        fabulor::AppendHex(hex, piece);
        out.insert(out.end(), hex.begin(), hex.end());
        bytes = bytes.subspan(piece.size());
    }
}

void Append(std::vector<std::uint8_t>& out, std::string_view text)
{
    out.insert(out.end(), text.begin(), text.end());
}

} // namespace

// skintool export FILE.ski DIR
int runExport(Args args, std::ostream&, std::ostream&)
{
    // Read as the editor loads it: an entry that did not come out whole is
    // no skin to put under version control.
    fabulor::TZipKit zip;
    const std::string path =
        std::filesystem::absolute(std::filesystem::path(args[0])).lexically_normal().string();
    const fabulor::MemoryStream entry = fabulor::LoadSkinEntry(path, zip);
    if (const auto& failure = zip.lastItemFailure()) std::rethrow_exception(failure->error);
    const std::span<const std::uint8_t> bytes = entry.bytes();
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());

    struct Picture {
        std::string name;
        std::string_view hex;
    };
    std::vector<Picture> pictures;
    // The picture the editor shows takes the plain name, Section.Key.ext,
    // so a script that replaces that file changes what is shown; values
    // the document never reads (an earlier duplicate) are numbered.
    std::map<std::string, int, std::less<>> unread;
    std::string ini;
    ini.reserve(text.size());
    std::size_t copied = 0;
    for (const PictureValue& v : FindPictureValues(text)) {
        const std::string_view value = text.substr(v.begin, v.end - v.begin);
        ini.append(text.substr(copied, v.begin - copied));
        copied = v.end;
        if (IsEditorHex(value)) {
            // A few bytes are enough to know the format.
            const std::vector<std::uint8_t> head = DecodePicture(value.substr(0, 32));
            std::string stem = std::string(v.section) + "." + std::string(v.key);
            if (!v.read) stem += "-" + std::to_string(++unread[stem]);
            pictures.push_back({stem + "." + Extension(head), value});
            ini.append("@").append(pictures.back().name);
        } else {
            if (value.starts_with('@')) ini.append("@");
            ini.append(value);
        }
    }
    ini.append(text.substr(copied));

    FolderWriter folder(args[1]);
    folder.write(std::string(TextFileName),
                 std::span(reinterpret_cast<const std::uint8_t*>(ini.data()), ini.size()));
    for (const Picture& picture : pictures)
        folder.write(picture.name, DecodePicture(picture.hex));
    folder.commit();
    return ExitOk;
}

// skintool import DIR OUT.ski
int runImport(Args args, std::ostream&, std::ostream&)
{
    const std::string dir = FolderName(args[0]);
    const std::vector<std::uint8_t> bytes =
        readInputFile(dir + "/" + std::string(TextFileName), fabulor::MaxEntryTextBytes);
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());

    // Every reference is read before the text is put together, so its size is
    // known; each file once, however many values name it.
    struct Replacement {
        PictureValue value;
        std::string_view literal;                           // or, when empty:
        const std::vector<std::uint8_t>* picture = nullptr; // its bytes
    };
    // A text no load would read back is not packed.
    const auto tooLarge = [](std::uint64_t textSize) {
        if (textSize > fabulor::MaxEntryTextBytes) throw fabulor::EZipEntryTooLarge::inserting();
    };
    std::map<std::string, std::vector<std::uint8_t>> files;
    std::vector<Replacement> replacements;
    std::uint64_t size = text.size();
    for (const PictureValue& v : FindPictureValues(text)) {
        const std::string_view value = text.substr(v.begin, v.end - v.begin);
        if (!value.starts_with('@')) continue; // hexadecimal, empty or anything else: as it is
        size -= value.size();
        if (value.starts_with("@@")) {
            replacements.push_back({v, value.substr(1)});
            size += value.size() - 1;
            continue;
        }
        const std::string file = ReferencedFile(dir, value.substr(1), v.line);
        auto known = files.find(file);
        if (known == files.end()) {
            // Its size on paper first: a picture whose text could never fit
            // is not read at all.
            struct stat st {};
            if (::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                std::uint64_t(st.st_size) <= fabulor::MaxPictureBytes)
                tooLarge(size + 2 * std::uint64_t(st.st_size));
            known = files.emplace(file, readInputFile(file, fabulor::MaxPictureBytes)).first;
        }
        replacements.push_back({v, {}, &known->second});
        size += 2 * std::uint64_t(known->second.size());
        tooLarge(size);
    }

    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(size));
    std::size_t copied = 0;
    for (const Replacement& r : replacements) {
        Append(out, text.substr(copied, r.value.begin - copied));
        copied = r.value.end;
        if (r.picture)
            AppendHexTo(out, *r.picture);
        else
            Append(out, r.literal);
    }
    Append(out, text.substr(copied));
    // The pictures are in the text now; the save needs room of its own.
    replacements.clear();
    files.clear();

    fabulor::MemoryStream entry(std::move(out));
    fabulor::TZipKit zip;
    fabulor::SaveSkinEntry(
        std::filesystem::absolute(std::filesystem::path(args[1])).lexically_normal().string(), entry, zip);
    return ExitOk;
}

} // namespace skintool
