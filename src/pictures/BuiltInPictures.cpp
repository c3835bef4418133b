#include "pictures/BuiltInPictures.h"

#include "graphics/GraphicErrors.h"
#include "resources/ResourceNames.h"

#include <QFile>

#include <algorithm>
#include <optional>
#include <string>

namespace fabulor {

namespace {

QByteArray builtInBytes(std::string_view name)
{
    // Only the names we ship: a resource path is never built from anything else.
    if (std::find(kBuiltInPictureNames.begin(), kBuiltInPictureNames.end(), name) ==
        kBuiltInPictureNames.end())
        throw EInvalidGraphic("Unknown built-in picture " + std::string(name));
    QFile file(BuiltInPicturePath(name));
    if (!file.open(QIODevice::ReadOnly))
        throw EInvalidGraphic("Built-in picture " + std::string(name) + " is missing");
    return file.readAll();
}

} // namespace

void LoadBuiltInPicture(Picture& picture, std::string_view name)
{
    const QByteArray bytes = builtInBytes(name);
    if (picture.kind() != Picture::Kind::Bitmap) picture.assign(Bitmap());
    Bitmap bitmap = *picture.bitmap();
    ReadBitmapFromInfoHeader(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                       static_cast<std::size_t>(bytes.size())),
                             bitmap);
    picture.assign(std::move(bitmap));
}

void ShowButtonPicture(Picture& picture, std::span<const std::uint8_t> bytes, std::string_view name,
                       const std::shared_ptr<PictureBudget>& budget)
{
    std::optional<JpegPicture> decoded;
    try {
        // No picture kept (most buttons of most skins): no decoder to ask.
        if (!bytes.empty()) decoded = DecodeJpegPicture(bytes, budget);
    } catch (const EJPEG&) {
    } catch (const EInvalidGraphic&) {
    } catch (const EPictureBudget&) {
    }
    if (decoded)
        picture.assign(std::move(*decoded));
    else
        LoadBuiltInPicture(picture, name);
}

void ShowButtonPicture(Picture& picture, const MemoryStream& stream, std::string_view name,
                       const std::shared_ptr<PictureBudget>& budget)
{
    ShowButtonPicture(picture, stream.bytes(), name, budget);
}

void ShowSkinPicture(std::span<const std::uint8_t> bytes, Picture& skin,
                     const std::shared_ptr<PictureBudget>& budget)
{
    try {
        skin.assign(DecodeJpegPicture(bytes, budget));
    } catch (const EJPEG&) {
    } catch (const EInvalidGraphic&) {
    } catch (const EPictureBudget&) {
    }
}

void ShowSkinPicture(const MemoryStream& stream, Picture& skin, const std::shared_ptr<PictureBudget>& budget)
{
    ShowSkinPicture(stream.bytes(), skin, budget);
}

} // namespace fabulor
