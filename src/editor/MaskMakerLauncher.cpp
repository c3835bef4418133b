#include "editor/MaskMakerLauncher.h"

#include "document/Errors.h"
#include "document/SkinSchema.h"
#include "editor/Guarded.h"
#include "editor/MaskMakerDialog.h"
#include "graphics/GraphicErrors.h"
#include "graphics/JpegPicture.h"
#include "graphics/MaskMaker.h"
#include "skinfile/ArchiveFile.h"
#include "widgets/DialogPlacement.h"
#include "widgets/Dialogs.h"
#include "widgets/FileNameEdit.h"
#include "widgets/FileNames.h"
#include "widgets/Make.h"
#include "widgets/PictureFilters.h"

#include <QPushButton>

namespace fabulor {
namespace {

// The skin picture the skin holds, when its stored bytes are a JPEG picture
// (what the reader shows); the preview may still show an older one.
std::optional<JpegPicture> StoredSkinPicture(const IniStore& doc)
{
    MemoryStream stream;
    if (doc.readBinary(WindowSection().name, WindowKey(KeyRole::SkinPicture).name, stream) == 0)
        return std::nullopt;
    try {
        return DecodeJpegPicture(stream.bytes());
    } catch (const EJPEG&) {
        return std::nullopt;
    }
}

FileDialogOptions MaskSaveDialogOptions()
{
    FileDialogOptions options = MaskFileDialogOptions();
    options.kind = FileDialogOptions::Kind::Save;
    options.fileMustExist = false;
    return options;
}

} // namespace

MaskMakerLauncher::MaskMakerLauncher(QWidget& window, QWidget* panel, const std::optional<IniStore>& document,
                                     Dialogs& dialogs, FileNameEdit& mask, std::function<bool()> inView)
    : QObject(&window), m_window(window), m_document(document), m_dialogs(dialogs), m_mask(mask),
      m_inView(std::move(inView))
{
    MaskMakerButton = Make<QPushButton>(panel, "MaskMakerButton", {8, 148, 233, 23},
                                        QStringLiteral("Utwórz maskę z obrazu…"));
    MaskMakerButton->setToolTip(QStringLiteral("Maska z obrazu skóry: wskazany kolor staje się niewidoczny"));
    connect(MaskMakerButton, &QPushButton::clicked, this, Guarded(this, [this] { MaskMakerButtonClick(); }));
}

void MaskMakerLauncher::ShowMaskMakerState()
{
    // A picture of many megabytes is not decoded behind the user's back on
    // every step; the button is seen only on its own tab.
    if (!m_inView() || !m_document) return;
    MaskMakerButton->setEnabled(StoredSkinPicture(*m_document).has_value());
}

void MaskMakerLauncher::MaskMakerButtonClick()
{
    ShowMaskMakerState();
    if (MaskMaker) {
        MaskMaker->raise();
        return;
    }
    const std::optional<JpegPicture> picture = StoredSkinPicture(*m_document);
    if (!picture) throw Exception("Skórka nie ma obrazu skóry w formacie JPEG");
    auto* dialog = new MaskMakerDialog(picture->pixels(), &m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    MaskMaker = dialog;
    connect(dialog, &QDialog::finished, this, [this, dialog] {
        if (MaskMaker == dialog) MaskMaker = nullptr;
    });
    connect(dialog, &MaskMakerDialog::saveRequested, this, Guarded(this, [this, dialog] {
                if (MaskMaker == dialog) SaveMadeMask(*dialog);
            }));
    // Modal for the whole program: an undo in the preview meanwhile could
    // switch the shape off under the mask being made.
    dialog->setModal(true);
    PlaceAboveAll(*dialog, &m_window);
    dialog->show();
}

void MaskMakerLauncher::SaveMadeMask(MaskMakerDialog& dialog)
{
    // The shown shape may come from a scaled-down copy; the verdict that
    // counts is the whole picture's.
    const MadeMask made = MakeMask(dialog.picture(), dialog.key());
    if (made.verdict != MaskVerdict::Usable) {
        dialog.showVerdict(made.verdict);
        return;
    }
    const std::optional<QString> name = m_dialogs.chooseFile(MaskSaveDialogOptions(), m_mask.text());
    if (!name || name->isEmpty()) return;
    const std::vector<std::uint8_t> bmp = EncodeMaskBmp(made.image);
    {
        // Written beside the target and renamed over it, as skins are: a
        // failed write leaves an old file of that name whole, and the skin
        // unchanged.
        ReplacementFile file(FileNameBytes(*name), std::nullopt);
        file.write(bmp);
        file.commit();
    }
    dialog.accept();
    // Then exactly as if the file had been chosen in the mask's own field,
    // which makes it the one step "maska".
    m_mask.setText(*name);
    emit m_mask.afterDialog(*name);
}

} // namespace fabulor
