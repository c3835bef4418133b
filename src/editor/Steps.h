#pragma once
// How the settings window's handlers become steps of the edit history: the
// parts each kind of change touches, named once, and the one way a handler
// is hooked to its editor's signal as a step.

#include "document/SkinSchema.h"
#include "editor/EditHistory.h"
#include "editor/Guarded.h"

#include <QObject>
#include <QString>

#include <functional>
#include <type_traits>

class QWidget;

namespace fabulor {

class PictureBox;
class SkinBinding;
class TF;

// The parts of the skin each kind of change may change.
namespace StepParts {

// A mask chosen in the field maskEdit: the stored mask, the window's shape
// and the field.
Slots mask(QWidget* maskEdit);
// A skin picture chosen in the field edit: the stored picture, what shown
// shows and the field.
Slots skinPicture(PictureBox* shown, QWidget* edit);
// "Użyj skóry": the window's shape, and its size as the skin keeps it (a
// save in between writes it, and taking the switch back takes it back).
Slots useSkin();
// The window's size typed in editor, while it has no shape.
Slots windowSize(QWidget* editor);
// A component's place, or its size; nothing for an index outside the
// catalogue or a component whose size is not edited.
Slots geometry(int component, bool size);
// Every key a sheet of "Właściwości" edits, of every component it edits,
// and the sheet's editors.
Slots appearance(const SkinBinding& binding, AppearanceSheet sheet);
// A button picture (MouseOut or MouseOver) chosen in the field edit for the
// component: the field, and for a button the stored picture and what its
// box shows.
Slots buttonPicture(TF& preview, int component, KeyRole picture, QWidget* edit);

} // namespace StepParts

// What a change hooked by ConnectStep is, read as it starts: its name in the
// history ("przesunięcie PClose"), its parts, and the key of the steps it
// merges with (typing in one field), if any.
struct StepSpec {
    QString text;
    Slots parts;
    const QObject* mergeKey = nullptr;
};

// Runs owner's handler on every emission of sender's signal, as one step of
// history described by describe (called then), with the signal's arguments
// where the handler takes them. A failure reaches the error box, as from any
// handler (Guarded.h).
template <typename Owner, typename Sender, typename Signal, typename Describe, typename Handler>
void ConnectStep(Owner* owner, EditHistory& history, Sender* sender, Signal signal, Describe describe,
                 Handler handler)
{
    QObject::connect(
        sender, signal, owner, [owner, steps = &history, describe, handler](const auto&... args) {
            // Qt's connect may try this with fewer arguments than the signal
            // gives, to learn how many it takes: such a trial must compile.
            constexpr bool takesArguments = std::is_invocable_v<Handler, Owner*, decltype(args)...>;
            constexpr bool takesNone = std::is_invocable_v<Handler, Owner*>;
            Guarded(owner, [&] {
                StepSpec step = describe();
                steps->record(step.text, std::move(step.parts), step.mergeKey, [&] {
                    if constexpr (takesArguments)
                        std::invoke(handler, owner, args...);
                    else if constexpr (takesNone)
                        std::invoke(handler, owner);
                });
            })();
        });
}

} // namespace fabulor
