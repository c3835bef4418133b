// The "Skóra" tab: switching the window's shape on and off, and choosing the
// mask and the skin picture. A chosen file is stored in the document before
// it is decoded: its bytes stay in the skin whether it shows or not.

#include "editor/SettingsWindow.h"

#include "editor/MaskMakerLauncher.h"
#include "editor/PictureFile.h"
#include "editor/Steps.h"
#include "graphics/Bitmap.h"
#include "graphics/GraphicErrors.h"
#include "pictures/BuiltInPictures.h"
#include "pictures/TransparentForm.h"
#include "preview/PreviewWindow.h"
#include "widgets/Accessibility.h"
#include "widgets/FileNameEdit.h"
#include "widgets/FileNames.h"
#include "widgets/Make.h"
#include "widgets/NoteLabel.h"
#include "widgets/PictureBox.h"
#include "widgets/PictureFilters.h"
#include "widgets/SpinEdit.h"
#include "widgets/WindowGeometry.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QUndoStack>

#include <span>

namespace fabulor {

void TFBox::buildSkinTab()
{
    CheckBox2 = Make<QCheckBox>(Skora, "CheckBox2", {8, 8, 97, 17}, QStringLiteral("Użyj skóry"));
    // The handler runs on every change of state, by the user or by code.
    // The skin keeps the window's size only while the box is off: a save
    // in between writes it, and taking the switch back takes it back.
    ConnectStep(
        this, *m_history, CheckBox2, &QCheckBox::toggled,
        [] {
            return StepSpec{QStringLiteral("Użyj skóry"), StepParts::useSkin()};
        },
        &TFBox::CheckBox2Click);

    Panel1 = Make<QFrame>(Skora, "Panel1", {8, 32, 249, 209});
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);

    Label1 = new QLabel(QStringLiteral("Maska:"), Panel1);
    Label1->move(8, 12);
    Label1->adjustSize();
    Maska = Make<FileNameEdit>(Panel1, "Maska", {56, 8, 185, 21}, m_dialogs, MaskFileDialogOptions());
    CaptionWithLabel(Label1, Maska);
    ConnectStep(
        this, *m_history, Maska, &FileNameEdit::afterDialog,
        [this] {
            return StepSpec{QStringLiteral("maska"), StepParts::mask(Maska)};
        },
        &TFBox::MaskaAfterDialog);

    NoteLabel1 = new NoteLabel(
        QStringLiteral("Uwaga!"),
        QStringLiteral(" Maska musi być czarno - biała. Czarny kolor oznacza miejsca niewidoczne."), Panel1);
    NoteLabel1->setObjectName(QStringLiteral("NoteLabel1"));
    NoteLabel1->move(6, 35);
    NoteLabel1->setWidth(235);

    // A separator: a line along the bottom edge of its box.
    Bevel2 = Make<QFrame>(Panel1, "Bevel2", {8, 72, 233, 2});
    Bevel2->setFrameStyle(QFrame::HLine | QFrame::Sunken);

    Label2 = new QLabel(QStringLiteral("Skóra:"), Panel1);
    Label2->move(8, 92);
    Label2->adjustSize();
    Skin = Make<FileNameEdit>(Panel1, "Skin", {56, 88, 185, 21}, m_dialogs, PictureFileDialogOptions());
    CaptionWithLabel(Label2, Skin);
    ConnectStep(
        this, *m_history, Skin, &FileNameEdit::afterDialog,
        [this] {
            return StepSpec{QStringLiteral("obraz skóry"), StepParts::skinPicture(F.Skin, Skin)};
        },
        &TFBox::SkinfterDialog);

    NoteLabel3 =
        new NoteLabel(QStringLiteral("Uwaga!"),
                      QStringLiteral(" Zarówno maska jak i skóra muszą mieć takie same rozmiary!"), Panel1);
    NoteLabel3->setObjectName(QStringLiteral("NoteLabel3"));
    NoteLabel3->move(6, 111);
    NoteLabel3->setWidth(235);

    // Inside the panel, so it is usable only while "Użyj skóry" is on.
    m_maskMaker = new MaskMakerLauncher(*this, Panel1, m_document, m_dialogs, *Maska,
                                        [this] { return PCTRL->currentWidget() == Skora; });
    // Whether the skin has a picture is looked at again after every step,
    // load and undo; the stored picture is decoded only while the tab shows.
    connect(m_stack, &QUndoStack::indexChanged, m_maskMaker, [this] { m_maskMaker->ShowMaskMakerState(); });
    connect(PCTRL, &QTabWidget::currentChanged, m_maskMaker, [this] { m_maskMaker->ShowMaskMakerState(); });
    m_maskMaker->MaskMakerButton->setEnabled(false);
}

void TFBox::CheckBox2Click()
{
    switchShape();
}

TFBox::ShapedBy TFBox::switchShape()
{
    const bool checked = CheckBox2->isChecked();
    Panel1->setEnabled(checked);
    const QString maskFile = Maska->text();
    if (checked && !maskFile.isEmpty() && FileNameIsRegularFile(maskFile)) {
        // A file that is no bitmap raises here and reaches the error box;
        // the mask and the window then stay as they were.
        const std::optional<std::vector<std::uint8_t>> bytes = ReadPictureFile(maskFile);
        if (!bytes) throw EFOpenError(FileNameBytes(maskFile));
        ReadMaskBitmap(std::span<const std::uint8_t>(*bytes), F.Mask->mask());
        setOuterWidth(&F, F.Mask->mask().width());
        setOuterHeight(&F, F.Mask->mask().height());
        F.Mask->setActive(true);
        return ShapedBy::MaskFile;
    }
    // A loaded skin names no mask file, but it holds its mask: switched back
    // on, the window takes the shape it was loaded with.
    if (checked && shapeByStoredMask()) return ShapedBy::StoredMask;

    // Leaving the shape, the window keeps its outer size: the frame comes
    // inside the rectangle the shape had, and the skin is saved with that
    // size.
    const bool wasShaped = F.Mask->active();
    const QSize outer = outerSize(&F);
    F.Mask->setActive(false);
    if (wasShaped) setOuterSize(&F, outer);
    return ShapedBy::Nothing;
}

bool TFBox::shapeByStoredMask()
{
    MemoryStream stored;
    if (document().readBinary(WindowSection().name, WindowKey(KeyRole::Mask).name, stored) == 0) return false;
    try {
        ReadMaskBitmap(stored.bytes(), F.Mask->mask());
    } catch (const EInvalidGraphic&) {
        return false; // the mask is left as it was
    }
    setOuterWidth(&F, F.Mask->mask().width());
    setOuterHeight(&F, F.Mask->mask().height());
    F.Mask->setActive(true);
    return true;
}

const QWidget* TFBox::shapeSwitch() const
{
    return CheckBox2;
}

ShapeState TFBox::readShape() const
{
    return ShapeState{CheckBox2->isChecked(), F.Mask->active(), F.Mask->mask(), outerSize(&F)};
}

void TFBox::writeShape(const ShapeState& shape)
{
    {
        const QSignalBlocker quiet(CheckBox2);
        CheckBox2->setChecked(shape.useSkin);
    }
    Panel1->setEnabled(shape.useSkin);
    const bool newMask = !(F.Mask->mask().image() == shape.mask.image());
    F.Mask->mask() = shape.mask;
    const bool reshape = F.Mask->active() != shape.active || (shape.active && newMask);
    if (reshape) F.Mask->setActive(shape.active);
    // A window leaving its shape gets its frame back: its outer size is
    // set anew, as switching the skin off does.
    if (reshape || outerSize(&F) != shape.outer) setOuterSize(&F, shape.outer);
}

namespace {

// The shared start of both picture handlers: capture, then read the chosen
// file and store its bytes as the window's key of role. Nothing when no
// name is given or the file cannot be read.
std::optional<std::vector<std::uint8_t>> StorePicture(TFBox& box, IniStore& doc, const QString& fileName,
                                                      KeyRole role)
{
    box.SaveStateToDocument();
    if (fileName.isEmpty()) return std::nullopt;
    std::optional<std::vector<std::uint8_t>> bytes = ReadPictureFile(fileName);
    if (bytes) doc.writeBinary(WindowSection().name, WindowKey(role).name, MemoryStream(*bytes));
    return bytes;
}

} // namespace

void TFBox::MaskaAfterDialog(const QString& fileName)
{
    // Each step stops the rest silently when it fails.
    const auto bytes = StorePicture(*this, document(), fileName, KeyRole::Mask);
    if (!bytes) return;
    try {
        ReadMaskBitmap(std::span<const std::uint8_t>(*bytes), F.Mask->mask());
    } catch (const EInvalidGraphic&) {
        return;
    }
    setOuterWidth(&F, F.Mask->mask().width());
    setOuterHeight(&F, F.Mask->mask().height());
    F.Mask->setActive(true);
}

void TFBox::SkinfterDialog(const QString& fileName)
{
    if (const auto bytes = StorePicture(*this, document(), fileName, KeyRole::SkinPicture))
        ShowSkinPicture(std::span<const std::uint8_t>(*bytes), F.Skin->picture(),
                        m_pictures->pictureBudget());
}

} // namespace fabulor
