#include "HistoryKeys.h"

#include "editor/EditHistory.h"
#include "editor/Guarded.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QUndoStack>
#include <QWidget>

namespace fabulor {
namespace {

QList<QKeySequence> Distinct(const QList<QKeySequence>& keys)
{
    QList<QKeySequence> out;
    for (const QKeySequence& key : keys)
        if (!key.isEmpty() && !out.contains(key)) out << key;
    return out;
}

} // namespace

HistoryKeys::HistoryKeys(EditHistory& history, const QList<QWidget*>& windows, QObject* parent)
    : QObject(parent), m_windows(windows), m_undo(new QAction(QStringLiteral("Cofnij"), this)),
      m_redo(new QAction(QStringLiteral("Ponów"), this))
{
    m_undo->setShortcuts(Distinct(QKeySequence::keyBindings(QKeySequence::Undo)));
    // Not every platform's redo binding includes both: users of either
    // tradition find theirs.
    m_redo->setShortcuts(Distinct(QKeySequence::keyBindings(QKeySequence::Redo)
                                  << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)
                                  << QKeySequence(Qt::CTRL | Qt::Key_Y)));
    // Undoing may fail like any edit; the error box reports it.
    connect(m_undo, &QAction::triggered, this, Guarded(this, [&history] { history.undo(); }));
    connect(m_redo, &QAction::triggered, this, Guarded(this, [&history] { history.redo(); }));
    const QUndoStack& steps = history.stack();
    m_undo->setEnabled(steps.canUndo());
    m_redo->setEnabled(steps.canRedo());
    connect(&steps, &QUndoStack::canUndoChanged, m_undo, &QAction::setEnabled);
    connect(&steps, &QUndoStack::canRedoChanged, m_redo, &QAction::setEnabled);
    // One pair of actions serves both windows: a window shortcut works in
    // any window the action was added to.
    m_undo->setShortcutContext(Qt::WindowShortcut);
    m_redo->setShortcutContext(Qt::WindowShortcut);
    for (QWidget* window : m_windows)
        window->addActions({m_undo, m_redo});
    // A line edit claims these keys for its own text undo before any
    // shortcut sees them; see eventFilter.
    qApp->installEventFilter(this);
}

bool HistoryKeys::isHistoryKey(const QKeyEvent& key) const
{
    const QKeySequence pressed(QKeyCombination(
        key.modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier), Qt::Key(key.key())));
    return m_undo->shortcuts().contains(pressed) || m_redo->shortcuts().contains(pressed);
}

bool HistoryKeys::inOurWindows(QObject* object) const
{
    const auto* widget = qobject_cast<QWidget*>(object);
    return widget && m_windows.contains(widget->window());
}

std::function<void()> HistoryKeys::fieldStep(QObject* watched, const QKeyEvent& key) const
{
    const QKeySequence pressed(QKeyCombination(
        key.modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier), Qt::Key(key.key())));
    const bool undo = m_undo->shortcuts().contains(pressed);
    // The focus widget the keys are sent to: a line edit itself (a spin
    // edit's, a file name's), an editable drop-down that hands them on to
    // its field (a size box), or a text box (the description).
    QLineEdit* line = qobject_cast<QLineEdit*>(watched);
    if (auto* combo = qobject_cast<QComboBox*>(watched)) line = combo->lineEdit();
    if (line) {
        if (line->isReadOnly() || !(undo ? line->isUndoAvailable() : line->isRedoAvailable())) return {};
        if (undo) return [line] { line->undo(); };
        return [line] { line->redo(); };
    }
    if (auto* box = qobject_cast<QPlainTextEdit*>(watched)) {
        const QTextDocument* text = box->document();
        if (box->isReadOnly() || !box->isUndoRedoEnabled() ||
            !(undo ? text->isUndoAvailable() : text->isRedoAvailable()))
            return {};
        if (undo) return [box] { box->undo(); };
        return [box] { box->redo(); };
    }
    return {};
}

bool HistoryKeys::eventFilter(QObject* watched, QEvent* event)
{
    // A text field that has the focus and typing of its own to take back or
    // do again takes the keys, as in every editor. Otherwise, in the
    // program's windows, they go to the skin's history, also where a field
    // would claim them with nothing of its own to undo.
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) return false;
    const auto& key = *static_cast<QKeyEvent*>(event);
    if (!isHistoryKey(key) || !inOurWindows(watched)) return false;
    const std::function<void()> step = fieldStep(watched, key);
    if (event->type() == QEvent::ShortcutOverride) {
        // Claimed for the field: no shortcut fires and the key press follows.
        // Not claimed: the shortcut takes the key.
        event->setAccepted(bool(step));
        return true;
    }
    // The field's step is taken here for every key of the history's, as not
    // each field knows each of them (Ctrl+Y). Without a field's step the
    // key press only arrives when the history has no step to take either: it
    // does nothing.
    if (step) step();
    return true;
}

} // namespace fabulor
