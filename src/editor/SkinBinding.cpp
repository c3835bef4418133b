// Capture reads each key from the preview and apply sets it there, both in
// the schema's order: its sections and keys, in its order, with its
// defaults. That order is the skin file's, and the reader program relies on
// it; within a section it is also what makes apply end right (setValue).

#include "editor/SkinBinding.h"

#include "document/IniStore.h"
#include "document/MemoryStream.h"
#include "editor/Catalogue.h"
#include "editor/ComponentFont.h"
#include "pictures/BuiltInPictures.h"
#include "preview/ControlProperties.h"
#include "preview/PreviewWindow.h"
#include "widgets/ColourPicker.h"
#include "widgets/FontPicker.h"
#include "widgets/Panel.h"
#include "widgets/PictureBox.h"
#include "widgets/SizePicker.h"
#include "widgets/SpinEdit.h"
#include "widgets/StaticText.h"

#include <QCheckBox>

#include <algorithm>
#include <optional>

namespace fabulor {
namespace {

// The first component a sheet of "Właściwości" edits: the one its editors
// mirror.
bool MirroredBySheet(const CatalogueEntry& entry)
{
    for (const CatalogueEntry& other : Catalogue())
        if (other.schema->appearance == entry.schema->appearance) return &other == &entry;
    return false;
}

// A font name and size chosen in the editors, applied to one control. Every
// number in the size box is taken as typed. A box that holds no number (empty,
// or a lone sign while typing) gives no size: the control keeps the one it is
// drawn with and its skin the one it holds.
void ApplyFont(QWidget* control, const QString& name, const SizePicker* size)
{
    ApplyFontName(control, name);
    if (const std::optional<int> points = size->number()) ApplyFontSize(control, *points);
}

} // namespace

std::array<QWidget*, 8> AppearanceEditors::all() const
{
    return {flat, colour, innerColour, border, font, fontSize, fontColour, flatScrollBars};
}

SkinBinding::SkinBinding(TF& preview) : m_preview(preview) {}

void SkinBinding::setSheet(AppearanceSheet sheet, const AppearanceEditors& editors)
{
    m_sheets[std::size_t(sheet)] = editors;
}

const AppearanceEditors& SkinBinding::sheet(AppearanceSheet sheet) const
{
    return m_sheets[std::size_t(sheet)];
}

QWidget* SkinBinding::editorOf(int component, const SkinKey& key) const
{
    // Flatness is the editor's: the preview draws it but does not keep it.
    if (key.role != KeyRole::Flat) return nullptr;
    return sheet(Catalogue()[std::size_t(component)].schema->appearance).flat;
}

SkinValue SkinBinding::value(int component, const SkinKey& key) const
{
    TF& F = m_preview;
    const CatalogueEntry& entry = Catalogue()[std::size_t(component)];
    QWidget* control = entry.moved(F);
    switch (key.role) {
    case KeyRole::Width:
        return std::int32_t(control->width());
    case KeyRole::Height:
        return std::int32_t(control->height());
    case KeyRole::Top:
        return std::int32_t(control->y());
    case KeyRole::Left:
        return std::int32_t(control->x());
    case KeyRole::Border:
        return std::int32_t(ControlBorder(control));
    case KeyRole::Background:
        return ControlColour(control);
    case KeyRole::InnerColour:
        return ControlColour(F.Rys);
    case KeyRole::Flat:
        if (const QCheckBox* editor = sheet(entry.schema->appearance).flat) return editor->isChecked();
        // "Właściwości" not made yet: the preview draws what the editor would hold.
        return ControlFlat(control);
    case KeyRole::FontColour:
        return ControlFontColour(control);
    case KeyRole::FontName:
        return FontNameForSkin(control->font().family());
    case KeyRole::FontSize:
        // The size the skin holds, which may differ from the one drawn.
        return std::int32_t(SkinFontSize(control));
    case KeyRole::MouseOut:
    case KeyRole::MouseOver:
    case KeyRole::UseSkin:
    case KeyRole::Mask:
    case KeyRole::SkinPicture:
    case KeyRole::Other:
        break;
    }
    return std::int32_t(0);
}

// Each key sets the preview first, then the editor mirroring it. Setting an
// editor runs its handler, as a user's change would, and that handler
// re-applies its whole group from the group's editors; so within a section
// the schema's key order is what makes the end state right:
// - Numbers are held where they are read, as the editors would hold them:
//   a place and a size to what a widget's geometry holds, a border to 0 to
//   10. A hostile skin's number near the ends of int would otherwise give
//   a control whose edges no int can hold.
// - Border: the editor holds only 0 to 10, so the preview then takes what
//   the editor shows, also when the editor showed that already and
//   announced no change.
// - FontSize: the size picker puts 10 in place of a size outside 1 to 999
//   and its handler draws that; the skin keeps the size read, and a save
//   writes it back.
// - A sheet's editors mirror its first component only (the path labels share
//   one sheet).
void SkinBinding::setValue(int component, const SkinKey& key, const SkinValue& value) const
{
    TF& F = m_preview;
    const CatalogueEntry& entry = Catalogue()[std::size_t(component)];
    QWidget* control = entry.moved(F);
    const AppearanceEditors editors =
        MirroredBySheet(entry) ? sheet(entry.schema->appearance) : AppearanceEditors{};

    switch (key.role) {
    case KeyRole::Width:
        control->resize(PlaceableExtent(std::get<std::int32_t>(value)), control->height());
        break;
    case KeyRole::Height:
        control->resize(control->width(), PlaceableExtent(std::get<std::int32_t>(value)));
        break;
    case KeyRole::Top:
        control->move(control->x(), PlaceableCoordinate(std::get<std::int32_t>(value)));
        break;
    case KeyRole::Left:
        control->move(PlaceableCoordinate(std::get<std::int32_t>(value)), control->y());
        break;
    case KeyRole::Border:
        SetControlBorder(control, std::clamp(std::get<std::int32_t>(value), key.minimum, key.maximum));
        if (editors.border) {
            editors.border->setValue(ControlBorder(control));
            SetControlBorder(control, editors.border->value());
        }
        break;
    case KeyRole::Background:
        SetControlColour(control, std::get<Colour>(value));
        if (editors.colour) editors.colour->setValue(ControlColour(control));
        break;
    case KeyRole::InnerColour:
        SetControlColour(F.Rys, std::get<Colour>(value));
        if (editors.innerColour) editors.innerColour->setValue(ControlColour(F.Rys));
        break;
    case KeyRole::Flat:
        SetControlFlat(control, std::get<bool>(value));
        if (editors.flat) editors.flat->setChecked(std::get<bool>(value));
        break;
    case KeyRole::FontColour:
        SetControlFontColour(control, std::get<Colour>(value));
        if (editors.fontColour) editors.fontColour->setValue(ControlFontColour(control));
        break;
    case KeyRole::FontName:
        ApplyFontName(control, FontNameFromSkin(std::get<std::string>(value)));
        if (editors.font) editors.font->setFontName(control->font().family());
        break;
    case KeyRole::FontSize: {
        const int points = std::get<std::int32_t>(value);
        ApplyFontSize(control, points);
        if (editors.fontSize) {
            editors.fontSize->setSize(points);
            KeepSkinFontSize(control, points);
        }
        break;
    }
    case KeyRole::MouseOut:
    case KeyRole::MouseOver:
    case KeyRole::UseSkin:
    case KeyRole::Mask:
    case KeyRole::SkinPicture:
    case KeyRole::Other:
        break;
    }
}

void SkinBinding::applyAppearance(AppearanceSheet appearance, AppearanceAspect aspect) const
{
    TF& F = m_preview;
    const AppearanceEditors& editors = sheet(appearance);
    for (const CatalogueEntry& entry : Catalogue()) {
        if (entry.schema->appearance != appearance) continue;
        QWidget* control = entry.moved(F);
        switch (aspect) {
        case AppearanceAspect::Frame:
            if (editors.flat) SetControlFlat(control, editors.flat->isChecked());
            if (editors.colour) SetControlColour(control, editors.colour->value());
            if (editors.flatScrollBars)
                SetControlFlatScrollBars(control, editors.flatScrollBars->isChecked());
            break;
        case AppearanceAspect::Border:
            if (editors.border) SetControlBorder(control, editors.border->value());
            // The picture frame's inner area has a colour of its own.
            if (editors.innerColour) SetControlColour(F.Rys, editors.innerColour->value());
            if (editors.colour) SetControlColour(control, editors.colour->value());
            break;
        case AppearanceAspect::Font:
            if (editors.font && editors.fontSize) ApplyFont(control, editors.font->text(), editors.fontSize);
            if (editors.fontColour) SetControlFontColour(control, editors.fontColour->value());
            break;
        }
    }
}

void SkinBinding::capture(IniStore& doc) const
{
    for (int component = 0; component < CatalogueSize; ++component) {
        const SkinSection& section = ComponentSection(component);
        for (const SkinKey& key : section.keys)
            if (key.captured()) WriteSkinValue(doc, section.name, key, value(component, key));
    }
}

void SkinBinding::applyComponents(const IniStore& doc, MemoryStream& picture,
                                  const std::shared_ptr<PictureBudget>& budget) const
{
    TF& F = m_preview;
    for (int component = 0; component < CatalogueSize; ++component) {
        const CatalogueEntry& entry = Catalogue()[std::size_t(component)];
        const SkinSection& section = ComponentSection(component);
        for (const SkinKey& key : section.keys) {
            if (key.kind == KeyKind::Binary) {
                // A button shows its mouse-out picture; the mouse-over one is
                // only kept.
                if (key.role == KeyRole::MouseOut) {
                    picture.clear();
                    doc.readBinary(section.name, key.name, picture);
                    picture.rewind();
                    ShowButtonPicture(entry.image(F)->picture(), picture, entry.schema->builtInPicture,
                                      budget);
                }
                continue;
            }
            // The path labels after the first are drawn in its font colour,
            // whatever colour their own sections hold.
            if (key.role == KeyRole::FontColour && entry.schema->appearance == AppearanceSheet::PathLabels &&
                !MirroredBySheet(entry)) {
                setValue(component, key, ControlFontColour(F.L1));
                continue;
            }
            setValue(component, key, ReadSkinValue(doc, section.name, key));
        }
    }
}

} // namespace fabulor
