#include "check/CheckPictures.h"

#include "check/CheckInternals.h"
#include "document/HexText.h"
#include "graphics/Bitmap.h"
#include "graphics/GraphicErrors.h"
#include "graphics/JpegDecoder.h"
#include "graphics/PictureBudget.h"
#include "pictures/BuiltInPictures.h"
#include "pictures/Region.h"
#include "resources/ResourceNames.h"

#include <QMutex>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <vector>

namespace fabulor::check {
namespace {

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view magic, std::size_t at = 0)
{
    return bytes.size() >= at + magic.size() &&
           std::memcmp(bytes.data() + at, magic.data(), magic.size()) == 0;
}

// As the document's binary read decodes it: pairs up to the first bad one,
// the rest left zero.
std::vector<std::uint8_t> BytesOf(std::string_view hexText)
{
    std::vector<std::uint8_t> bytes(hexText.size() / 2, 0);
    DecodeHex(hexText, bytes);
    return bytes;
}

void DecodeJpeg(DecodedPicture& picture, std::span<const std::uint8_t> bytes, bool pixels)
{
    try {
        const JpegHeader header = ReadJpegHeader(bytes);
        picture.decodes = true;
        picture.width = header.width;
        picture.height = header.height;
        picture.pixelBytes = JpegPixelBytes(header);
        if (pixels) picture.pixels = DecodeJpegPixels(bytes, header);
    } catch (const EJPEG& e) {
        picture.error = e.what();
    }
}

void DecodeMask(DecodedPicture& picture, std::span<const std::uint8_t> bytes)
{
    Bitmap mask;
    try {
        ReadMaskBitmap(bytes, mask);
    } catch (const EInvalidGraphic& e) {
        picture.error = e.what();
        return;
    }
    picture.decodes = true;
    picture.width = mask.width();
    picture.height = mask.height();
    if (mask.isEmpty()) return;
    picture.region = BuildRegionFromMask(mask);
    picture.topLeft = mask.image().pixel(0, 0) & 0xFFFFFFu;
}

} // namespace

std::string SniffFormat(std::span<const std::uint8_t> bytes)
{
    if (StartsWith(bytes, "\xFF\xD8\xFF")) return "JPEG";
    if (StartsWith(bytes, "BM")) return "BMP";
    if (StartsWith(bytes, "\x89PNG")) return "PNG";
    if (StartsWith(bytes, "GIF8")) return "GIF";
    if (StartsWith(bytes, "RIFF") && StartsWith(bytes, "WEBP", 8)) return "WebP";
    if (StartsWith(bytes, std::string_view("II*\0", 4)) || StartsWith(bytes, std::string_view("MM\0*", 4)))
        return "TIFF";
    if (StartsWith(bytes, std::string_view("\0\0\1\0", 4))) return "ICO";
    if (StartsWith(bytes, "%PDF")) return "PDF";
    return {};
}

void BeginCheck(CheckPictureCache& cache)
{
    ++cache.entries().generation;
    cache.entries().hashedThisCheck.clear();
}

void EndCheck(CheckPictureCache& cache)
{
    auto& entries = cache.entries();
    std::erase_if(entries.entries,
                  [&](const auto& item) { return item.second.lastUsed != entries.generation; });
}

const DecodedPicture& Decode(CheckPictureCache& cache, std::string_view hexText, PictureRole role,
                             bool pixels)
{
    auto& entries = cache.entries();
    using Key = CheckPictureCache::Entries::Key;
    const auto hashed = entries.hashedThisCheck.find(hexText.data());
    const Key key = hashed != entries.hashedThisCheck.end() && hashed->second.length == hexText.size() &&
                            hashed->second.role == int(role)
                        ? hashed->second
                        : Key{std::hash<std::string_view>{}(hexText), hexText.size(), int(role)};
    entries.hashedThisCheck.insert_or_assign(hexText.data(), key);
    auto [it, added] = entries.entries.try_emplace(key);
    CheckPictureCache::Entries::Entry& entry = it->second;
    entry.lastUsed = entries.generation;
    DecodedPicture& picture = entry.picture;
    const bool needPixels = pixels && role == PictureRole::Jpeg && picture.decodes && picture.pixels.isNull();
    if (!added && !needPixels) return picture;

    ++entries.decodes;
    const std::vector<std::uint8_t> bytes = BytesOf(hexText);
    if (added) {
        picture.format = SniffFormat(bytes);
        if (role == PictureRole::Mask)
            DecodeMask(picture, bytes);
        else
            DecodeJpeg(picture, bytes, pixels);
    } else {
        DecodeJpeg(picture, bytes, true);
    }
    return picture;
}

QSize BuiltInPictureSize(std::string_view name)
{
    // Read once: the sizes never change while the program runs. Checks may
    // run on more than one thread, each with its own cache.
    static QMutex lock;
    static std::map<std::string, QSize, std::less<>> sizes;
    const QMutexLocker locked(&lock);
    if (const auto found = sizes.find(name); found != sizes.end()) return found->second;
    Picture picture;
    QSize size;
    try {
        LoadBuiltInPicture(picture, name);
        size = QSize(picture.width(), picture.height());
    } catch (const EInvalidGraphic&) {
    }
    sizes.emplace(std::string(name), size);
    return size;
}

PictureBudgetPlan::PictureBudgetPlan(const SkinReader& skin, CheckPictureCache& cache)
{
    PictureBudget budget;
    const auto take = [&](std::string_view section, std::string_view key) {
        const DecodedPicture* picture = StoredPicture(skin, cache, section, key, PictureRole::Jpeg);
        if (picture && picture->decodes && !budget.reserve(picture->pixelBytes))
            m_over.emplace_back(section, key);
    };
    const std::string_view window = WindowSection().name;
    if (skin.flag(window, WindowKey(KeyRole::UseSkin).name))
        take(window, WindowKey(KeyRole::SkinPicture).name);
    const auto components = SkinComponents();
    for (int index = FirstButtonIndex; index <= LastButtonIndex; ++index)
        take(components[std::size_t(index)].section, ComponentKey(index, KeyRole::MouseOut).name);
    for (int index = FirstButtonIndex; index <= LastButtonIndex; ++index)
        if (components[std::size_t(index)].has(MouseOverGroup))
            take(components[std::size_t(index)].section, ComponentKey(index, KeyRole::MouseOver).name);
}

bool PictureBudgetPlan::fits(std::string_view section, std::string_view key) const
{
    return std::find(m_over.begin(), m_over.end(), std::pair(section, key)) == m_over.end();
}

std::string OverBudgetMessage(KeyRole picture)
{
    const std::string budget = std::to_string(MaxSkinPictureBytes / (std::uint64_t{1024} * 1024)) + " MiB";
    const std::string taken =
        " razem z wcześniejszymi obrazami skórki zająłby ponad " + budget + " pamięci: ";
    if (picture == KeyRole::MouseOut) return "Obraz przycisku" + taken + "edytor pokaże obraz wbudowany.";
    if (picture == KeyRole::MouseOver)
        return "Obraz po najechaniu" + taken + "edytor pokaże zwykły obraz przycisku.";
    return "Obraz skóry" + taken + "edytor go nie pokaże.";
}

} // namespace fabulor::check
