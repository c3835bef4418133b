#include "PictureFilters.h"

namespace fabulor {
namespace {

FileDialogOptions OpenPictureOptions(QList<FileDialogOptions::Filter> filters)
{
    FileDialogOptions options;
    options.kind = FileDialogOptions::Kind::OpenPicture;
    options.filters = std::move(filters);
    options.defaultExtension = QStringLiteral("bmp");
    options.fileMustExist = true;
    return options;
}

} // namespace

FileDialogOptions MaskFileDialogOptions()
{
    return OpenPictureOptions({{QStringLiteral("Bitmapy (*.bmp)"), QStringLiteral("*.bmp")}});
}

FileDialogOptions PictureFileDialogOptions()
{
    // The list is kept as the skin builder has always offered it, the "All"
    // entry's repeated *.gif and the second GIF entry included. Its stored form
    // ended in the start of a sixth description ("JPEG Imag") with no pattern;
    // an entry that matches nothing is no use, so it is left out.
    const QString all = QStringLiteral("*.gif;*.pcx;*.ani;*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf");
    const QString gif = QStringLiteral("*.gif");
    return OpenPictureOptions({
        {QStringLiteral("All (%1)").arg(all), all},
        {QStringLiteral("CompuServe GIF Image (*.gif)"), gif},
        {QStringLiteral("PCX Image (*.pcx)"), QStringLiteral("*.pcx")},
        {QStringLiteral("ANI Image (*.ani)"), QStringLiteral("*.ani")},
        {QStringLiteral("CompuServe GIF Image (*.gif)"), gif},
    });
}

} // namespace fabulor
