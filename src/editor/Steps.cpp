// How the settings window's handlers become steps of the edit history: which
// parts each kind of change touches, and what the step is called ("Cofnij:
// przesunięcie PClose").

#include "editor/Catalogue.h"
#include "editor/SettingsWindow.h"
#include "preview/InteractiveMove.h"
#include "preview/PreviewWindow.h"
#include "widgets/ColourPicker.h"
#include "widgets/FileNameEdit.h"
#include "widgets/FontPicker.h"
#include "widgets/SizePicker.h"
#include "widgets/SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPointer>

#include <functional>

namespace fabulor {
namespace {

const SkinKey& Key(int component, KeyRole role)
{
    return *ComponentSection(component).key(role);
}

int ComponentOf(TF& f, const QWidget* control)
{
    for (int index = 0; index < CatalogueSize; ++index)
        if (Catalogue()[std::size_t(index)].moved(f) == control) return index;
    return -1;
}

// A run of nudges of one component with the arrow keys is one step, as a
// drag is: nudges that follow each other within the merge pause merge, as
// keystrokes in one field do.
void HookNudges(TF& f, TFBox& box)
{
    f.NudgeStep = [&f, settings = QPointer<TFBox>(&box)](int component, const std::function<void()>& nudge) {
        if (!settings) {
            nudge();
            return;
        }
        settings->step(QStringLiteral("przesunięcie %1").arg(SectionName(component)),
                       settings->geometrySlots(component, false),
                       Catalogue()[std::size_t(component)].moved(f), nudge);
    };
}

} // namespace

Slots TFBox::geometrySlots(int component, bool size) const
{
    if (component < 0 || component >= CatalogueSize) return {};
    if (size) {
        if (!Catalogue()[std::size_t(component)].rozmiar()) return {};
        return {KeySlot{component, &Key(component, KeyRole::Width)},
                KeySlot{component, &Key(component, KeyRole::Height)}};
    }
    return {KeySlot{component, &Key(component, KeyRole::Top)},
            KeySlot{component, &Key(component, KeyRole::Left)}};
}

Slots TFBox::appearanceSlots(AppearanceSheet sheet) const
{
    Slots parts;
    for (int component = 0; component < CatalogueSize; ++component) {
        if (Catalogue()[std::size_t(component)].schema->appearance != sheet) continue;
        for (const SkinKey& key : ComponentSection(component).keys)
            if (key.captured() && key.isAppearance()) parts.emplace_back(KeySlot{component, &key});
    }
    const AppearanceEditors& editors = m_binding.sheet(sheet);
    for (QWidget* editor : editors.all())
        if (editor) parts.emplace_back(EditorSlot{editor, editor == editors.flatScrollBars});
    return parts;
}

void TFBox::hookHistory()
{
    // A drag of a component is one step, from the press to the release.
    connect(F.Move, &InteractiveMove::controlMoveStarted, this, [this](QWidget* control) {
        const int component = ComponentOf(F, control);
        if (component < 0) return;
        m_history->begin(QStringLiteral("przesunięcie %1").arg(SectionName(component)),
                         geometrySlots(component, false));
    });
    connect(F.Move, &InteractiveMove::controlMoveFinished, this, [this] { m_history->end(); });
    HookNudges(F, *this);
    m_history->trackEditors(trackedEditors());
}

std::vector<QWidget*> TFBox::trackedEditors() const
{
    std::vector<QWidget*> editors{Szer, Wys, Top, Left, FW, FH, CheckBox2, Maska, Skin, MP1, MP2};
    for (const AppearanceSheet sheet :
         {AppearanceSheet::Description, AppearanceSheet::PageControl, AppearanceSheet::ItemList,
          AppearanceSheet::Picture, AppearanceSheet::PathLabels, AppearanceSheet::Messages})
        for (const Slot& slot : appearanceSlots(sheet))
            if (const auto* editor = std::get_if<EditorSlot>(&slot)) editors.push_back(editor->editor);
    return editors;
}

} // namespace fabulor
