#include "preview/PlacingKeys.h"

#include "preview/InteractiveMove.h"
#include "preview/PreviewControls.h"
#include "preview/PreviewWindow.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>
#include <limits>
#include <optional>

namespace fabulor {
namespace {

struct Action {
    QPoint nudge;   // the arrows
    int select = 0; // Tab: +1, Shift+Tab: -1
};

// A place near the ends of int stays there rather than wrap round.
int Nudged(int from, int by)
{
    return int(std::clamp<long long>(static_cast<long long>(from) + by, std::numeric_limits<int>::min(),
                                     std::numeric_limits<int>::max()));
}

std::optional<Action> ActionOf(const QKeyEvent& key)
{
    // The arrows of the number pad are arrows too.
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier) return std::nullopt;
    if (key.key() == Qt::Key_Backtab || (key.key() == Qt::Key_Tab && modifiers == Qt::ShiftModifier))
        return Action{{}, -1};
    if (key.key() == Qt::Key_Tab) return Action{{}, 1};
    const int step = modifiers == Qt::ShiftModifier ? 10 : 1;
    switch (key.key()) {
    case Qt::Key_Left:
        return Action{{-step, 0}, 0};
    case Qt::Key_Right:
        return Action{{step, 0}, 0};
    case Qt::Key_Up:
        return Action{{0, -step}, 0};
    case Qt::Key_Down:
        return Action{{0, step}, 0};
    default:
        return std::nullopt;
    }
}

} // namespace

int TF::SelectedComponent()
{
    return m_selected.current();
}

void TF::NudgeSelected(QPoint offset)
{
    const int index = SelectedComponent();
    QWidget* control = ComponentControl(*this, index);
    if (!control) return;
    const auto nudge = [control, offset] {
        control->move(Nudged(control->x(), offset.x()), Nudged(control->y(), offset.y()));
    };
    if (NudgeStep)
        NudgeStep(index, nudge);
    else
        nudge();
    InteractiveMove::showPlace(*control, control->mapToGlobal(QPoint(control->width(), control->height())));
}

void TF::SelectNextComponent(bool forward)
{
    // Only what can be seen, as only that can be pressed: the buttons of the
    // pages in the background wait until their page is shown.
    const int count = int(ComponentCount);
    const int current = SelectedComponent();
    for (int step = 1; step <= count; ++step) {
        const int index = current < 0 ? (forward ? step - 1 : count - step)
                                      : (current + (forward ? step : count - step)) % count;
        if (ComponentControl(*this, index)->isVisibleTo(this)) {
            if (SelectComponent) SelectComponent(index);
            return;
        }
    }
}

PlacingKeys::PlacingKeys(TF& preview) : QObject(&preview), m_preview(preview)
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool PlacingKeys::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) return false;
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &m_preview) return false;
    const std::optional<Action> action = ActionOf(*static_cast<QKeyEvent*>(event));
    if (!action) return false;
    if (type == QEvent::ShortcutOverride) {
        // Ours, not a shortcut's: it comes back as a key press.
        event->accept();
        return true;
    }
    // A drag places the control by itself until the button is released.
    if (m_preview.Move && m_preview.Move->isActive()) return true;
    if (action->select != 0)
        m_preview.SelectNextComponent(action->select > 0);
    else
        m_preview.NudgeSelected(action->nudge);
    return true;
}

} // namespace fabulor
