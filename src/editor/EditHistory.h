#pragma once
// The edit history: each change the user makes to the skin becomes one step
// on the settings window's QUndoStack, which takes it back and does it again.
//
// A step names the parts of the skin's state it may change (parts): keys of
// the schema as the preview holds them, stored pictures, the window's shape,
// picture boxes and the editors of the settings window. Their values are
// read before the change and after it; undo sets the values from before,
// redo those from after, for the parts that differ only (and the document's
// lines, which a save since may have written). So one generic
// command serves every handler, and a step costs no more than what it
// changed: a drag holds four numbers, not the skin.

#include "document/SkinSchema.h"
#include "document/SkinValue.h"
#include "graphics/Bitmap.h"
#include "pictures/Picture.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QVariant>

#include <chrono>
#include <optional>
#include <string>
#include <variant>
#include <vector>

class QUndoStack;
class QWidget;

namespace fabulor {

class IniStore;
class PictureBox;
class SkinBinding;

// One key of one component's section, as capture reads it from the preview.
struct KeySlot {
    int component;
    const SkinKey* key;
    bool operator==(const KeySlot&) const = default;
};
// An editor of the settings window: its text, value or check state.
struct EditorSlot {
    QWidget* editor;
    // The preview shows the editor's choice though the skin does not keep
    // it (flat scroll bars): a change of it alone is a step, and setting it
    // back runs its handler.
    bool shownInPreview = false;
    bool operator==(const EditorSlot&) const = default;
};
// A key of the document itself, line for line (the stored pictures).
struct DocumentSlot {
    std::string_view section;
    std::string_view key;
    bool operator==(const DocumentSlot&) const = default;
};
// "Użyj skóry", the mask, whether it shapes the window, and the window's size.
struct ShapeSlot {
    bool operator==(const ShapeSlot&) const = default;
};
// What a picture box shows.
struct PictureSlot {
    PictureBox* box;
    bool operator==(const PictureSlot&) const = default;
};
using Slot = std::variant<KeySlot, EditorSlot, DocumentSlot, ShapeSlot, PictureSlot>;
using Slots = std::vector<Slot>;

struct DocumentLine {
    bool sectionExisted = false;
    std::optional<std::string> line;
    bool operator==(const DocumentLine&) const = default;
};
struct ShapeState {
    bool useSkin = false;
    bool active = false;
    Bitmap mask;
    QSize outer;
    bool operator==(const ShapeState& other) const;
};
using SlotValue = std::variant<SkinValue, QVariant, DocumentLine, ShapeState, Picture>;
using SlotValues = std::vector<SlotValue>;

// The window's shape as the settings window keeps it ("Użyj skóry", the
// mask, the window's size), read and set back as a whole.
class ShapeAccess {
public:
    // The check box that switches the shape on: a step reads its earlier
    // value from the history's own record, as any editor's.
    virtual const QWidget* shapeSwitch() const = 0;
    virtual ShapeState readShape() const = 0;
    virtual void writeShape(const ShapeState& shape) = 0;

protected:
    ~ShapeAccess() = default;
};

class EditHistory : public QObject {
    Q_OBJECT
public:
    // Steps go onto stack. They change the components through binding, the
    // stored pictures in document, the window's shape through shape, and
    // the editors they name.
    EditHistory(SkinBinding& binding, std::optional<IniStore>& document, ShapeAccess& shape,
                QUndoStack& stack, QObject* parent = nullptr);
    ~EditHistory() override;

    // Runs change as one step of the history, named text ("przesunięcie
    // PClose"). Steps with the same merge key that follow each other within
    // the merge pause become one step (typing a number). A change made while
    // another step runs, or while the history is paused, is part of that one
    // or of none.
    template <typename Change>
    void record(const QString& text, Slots parts, const QObject* mergeKey, Change&& change);

    // A step that spans events (a drag): begun at the press, ended at the
    // release. Beginning again drops a step that never ended.
    void begin(const QString& text, Slots parts);
    void end();

    // One step back or forward; nothing while a drag is under way, whose
    // step starts from the state at the press.
    void undo();
    void redo();

    // While one lives nothing is recorded: loading and applying a skin,
    // taking steps back. The known editor values are read again at its end.
    class Pause {
    public:
        explicit Pause(EditHistory& history);
        ~Pause();
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;

    private:
        EditHistory& m_history;
    };

    // How long a pause between edits of one field still merges them.
    void setMergePause(std::chrono::milliseconds pause) { m_mergePause = pause; }
    std::chrono::milliseconds mergePause() const { return m_mergePause; }

    // The editors whose earlier values steps need; read again after every
    // step, undo and redo, and at the end of every pause.
    void trackEditors(const std::vector<QWidget*>& editors);
    void noteEditors();
    // Whether an editor differs from its value at the last quiet moment.
    bool editorChanged(const QWidget* editor) const;

    // Sets the parts to values, where they differ from current (the values
    // of the other end of the step).
    void restore(const Slots& parts, const SlotValues& values, const SlotValues& current);

    QUndoStack& stack() { return m_stack; }
    // Whether record runs its change as a step now.
    bool recording() const { return m_paused == 0 && m_depth == 0; }

private:
    struct Pending {
        QString text;
        Slots parts;
        SlotValues before;
        int mergeId = -1;
    };

    SlotValue read(const Slot& slot, bool earlier) const;
    void write(const Slot& slot, const SlotValue& value);
    Pending start(const QString& text, Slots parts, const QObject* mergeKey);
    void finish(Pending pending);

    SkinBinding& m_binding;
    std::optional<IniStore>& m_document;
    ShapeAccess& m_shape;
    QUndoStack& m_stack;
    int m_paused = 0;
    int m_depth = 0;
    std::optional<Pending> m_open;
    std::chrono::milliseconds m_mergePause{1500};
    struct TrackedEditor {
        QPointer<QWidget> editor;
        const QWidget* key; // what m_known knows it by, also once it is gone
    };
    std::vector<TrackedEditor> m_editors;
    QHash<const QWidget*, QVariant> m_known;
    QHash<const QObject*, int> m_mergeIds;
};

template <typename Change>
void EditHistory::record(const QString& text, Slots parts, const QObject* mergeKey, Change&& change)
{
    if (!recording()) {
        change();
        return;
    }
    Pending pending = start(text, std::move(parts), mergeKey);
    ++m_depth;
    try {
        change();
    } catch (...) {
        // What changed before the failure is still one step to take back.
        --m_depth;
        finish(std::move(pending));
        throw;
    }
    --m_depth;
    finish(std::move(pending));
}

} // namespace fabulor
