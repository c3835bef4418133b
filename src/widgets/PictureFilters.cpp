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
    // The entries and their order are fixed, so each stays where skin authors
    // look for it: the "All" entry names *.gif twice and GIF has a second
    // entry, repetitions that do no harm. JPEG has no entry of its own; JPEG
    // pictures are found through "All".
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
