#pragma once
// What binds the skin's schema (document/SkinSchema.h) to the preview window
// and to the settings window's editors: the value a component's key has in
// the preview, how setting one shows in the preview and in the editor that
// mirrors it, which editors each sheet of "Właściwości" has, and capture and
// apply of the components' sections. Everything here goes by the key's role,
// so a key of a known role needs no code. The window's own section belongs
// to the settings window, with the shape handlers it runs.

#include "document/SkinSchema.h"
#include "document/SkinValue.h"

#include <array>
#include <memory>

class QCheckBox;
class QWidget;

namespace fabulor {

class ColourPicker;
class FontPicker;
class IniStore;
class MemoryStream;
class PictureBudget;
class SizePicker;
class SpinEdit;
class TF;

// The editors of one sheet of "Właściwości"; null where the sheet has none.
// A sheet edits every component whose schema names it; its editors mirror
// the first of them.
struct AppearanceEditors {
    QCheckBox* flat = nullptr;           // KeyRole::Flat
    ColourPicker* colour = nullptr;      // KeyRole::Background
    ColourPicker* innerColour = nullptr; // KeyRole::InnerColour
    SpinEdit* border = nullptr;          // KeyRole::Border
    FontPicker* font = nullptr;          // KeyRole::FontName
    SizePicker* fontSize = nullptr;      // KeyRole::FontSize
    ColourPicker* fontColour = nullptr;  // KeyRole::FontColour
    QCheckBox* flatScrollBars = nullptr; // not kept in the skin

    // Every one of them, null or not, in the order above.
    std::array<QWidget*, 8> all() const;
};

// What one appearance handler sets from its sheet's editors.
enum class AppearanceAspect {
    Frame,  // flatness, colour and scroll bars
    Border, // border width and colours
    Font,   // font name, size and colour
};

class SkinBinding {
public:
    explicit SkinBinding(TF& preview);

    TF& preview() const { return m_preview; }

    // The sheets' editors, registered as "Właściwości" is built: until then
    // every sheet has none, and the preview alone holds what they would show.
    void setSheet(AppearanceSheet sheet, const AppearanceEditors& editors);
    const AppearanceEditors& sheet(AppearanceSheet sheet) const;

    // One key of a component's section: the value the preview holds, as
    // capture writes it.
    SkinValue value(int component, const SkinKey& key) const;
    // Sets it into the preview and the editor that mirrors it, as apply does.
    void setValue(int component, const SkinKey& key, const SkinValue& value) const;
    // The editor capture reads a key from, where the preview does not keep
    // the key's value (flatness); null for the others.
    QWidget* editorOf(int component, const SkinKey& key) const;

    // What an appearance handler does: sets one aspect of every component of
    // the sheet from the sheet's editors.
    void applyAppearance(AppearanceSheet sheet, AppearanceAspect aspect) const;

    // Writes every component's keys into doc, in the schema's order.
    void capture(IniStore& doc) const;
    // Sets every component from doc, in the schema's order, reading the
    // button pictures through picture (one stream serves a whole apply) and
    // counting them against budget.
    void applyComponents(const IniStore& doc, MemoryStream& picture,
                         const std::shared_ptr<PictureBudget>& budget) const;

private:
    TF& m_preview;
    std::array<AppearanceEditors, AppearanceSheetCount> m_sheets{};
};

} // namespace fabulor
