// Capture (SaveStateToDocument) writes the preview's state into the skin
// document; apply (LoadStateFromDocument) sets the preview, and the settings
// controls that mirror it, from the document. Sections, keys, defaults and
// their order are those of the skin file: the reader program relies on them.

#include "editor/SettingsWindow.h"

#include "editor/Catalogue.h"
#include "editor/ComponentFont.h"
#include "graphics/Bitmap.h"
#include "graphics/GraphicErrors.h"
#include "pictures/BuiltInPictures.h"
#include "pictures/TransparentForm.h"
#include "preview/PreviewWindow.h"
#include "widgets/ColourPicker.h"
#include "widgets/FontPicker.h"
#include "widgets/ListView.h"
#include "widgets/Memo.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/PictureBox.h"
#include "widgets/SizePicker.h"
#include "widgets/SpinEdit.h"
#include "widgets/StaticText.h"
#include "widgets/WindowGeometry.h"

#include <QCheckBox>
#include <QSignalBlocker>

namespace fabulor {
namespace {

struct Bounds {
    int width;
    int height;
    int top;
    int left;
};

void WriteBounds(IniStore& doc, std::string_view section, const QWidget* control)
{
    doc.writeInteger(section, "S", control->width());
    doc.writeInteger(section, "W", control->height());
    doc.writeInteger(section, "T", control->y());
    doc.writeInteger(section, "L", control->x());
}

void WritePosition(IniStore& doc, std::string_view section, const QWidget* control)
{
    doc.writeInteger(section, "T", control->y());
    doc.writeInteger(section, "L", control->x());
}

// The size written is the one the skin holds, which may differ from the
// one the control is drawn with.
void WriteFont(IniStore& doc, std::string_view section, const QWidget* control, Colour colour)
{
    doc.writeColour(section, "FColor", colour);
    doc.writeString(section, "FName", FontNameForSkin(control->font().family()));
    doc.writeInteger(section, "FSize", SkinFontSize(control));
}

// Width, height, top and left, in this order.
void ApplyBounds(const IniStore& doc, std::string_view section, QWidget* control, Bounds defaults)
{
    control->resize(doc.readInteger(section, "S", defaults.width), control->height());
    control->resize(control->width(), doc.readInteger(section, "W", defaults.height));
    control->move(control->x(), doc.readInteger(section, "T", defaults.top));
    control->move(doc.readInteger(section, "L", defaults.left), control->y());
}

void ApplyPosition(const IniStore& doc, std::string_view section, QWidget* control, int top, int left)
{
    control->move(control->x(), doc.readInteger(section, "T", top));
    control->move(doc.readInteger(section, "L", left), control->y());
}

// The size read, then the mirroring size picker shows it; the picker puts 10
// in place of a size outside 1 to 999, and its handler draws that. The skin
// still holds the size read, and a save writes it back.
void ApplyMirroredFontSize(QWidget* control, SizePicker* mirror, int points)
{
    ApplyFontSize(control, points);
    mirror->setSize(points);
    KeepSkinFontSize(control, points);
}

QString ReadFontName(const IniStore& doc, std::string_view section)
{
    return FontNameFromSkin(doc.readString(section, "FName", "Arial"));
}

} // namespace

void TFBox::SaveStateToDocument()
{
    IniStore& doc = document();

    doc.writeBool("Skin", "En", CheckBox2->isChecked());
    if (!CheckBox2->isChecked()) {
        const QSize outer = outerSize(&F);
        doc.writeInteger("Skin", "W", outer.width());
        doc.writeInteger("Skin", "H", outer.height());
    }

    WriteBounds(doc, "PC1", F.PC1);
    doc.writeInteger("PC1", "Border", F.PC1->clientBorderWidth());
    doc.writeColour("PC1", "Color", F.PC1->colour());

    WriteBounds(doc, "OP1", F.Op1);
    doc.writeBool("OP1", "Flat", O_Flat->isChecked());
    doc.writeColour("OP1", "Color", F.Op1->colour());
    WriteFont(doc, "OP1", F.Op1, F.Op1->fontColour());

    WriteBounds(doc, "PRys", F.PRys);
    doc.writeInteger("PRys", "Border", F.PRys->borderWidth());
    doc.writeColour("PRys", "RColor", F.Rys->colour());
    doc.writeColour("PRys", "Color", F.PRys->colour());

    for (const ButtonEntry& button : ButtonTable())
        WritePosition(doc, button.section, button.panel(F));

    WriteBounds(doc, "PMove", F.PMove);

    const std::pair<std::string_view, StaticText*> labels[] = {
        {"L1", F.L1}, {"L2", F.L2}, {"L3", F.L3}, {"L4", F.L4}, {"LM", F.LM}};
    for (const auto& [section, label] : labels) {
        WritePosition(doc, section, label);
        WriteFont(doc, section, label, label->fontColour());
    }

    WriteBounds(doc, "LB", F.LB);
    doc.writeBool("LB", "Flat", B_flat->isChecked());
    doc.writeColour("LB", "Color", F.LB->colour());
    WriteFont(doc, "LB", F.LB, F.LB->fontColour());
}

void TFBox::LoadStateFromDocument()
{
    const IniStore& doc = document();
    // One stream serves every picture of this run.
    MemoryStream picture;
    const auto readPicture = [&](std::string_view section, std::string_view key) -> MemoryStream& {
        picture.clear();
        doc.readBinary(section, key, picture);
        picture.rewind();
        return picture;
    };

    // Changing the box runs CheckBox2Click, as a user's click would; called
    // here rather than from the box's signal, so that its failure stops
    // apply at this point.
    // The size editors hold the skin's unshaped size, also while the mask
    // shapes the window: it is the size the window takes when shaping goes
    // off. Set quietly: their handlers would resize a shaped window.
    {
        const QSignalBlocker quietWidth(FW);
        const QSignalBlocker quietHeight(FH);
        FW->setValue(doc.readInteger("Skin", "W", 623));
        FH->setValue(doc.readInteger("Skin", "H", 364));
    }

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
        ShowSkinPicture(readPicture("Skin", "Skin"), F.Skin->picture());
    } else {
        F.Mask->setActive(false);
        setOuterWidth(&F, doc.readInteger("Skin", "W", 623));
        setOuterHeight(&F, doc.readInteger("Skin", "H", 364));
    }

    ApplyBounds(doc, "PC1", F.PC1, {209, 153, 144, 24});
    F.PC1->setClientBorderWidth(doc.readInteger("PC1", "Border", 0));
    P_border->setValue(F.PC1->clientBorderWidth());
    // The editor holds only 0 to 10; the page control ends with what it shows,
    // also when the editor showed that already and announced no change.
    F.PC1->setClientBorderWidth(P_border->value());
    F.PC1->setColour(doc.readColour("PC1", "Color", "$00DFDFDF"));
    P_color->setValue(F.PC1->colour());

    ApplyBounds(doc, "OP1", F.Op1, {209, 88, 49, 24});
    const bool opisFlat = doc.readBool("OP1", "Flat", false);
    F.Op1->setBorderStyle(opisFlat ? BorderStyle::None : BorderStyle::Single);
    O_Flat->setChecked(opisFlat);
    F.Op1->setColour(doc.readColour("OP1", "Color", "$0FFFFFF"));
    O_color->setValue(F.Op1->colour());
    F.Op1->setFontColour(doc.readColour("OP1", "FColor", "$0000000"));
    O_fontcolor->setValue(F.Op1->fontColour());
    ApplyFontName(F.Op1, ReadFontName(doc, "OP1"));
    O_font->setFontName(F.Op1->font().family());
    ApplyMirroredFontSize(F.Op1, O_fontsize, doc.readInteger("OP1", "FSize", 10));

    ApplyBounds(doc, "PRys", F.PRys, {241, 249, 48, 248});
    F.PRys->setBorderWidth(doc.readInteger("PRys", "Border", 4));
    R_border->setValue(F.PRys->borderWidth());
    F.PRys->setBorderWidth(R_border->value());
    F.Rys->setColour(doc.readColour("PRys", "RColor", "clGray"));
    R_color->setValue(F.Rys->colour());
    F.PRys->setColour(doc.readColour("PRys", "Color", "clSilver"));
    R_pcolor->setValue(F.PRys->colour());

    for (const ButtonEntry& button : ButtonTable()) {
        ApplyPosition(doc, button.section, button.panel(F), button.defaultTop, button.defaultLeft);
        ShowButtonPicture(button.image(F)->picture(), readPicture(button.section, "MP1"),
                          button.builtInPicture);
    }

    ApplyBounds(doc, "PMove", F.PMove, {361, 25, 16, 24});

    ApplyPosition(doc, "L1", F.L1, 12, 42);
    F.L1->setFontColour(doc.readColour("L1", "FColor", "clBlack"));
    D_fontcolor->setValue(F.L1->fontColour());
    ApplyFontName(F.L1, ReadFontName(doc, "L1"));
    D_font->setFontName(F.L1->font().family());
    ApplyMirroredFontSize(F.L1, D_fontsize, doc.readInteger("L1", "FSize", 8));

    // The other path labels always share the font colour of the first.
    const std::tuple<std::string_view, StaticText*, int> pathLabels[] = {
        {"L2", F.L2, 42}, {"L3", F.L3, 72}, {"L4", F.L4, 102}};
    for (const auto& [section, label, top] : pathLabels) {
        ApplyPosition(doc, section, label, top, 42);
        ApplyFontName(label, ReadFontName(doc, section));
        ApplyFontSize(label, doc.readInteger(section, "FSize", 8));
        label->setFontColour(F.L1->fontColour());
    }

    ApplyPosition(doc, "LM", F.LM, 312, 64);
    F.LM->setFontColour(doc.readColour("LM", "FColor", "clBlack"));
    K_fontcolor->setValue(F.LM->fontColour());
    ApplyFontName(F.LM, ReadFontName(doc, "LM"));
    K_font->setFontName(F.LM->font().family());
    ApplyMirroredFontSize(F.LM, K_fontsize, doc.readInteger("LM", "FSize", 8));

    ApplyBounds(doc, "LB", F.LB, {97, 249, 48, 504});
    const bool listFlat = doc.readBool("LB", "Flat", false);
    F.LB->setBorderStyle(listFlat ? BorderStyle::None : BorderStyle::Single);
    B_flat->setChecked(listFlat);
    F.LB->setColour(doc.readColour("LB", "Color", "$0FFFFFF"));
    B_color->setValue(F.LB->colour());
    F.LB->setFontColour(doc.readColour("LB", "FColor", "$0000000"));
    B_fontcolor->setValue(F.LB->fontColour());
    ApplyFontName(F.LB, ReadFontName(doc, "LB"));
    B_font->setFontName(F.LB->font().family());
    ApplyMirroredFontSize(F.LB, B_fontsize, doc.readInteger("LB", "FSize", 10));
}

} // namespace fabulor
