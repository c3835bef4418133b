#include "HistoryKeys.h"

#include "editor/EditHistory.h"
#include "editor/Guarded.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
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

bool HistoryKeys::eventFilter(QObject* watched, QEvent* event)
{
    // The editors of the settings window (spin edits, file names, the size
    // boxes) are line edits whose own undo would step their text back behind
    // the skin's history: the value would change as a new edit, and the
    // step the user meant to take back would stay. In the program's windows
    // the keys therefore always go to the skin's history.
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) return false;
    const auto& key = *static_cast<QKeyEvent*>(event);
    if (!isHistoryKey(key) || !inOurWindows(watched)) return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // Not claimed by the focused editor: the shortcut takes the key.
        event->ignore();
        return true;
    }
    // A key press only arrives when there is no step to take: it does nothing.
    return true;
}

} // namespace fabulor
