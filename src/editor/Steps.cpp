// Which parts each kind of change touches, and the steps of the preview's
// own gestures (drags and nudges of a component).

#include "editor/Steps.h"

#include "editor/Catalogue.h"
#include "editor/SettingsWindow.h"
#include "editor/SkinBinding.h"
#include "preview/InteractiveMove.h"
#include "preview/PreviewWindow.h"
#include "widgets/FileNameEdit.h"
#include "widgets/SpinEdit.h"

#include <QCheckBox>
#include <QPointer>

#include <functional>

namespace fabulor {
namespace {

DocumentSlot WindowKeySlot(KeyRole role)
{
    return {WindowSection().name, WindowKey(role).name};
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
void HookNudges(TF& f, EditHistory& history, TFBox& box)
{
    f.NudgeStep = [&f, &history, settings = QPointer<TFBox>(&box)](int component,
                                                                   const std::function<void()>& nudge) {
        if (!settings) {
            nudge();
            return;
        }
        history.record(QStringLiteral("przesunięcie %1").arg(SectionName(component)),
                       StepParts::geometry(component, false), Catalogue()[std::size_t(component)].moved(f),
                       nudge);
    };
}

} // namespace

namespace StepParts {

Slots mask(QWidget* maskEdit)
{
    return {WindowKeySlot(KeyRole::Mask), ShapeSlot{}, EditorSlot{maskEdit}};
}

Slots skinPicture(PictureBox* shown, QWidget* edit)
{
    return {WindowKeySlot(KeyRole::SkinPicture), PictureSlot{shown}, EditorSlot{edit}};
}

Slots useSkin()
{
    return {ShapeSlot{}, WindowKeySlot(KeyRole::Width), WindowKeySlot(KeyRole::Height)};
}

Slots windowSize(QWidget* editor)
{
    return {ShapeSlot{}, EditorSlot{editor}};
}

Slots geometry(int component, bool size)
{
    if (component < 0 || component >= CatalogueSize) return {};
    if (size) {
        if (!Catalogue()[std::size_t(component)].rozmiar()) return {};
        return {KeySlot{component, &ComponentKey(component, KeyRole::Width)},
                KeySlot{component, &ComponentKey(component, KeyRole::Height)}};
    }
    return {KeySlot{component, &ComponentKey(component, KeyRole::Top)},
            KeySlot{component, &ComponentKey(component, KeyRole::Left)}};
}

Slots appearance(const SkinBinding& binding, AppearanceSheet sheet)
{
    Slots parts;
    for (int component = 0; component < CatalogueSize; ++component) {
        if (Catalogue()[std::size_t(component)].schema->appearance != sheet) continue;
        for (const SkinKey& key : ComponentSection(component).keys)
            if (key.captured() && key.isAppearance()) parts.emplace_back(KeySlot{component, &key});
    }
    const AppearanceEditors& editors = binding.sheet(sheet);
    for (QWidget* editor : editors.all())
        if (editor) parts.emplace_back(EditorSlot{editor, editor == editors.flatScrollBars});
    return parts;
}

Slots buttonPicture(TF& preview, int component, KeyRole picture, QWidget* edit)
{
    Slots parts{EditorSlot{edit}};
    if (const CatalogueEntry* button = ButtonForIndex(component)) {
        parts.emplace_back(DocumentSlot{button->section, ComponentKey(component, picture).name});
        parts.emplace_back(PictureSlot{button->image(preview)});
    }
    return parts;
}

} // namespace StepParts

void TFBox::hookHistory()
{
    // A drag of a component is one step, from the press to the release.
    connect(F.Move, &InteractiveMove::controlMoveStarted, this, [this](QWidget* control) {
        const int component = ComponentOf(F, control);
        if (component < 0) return;
        m_history->begin(QStringLiteral("przesunięcie %1").arg(SectionName(component)),
                         StepParts::geometry(component, false));
    });
    connect(F.Move, &InteractiveMove::controlMoveFinished, this, [this] { m_history->end(); });
    HookNudges(F, *m_history, *this);
    m_history->trackEditors(trackedEditors());
}

std::vector<QWidget*> TFBox::trackedEditors() const
{
    std::vector<QWidget*> editors{Szer, Wys, Top, Left, FW, FH, CheckBox2, Maska, Skin, MP1, MP2};
    for (const AppearanceSheet sheet :
         {AppearanceSheet::Description, AppearanceSheet::PageControl, AppearanceSheet::ItemList,
          AppearanceSheet::Picture, AppearanceSheet::PathLabels, AppearanceSheet::Messages})
        for (QWidget* editor : m_binding.sheet(sheet).all())
            if (editor) editors.push_back(editor);
    return editors;
}

} // namespace fabulor
