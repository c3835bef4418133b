// The preview's press handlers: a press on a component makes it the current
// one in the settings window and drags it to a new place; a press on the
// background drags the whole window. Which widget belongs to which component
// comes from the control table.

#include "preview/InteractiveMove.h"
#include "preview/PreviewControls.h"
#include "preview/PreviewWindow.h"
#include "widgets/Panel.h"
#include "widgets/PictureBox.h"

#include <QMouseEvent>
#include <QWindow>

#include <vector>

namespace fabulor {

void TF::hookPresses()
{
    Move = new InteractiveMove(this);
    // A dragged component lines up with the others beside it.
    std::vector<QWidget*> components;
    for (const ControlBinding& binding : ControlBindings())
        components.push_back(binding.control(*this));
    Move->setSnapTargets(components);
    for (const ControlBinding& binding : ControlBindings()) {
        for (const auto pressed : binding.pressed)
            if (pressed) pressed(*this)->installEventFilter(this);
        // A button's panel is covered by its picture; should a press land on
        // the panel itself, it must not reach the page below and move the
        // page control.
        if (binding.picture) binding.control(*this)->setAttribute(Qt::WA_NoMousePropagation);
    }
    Skin->installEventFilter(this);
}

int TF::pressedComponent(const QObject* watched)
{
    const auto bindings = ControlBindings();
    for (std::size_t index = 0; index < bindings.size(); ++index)
        for (const auto pressed : bindings[index].pressed)
            if (pressed && pressed(*this) == watched) return int(index);
    return -1;
}

bool TF::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::ContextMenu)
        return QWidget::eventFilter(watched, event);
    const int index = pressedComponent(watched);
    if (index < 0 && watched != Skin) return QWidget::eventFilter(watched, event);
    // A right press moves like any other, so no control offers a menu.
    if (type == QEvent::ContextMenu) return true;
    // The second press of a double click counts as a press like the first.
    auto* press = static_cast<QMouseEvent*>(event);
    auto* sender = static_cast<QWidget*>(watched);
    if (index < 0)
        SkinMouseDown(sender, press);
    else
        ComponentMouseDown(index, sender, press);
    return true;
}

void TF::ComponentMouseDown(int index, QWidget* sender, QMouseEvent* event)
{
    const ControlBinding& binding = ControlBindings()[std::size_t(index)];
    if (SelectComponent) SelectComponent(index);
    if (!binding.anyButtonMoves && event->button() != Qt::LeftButton) return;
    Move->startControl(binding.control(*this), sender, *event);
}

void TF::SkinMouseDown(QWidget* sender, QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    // The window system moves the window where it can, as it does when its
    // title bar is dragged; elsewhere the window follows the pointer here.
    if (QWindow* handle = windowHandle(); handle && handle->startSystemMove()) return;
    Move->startWindow(this, sender, *event);
}

} // namespace fabulor
