#include "editor/HistoryButtons.h"

#include "editor/EditHistory.h"
#include "editor/Guarded.h"
#include "widgets/Make.h"

#include <QPushButton>
#include <QUndoStack>

namespace fabulor {
namespace {

// "Cofnij: przesunięcie PClose", or the bare verb when the step has no name.
QString StepTip(const QString& verb, const QString& step)
{
    return step.isEmpty() ? verb : verb + QStringLiteral(": ") + step;
}

} // namespace

HistoryButtons::HistoryButtons(EditHistory& history, QWidget* tab, QObject* parent)
    : QObject(parent), m_history(history)
{
    UndoButton = Make<QPushButton>(tab, "UndoButton", {56, 104, 70, 25}, QStringLiteral("Cofnij"));
    connect(UndoButton, &QPushButton::clicked, this, Guarded(this, [this] { m_history.undo(); }));

    RedoButton = Make<QPushButton>(tab, "RedoButton", {131, 104, 70, 25}, QStringLiteral("Ponów"));
    connect(RedoButton, &QPushButton::clicked, this, Guarded(this, [this] { m_history.redo(); }));

    QUndoStack* stack = &m_history.stack();
    connect(stack, &QUndoStack::canUndoChanged, this, &HistoryButtons::showSteps);
    connect(stack, &QUndoStack::canRedoChanged, this, &HistoryButtons::showSteps);
    connect(stack, &QUndoStack::undoTextChanged, this, &HistoryButtons::showSteps);
    connect(stack, &QUndoStack::redoTextChanged, this, &HistoryButtons::showSteps);
    showSteps();
}

void HistoryButtons::showSteps()
{
    const QUndoStack& stack = m_history.stack();
    UndoButton->setEnabled(stack.canUndo());
    UndoButton->setToolTip(StepTip(QStringLiteral("Cofnij"), stack.undoText()));
    RedoButton->setEnabled(stack.canRedo());
    RedoButton->setToolTip(StepTip(QStringLiteral("Ponów"), stack.redoText()));
}

} // namespace fabulor
