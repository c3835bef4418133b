#include "editor/EditHistory.h"

#include "document/IniStore.h"
#include "editor/SkinBinding.h"
#include "widgets/PictureBox.h"

#include <QMetaProperty>
#include <QSignalBlocker>
#include <QUndoCommand>
#include <QUndoStack>

#include <type_traits>

namespace fabulor {
namespace {

using Clock = std::chrono::steady_clock;

// An editor's state, as its user sees it: its user property, the one value
// a form binds (the text of the number edits and size boxes, which may hold
// no number while being typed; the value of the colour boxes; the check of
// the check boxes).
QMetaProperty ValueProperty(const QWidget* editor)
{
    // Looked up once per class: every step reads all the editors again.
    static QHash<const QMetaObject*, QMetaProperty> known;
    const QMetaObject* type = editor->metaObject();
    auto found = known.constFind(type);
    if (found == known.constEnd()) found = known.insert(type, type->userProperty());
    return *found;
}

QVariant EditorValue(const QWidget* editor)
{
    return ValueProperty(editor).read(editor);
}

// Sets the editor; quietly, without running its handler, where the preview
// is set apart.
void SetEditorValue(QWidget* editor, const QVariant& value, bool quietly)
{
    const QSignalBlocker quiet(quietly ? editor : nullptr);
    ValueProperty(editor).write(editor, value);
}

bool Same(const SlotValue& a, const SlotValue& b)
{
    // Pictures are what a stored picture or a shape shows; they never decide
    // alone whether a step changed anything, and are always set back.
    if (a.index() != b.index()) return false;
    return std::visit(
        [&b](const auto& value) {
            using Value = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<Value, Picture>)
                return false;
            else
                return value == std::get<Value>(b);
        },
        a);
}

// Only changes of the skin make a step; editors moving alone (a fetch of a
// component's geometry, say) do not.
bool ChangesSkin(const Slot& slot)
{
    if (const auto* editor = std::get_if<EditorSlot>(&slot)) return editor->shownInPreview;
    return !std::holds_alternative<PictureSlot>(slot);
}

// The order steps are set back in: the document, then the window's shape,
// then the preview's keys (whose mirroring editors re-run their handlers),
// the pictures, and the editors last, so they end as they were.
struct RestoreRank {
    int operator()(const DocumentSlot&) const { return 0; }
    int operator()(const ShapeSlot&) const { return 1; }
    int operator()(const KeySlot&) const { return 2; }
    int operator()(const PictureSlot&) const { return 3; }
    int operator()(const EditorSlot&) const { return 4; }
};
constexpr int LastRank = 4;

class SkinStep : public QUndoCommand {
public:
    SkinStep(EditHistory& history, const QString& text, Slots parts, SlotValues before, SlotValues after,
             int mergeId)
        : QUndoCommand(text), m_history(history), m_parts(std::move(parts)), m_before(std::move(before)),
          m_after(std::move(after)), m_mergeId(mergeId), m_time(Clock::now())
    {}

    void undo() override { m_history.restore(m_parts, m_before, m_after); }
    void redo() override
    {
        // The change itself has been made by the user when the step is pushed.
        if (m_done) {
            m_done = false;
            return;
        }
        m_history.restore(m_parts, m_after, m_before);
    }

    int id() const override { return m_mergeId; }

    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = dynamic_cast<const SkinStep*>(other);
        if (!next || next->m_parts != m_parts || next->m_time - m_time > m_history.mergePause()) return false;
        m_after = next->m_after;
        m_time = next->m_time;
        // Typing back what was there leaves nothing to take back.
        bool unchanged = true;
        for (std::size_t i = 0; i < m_parts.size() && unchanged; ++i)
            if (ChangesSkin(m_parts[i]) && !Same(m_before[i], m_after[i])) unchanged = false;
        setObsolete(unchanged);
        return true;
    }

private:
    EditHistory& m_history;
    Slots m_parts;
    SlotValues m_before;
    SlotValues m_after;
    int m_mergeId;
    Clock::time_point m_time;
    bool m_done = true;
};

} // namespace

bool ShapeState::operator==(const ShapeState& other) const
{
    return useSkin == other.useSkin && active == other.active && outer == other.outer &&
           mask.image() == other.mask.image();
}

EditHistory::EditHistory(SkinBinding& binding, std::optional<IniStore>& document, ShapeAccess& shape,
                         QUndoStack& stack, QObject* parent)
    : QObject(parent), m_binding(binding), m_document(document), m_shape(shape), m_stack(stack)
{}

EditHistory::~EditHistory() = default;

EditHistory::Pause::Pause(EditHistory& history) : m_history(history)
{
    ++m_history.m_paused;
}

EditHistory::Pause::~Pause()
{
    if (--m_history.m_paused == 0) m_history.noteEditors();
}

void EditHistory::trackEditors(const std::vector<QWidget*>& editors)
{
    m_known.clear();
    m_editors.clear();
    for (QWidget* editor : editors)
        m_editors.push_back({editor, editor});
    noteEditors();
}

void EditHistory::noteEditors()
{
    // Kept in place rather than built anew: this runs after every step.
    for (const TrackedEditor& tracked : m_editors)
        if (tracked.editor)
            m_known.insert(tracked.key, EditorValue(tracked.editor));
        else
            m_known.remove(tracked.key);
}

bool EditHistory::editorChanged(const QWidget* editor) const
{
    const auto known = m_known.constFind(editor);
    return known == m_known.constEnd() || *known != EditorValue(editor);
}

SlotValue EditHistory::read(const Slot& slot, bool earlier) const
{
    // An editor has changed already when its handler runs: the value before
    // is the one known from the last quiet moment.
    const auto editorValue = [this, earlier](const QWidget* editor) {
        if (earlier) {
            const auto known = m_known.constFind(editor);
            if (known != m_known.constEnd()) return *known;
        }
        return EditorValue(editor);
    };
    if (const auto* key = std::get_if<KeySlot>(&slot)) {
        // Keys that capture reads from an editor (flatness) are read alike.
        // Built in place: GCC 12 with the sanitizers takes a moved-from
        // variant holding a string for an uninitialised one.
        SlotValue value(std::in_place_type<SkinValue>);
        if (const QWidget* editor = m_binding.editorOf(key->component, *key->key))
            std::get<SkinValue>(value).emplace<bool>(editorValue(editor).toBool());
        else
            std::get<SkinValue>(value) = m_binding.value(key->component, *key->key);
        return value;
    }
    if (const auto* editor = std::get_if<EditorSlot>(&slot)) return editorValue(editor->editor);
    if (const auto* stored = std::get_if<DocumentSlot>(&slot)) {
        const IniStore& doc = *m_document;
        return DocumentLine{doc.hasSection(stored->section), doc.keyLine(stored->section, stored->key)};
    }
    if (std::holds_alternative<ShapeSlot>(slot)) {
        ShapeState shape = m_shape.readShape();
        shape.useSkin = editorValue(m_shape.shapeSwitch()).toBool();
        return shape;
    }
    return std::get<PictureSlot>(slot).box->picture();
}

void EditHistory::write(const Slot& slot, const SlotValue& value)
{
    if (const auto* key = std::get_if<KeySlot>(&slot)) {
        m_binding.setValue(key->component, *key->key, std::get<SkinValue>(value));
    } else if (const auto* editor = std::get_if<EditorSlot>(&slot)) {
        SetEditorValue(editor->editor, std::get<QVariant>(value), !editor->shownInPreview);
    } else if (const auto* stored = std::get_if<DocumentSlot>(&slot)) {
        IniStore& doc = *m_document;
        const auto& line = std::get<DocumentLine>(value);
        if (line.line) {
            doc.restoreKeyLine(stored->section, stored->key, *line.line);
        } else {
            doc.eraseKey(stored->section, stored->key);
            // A section the step brought in goes with it, unless a capture
            // has filled it meanwhile: then it, and the sections captured
            // after it, stay in the order a save writes them.
            if (!line.sectionExisted) doc.eraseEmptySection(stored->section);
        }
    } else if (std::holds_alternative<ShapeSlot>(slot)) {
        m_shape.writeShape(std::get<ShapeState>(value));
    } else {
        std::get<PictureSlot>(slot).box->picture() = std::get<Picture>(value);
    }
}

void EditHistory::restore(const Slots& parts, const SlotValues& values, const SlotValues& current)
{
    const Pause pause(*this);
    for (int rank = 0; rank <= LastRank; ++rank)
        for (std::size_t i = 0; i < parts.size(); ++i) {
            if (std::visit(RestoreRank{}, parts[i]) != rank) continue;
            // Document lines are set back also where the step left them as
            // they were: a save since may have written them.
            if (std::holds_alternative<DocumentSlot>(parts[i]) || !Same(values[i], current[i]))
                write(parts[i], values[i]);
        }
}

EditHistory::Pending EditHistory::start(const QString& text, Slots parts, const QObject* mergeKey)
{
    Pending pending{text, std::move(parts), {}, -1};
    pending.before.reserve(pending.parts.size());
    for (const Slot& slot : pending.parts)
        pending.before.push_back(read(slot, true));
    if (mergeKey) {
        auto id = m_mergeIds.constFind(mergeKey);
        if (id == m_mergeIds.constEnd()) id = m_mergeIds.insert(mergeKey, int(m_mergeIds.size()));
        pending.mergeId = *id;
    }
    return pending;
}

void EditHistory::finish(Pending pending)
{
    SlotValues after;
    after.reserve(pending.parts.size());
    bool changed = false;
    for (std::size_t i = 0; i < pending.parts.size(); ++i) {
        after.push_back(read(pending.parts[i], false));
        if (ChangesSkin(pending.parts[i]) && !Same(pending.before[i], after.back())) changed = true;
    }
    if (changed)
        m_stack.push(new SkinStep(*this, pending.text, std::move(pending.parts), std::move(pending.before),
                                  std::move(after), pending.mergeId));
    noteEditors();
}

void EditHistory::begin(const QString& text, Slots parts)
{
    m_open.reset();
    if (!recording()) return;
    m_open = start(text, std::move(parts), nullptr);
}

void EditHistory::undo()
{
    if (!m_open) m_stack.undo();
}

void EditHistory::redo()
{
    if (!m_open) m_stack.redo();
}

void EditHistory::end()
{
    if (!m_open) return;
    Pending pending = std::move(*m_open);
    m_open.reset();
    finish(std::move(pending));
}

} // namespace fabulor
