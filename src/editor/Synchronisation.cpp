// Capture (SaveStateToDocument) writes the preview's state into the skin
// document; apply (LoadStateFromDocument) sets the preview, and the settings
// controls that mirror it, from the document. The window's own section is
// handled here, with the shape handlers it runs; the components' sections
// by the skin binding (SkinBinding.h), in the schema's order.

#include "editor/SettingsWindow.h"

#include "pictures/BuiltInPictures.h"
#include "pictures/TransparentForm.h"
#include "preview/PreviewWindow.h"
#include "widgets/PictureBox.h"
#include "widgets/SpinEdit.h"
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

} // namespace

void TFBox::SaveStateToDocument()
{
    SaveStateToDocument(document());
}

void TFBox::SaveStateToDocument(IniStore& doc)
{
    // The window: its size is kept only while no mask shapes it.
    const std::string_view window = WindowSection().name;
    doc.writeBool(window, WindowKey(KeyRole::UseSkin).name, CheckBox2->isChecked());
    if (!CheckBox2->isChecked()) {
        const QSize outer = outerSize(&F);
        doc.writeInteger(window, WindowKey(KeyRole::Width).name, outer.width());
        doc.writeInteger(window, WindowKey(KeyRole::Height).name, outer.height());
    }

    m_binding.capture(doc);
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
    m_pictures->startPictureBudget();
    // One stream serves every picture of this run.
    MemoryStream picture;
    const auto readPicture = [&](KeyRole role) -> MemoryStream& {
        picture.clear();
        doc.readBinary(WindowSection().name, WindowKey(role).name, picture);
        picture.rewind();
        return picture;
    };

    // The window first. Changing the box runs CheckBox2Click, as a user's
    // click would; called here rather than from the box's signal, so that its
    // failure stops apply at this point.
    const bool useSkin = doc.readBool(WindowSection().name, WindowKey(KeyRole::UseSkin).name, false);
    ShapedBy shapedBy = ShapedBy::Nothing;
    if (CheckBox2->isChecked() != useSkin) {
        {
            const QSignalBlocker quiet(CheckBox2);
            CheckBox2->setChecked(useSkin);
        }
        shapedBy = switchShape();
    }

    if (CheckBox2->isChecked()) {
        // The skin's own mask shapes the window, whatever file the mask
        // field names; one that does not read leaves the window unshaped.
        if (shapedBy != ShapedBy::StoredMask && !shapeByStoredMask()) F.Mask->setActive(false);
        ShowSkinPicture(readPicture(KeyRole::SkinPicture), F.Skin->picture(), m_pictures->pictureBudget());
    } else {
        F.Mask->setActive(false);
        setOuterWidth(&F, WindowSide(doc, KeyRole::Width));
        setOuterHeight(&F, WindowSide(doc, KeyRole::Height));
    }
    // The size editors show the window's size, as the "Rozmiar" tab does
    // when it opens; set quietly, since their handlers would resize it.
    {
        const QSignalBlocker quietWidth(FW);
        const QSignalBlocker quietHeight(FH);
        FW->setValue(outerSize(&F).width());
        FH->setValue(outerSize(&F).height());
    }

    m_binding.applyComponents(doc, picture, m_pictures->pictureBudget());
}

} // namespace fabulor
