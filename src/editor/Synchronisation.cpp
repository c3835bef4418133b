// Capture (SaveStateToDocument) writes the preview's state into the skin
// document; apply (LoadStateFromDocument) sets the preview, and the settings
// controls that mirror it, from the document. Both walk the schema
// (document/SkinSchema.h): its sections and keys, in its order, with its
// defaults. That order is the skin file's, and the reader program relies on
// it.

#include "editor/SettingsWindow.h"

#include "editor/Catalogue.h"
#include "editor/ComponentFont.h"
#include "graphics/Bitmap.h"
#include "graphics/GraphicErrors.h"
#include "graphics/PictureBudget.h"
#include "pictures/BuiltInPictures.h"
#include "pictures/TransparentForm.h"
#include "preview/ControlProperties.h"
#include "preview/PreviewWindow.h"
#include "widgets/ColourPicker.h"
#include "widgets/FontPicker.h"
#include "widgets/Panel.h"
#include "widgets/PictureBox.h"
#include "widgets/SizePicker.h"
#include "widgets/SpinEdit.h"
#include "widgets/StaticText.h"
#include "widgets/WindowGeometry.h"

#include <QCheckBox>
#include <QSignalBlocker>

#include <algorithm>

namespace fabulor {
namespace {

// The window's unshaped width or height as the skin gives it, held to what
// the size editors accept: a damaged or hostile file asking for a window of
// 100000 pixels would otherwise make one, and with it a backing store of
// gigabytes.
std::int32_t WindowSide(const IniStore& doc, KeyRole role)
{
    const SkinKey& key = WindowKey(role);
    return std::clamp(doc.readInteger(WindowSection().name, key.name, key.defaultNumber), key.minimum,
                      key.maximum);
}

// The first component a sheet of "Właściwości" edits: the one its editors
// mirror.
bool MirroredBySheet(const CatalogueEntry& entry)
{
    for (const CatalogueEntry& other : Catalogue())
        if (other.schema->appearance == entry.schema->appearance) return &other == &entry;
    return false;
}

} // namespace

QWidget* TFBox::keyEditor(int component, const SkinKey& key) const
{
    // Flatness is the editor's: the preview draws it but does not keep it.
    if (key.role != KeyRole::Flat) return nullptr;
    return appearanceEditors(Catalogue()[std::size_t(component)].schema->appearance).flat;
}

SkinValue TFBox::keyValue(int component, const SkinKey& key)
{
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
        if (const auto* editor = qobject_cast<const QCheckBox*>(keyEditor(component, key)))
            return editor->isChecked();
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
// - "Border": the editor holds only 0 to 10, so the preview then takes
//   what the editor shows, also when the editor showed that already and
//   announced no change.
// - "FSize": the size picker puts 10 in place of a size outside 1 to 999
//   and its handler draws that; the skin keeps the size read, and a save
//   writes it back.
// - A sheet's editors mirror its first component only (the path labels share
//   one sheet).
void TFBox::setKeyValue(int component, const SkinKey& key, const SkinValue& value)
{
    const CatalogueEntry& entry = Catalogue()[std::size_t(component)];
    QWidget* control = entry.moved(F);
    const AppearanceEditors editors =
        MirroredBySheet(entry) ? appearanceEditors(entry.schema->appearance) : AppearanceEditors{};

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

void TFBox::SaveStateToDocument()
{
    SaveStateToDocument(document());
}

void TFBox::SaveStateToDocument(IniStore& doc)
{
    // The window: its size is kept only while no mask shapes it.
    doc.writeBool("Skin", "En", CheckBox2->isChecked());
    if (!CheckBox2->isChecked()) {
        const QSize outer = outerSize(&F);
        doc.writeInteger("Skin", "W", outer.width());
        doc.writeInteger("Skin", "H", outer.height());
    }

    for (std::size_t component = 0; component < ComponentCount; ++component) {
        const SkinSection& section = ComponentSection(int(component));
        for (const SkinKey& key : section.keys)
            if (key.captured()) WriteSkinValue(doc, section.name, key, keyValue(int(component), key));
    }
}

void TFBox::LoadStateFromDocument()
{
    // Applying a skin is no step of its history: the handlers that setting
    // the editors runs are part of it.
    const EditHistory::Pause notRecorded(*m_history);
    // A skin's values go through the appearance editors (they hold borders
    // and font sizes to their ranges), so those must exist; only the skin
    // that start-up shows, all of it defaults within every range, is shown
    // without them.
    if (m_started) ensurePropertiesTab();
    const IniStore& doc = document();
    // The pictures of the skin before share no memory with this one's: they
    // go as its pictures replace them.
    m_pictureBudget = std::make_shared<PictureBudget>();
    // One stream serves every picture of this run.
    MemoryStream picture;
    const auto readPicture = [&](std::string_view section, std::string_view key) -> MemoryStream& {
        picture.clear();
        doc.readBinary(section, key, picture);
        picture.rewind();
        return picture;
    };

    // The window first. The size editors hold the skin's unshaped size, also
    // while the mask shapes the window: it is the size the window takes when
    // shaping goes off. Set quietly: their handlers would resize a shaped
    // window.
    {
        const QSignalBlocker quietWidth(FW);
        const QSignalBlocker quietHeight(FH);
        FW->setValue(WindowSide(doc, KeyRole::Width));
        FH->setValue(WindowSide(doc, KeyRole::Height));
    }

    // Changing the box runs CheckBox2Click, as a user's click would; called
    // here rather than from the box's signal, so that its failure stops
    // apply at this point.
    const bool useSkin = doc.readBool("Skin", "En", false);
    if (CheckBox2->isChecked() != useSkin) {
        {
            const QSignalBlocker quiet(CheckBox2);
            CheckBox2->setChecked(useSkin);
        }
        CheckBox2Click();
    }

    if (CheckBox2->isChecked()) {
        MemoryStream& mask = readPicture("Skin", "Maska");
        bool shaped = false;
        if (mask.size() > 0) {
            try {
                ReadMaskBitmap(mask.bytes(), F.Mask->mask());
                shaped = true;
            } catch (const EInvalidGraphic&) {
                // A mask that does not read leaves the window unshaped.
            }
        }
        if (shaped) {
            setOuterWidth(&F, F.Mask->mask().width());
            setOuterHeight(&F, F.Mask->mask().height());
            F.Mask->setActive(true);
        } else {
            F.Mask->setActive(false);
        }
        ShowSkinPicture(readPicture("Skin", "Skin"), F.Skin->picture(), m_pictureBudget);
    } else {
        F.Mask->setActive(false);
        setOuterWidth(&F, WindowSide(doc, KeyRole::Width));
        setOuterHeight(&F, WindowSide(doc, KeyRole::Height));
    }

    for (int component = 0; component < CatalogueSize; ++component) {
        const CatalogueEntry& entry = Catalogue()[std::size_t(component)];
        const SkinSection& section = ComponentSection(component);
        for (const SkinKey& key : section.keys) {
            if (key.kind == KeyKind::Binary) {
                // A button shows its mouse-out picture; the mouse-over one is
                // only kept.
                if (key.role == KeyRole::MouseOut)
                    ShowButtonPicture(entry.image(F)->picture(), readPicture(section.name, key.name),
                                      entry.schema->builtInPicture, m_pictureBudget);
                continue;
            }
            // The path labels after the first are drawn in its font colour,
            // whatever colour their own sections hold.
            if (key.role == KeyRole::FontColour && entry.schema->appearance == AppearanceSheet::PathLabels &&
                !MirroredBySheet(entry)) {
                setKeyValue(component, key, ControlFontColour(F.L1));
                continue;
            }
            setKeyValue(component, key, ReadSkinValue(doc, section.name, key));
        }
    }
}

} // namespace fabulor
