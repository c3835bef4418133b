#include "preview/InteractiveMove.h"

#include <QMouseEvent>
#include <QToolTip>
#include <QWidget>

#include <algorithm>

namespace fabulor {

InteractiveMove::InteractiveMove(QObject* parent) : QObject(parent) {}

InteractiveMove::~InteractiveMove()
{
    if (m_source) m_source->removeEventFilter(this);
}

void InteractiveMove::startControl(QWidget* control, QWidget* source, const QMouseEvent& press)
{
    start(control, source, press, false);
}

void InteractiveMove::startWindow(QWidget* window, QWidget* source, const QMouseEvent& press)
{
    start(window, source, press, true);
}

void InteractiveMove::start(QWidget* control, QWidget* source, const QMouseEvent& press, bool window)
{
    finish();
    if (!control || !source || (!window && !control->parentWidget())) return;
    m_control = control;
    m_source = source;
    m_button = press.button();
    m_window = window;
    m_startPos = control->pos();
    m_startGlobal = press.globalPosition().toPoint();
    if (!window) m_grab = control->parentWidget()->mapFromGlobal(m_startGlobal) - m_startPos;
    // The pressed widget keeps the mouse while the button is down, so every
    // move and the release arrive there.
    source->installEventFilter(this);
    if (!window) emit controlMoveStarted(control);
}

void InteractiveMove::finish()
{
    if (m_source) m_source->removeEventFilter(this);
    if (m_control && m_dragged) QToolTip::hideText();
    QWidget* const moved = m_window ? nullptr : m_control.data();
    m_dragged = false;
    m_control = nullptr;
    m_source = nullptr;
    if (moved) emit controlMoveFinished(moved);
}

bool InteractiveMove::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_source || !m_control) return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // A release we never saw (another window took the mouse) ends it.
        if (!(mouse->buttons() & m_button)) {
            finish();
            return false;
        }
        follow(mouse->globalPosition().toPoint(), true);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == m_button) {
            follow(mouse->globalPosition().toPoint(), false);
            finish();
        }
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // A new press of our own button (or any press while it is up) means
        // its release never reached us, the window system having taken the
        // mouse away: the old move is over and this press starts afresh.
        // Another button pressed meanwhile changes nothing.
        if (const auto* press = static_cast<QMouseEvent*>(event);
            press->button() == m_button || !(press->buttons() & m_button)) {
            finish();
            return false;
        }
        return true;
    case QEvent::Hide:
        finish();
        return false;
    default:
        return false;
    }
}

void InteractiveMove::follow(const QPoint& global, bool showPlace)
{
    if (m_window) {
        m_control->move(m_startPos + (global - m_startGlobal));
        return;
    }
    // As the window system does for a child window, the pointer stays inside
    // the parent: however far it goes, the grabbed point of the control stays
    // in reach, so a control can be dragged partly but never wholly out.
    QWidget* parent = m_control->parentWidget();
    QPoint pointer = parent->mapFromGlobal(global);
    const QRect area = parent->rect();
    pointer.setX(std::clamp(pointer.x(), area.left(), std::max(area.left(), area.right())));
    pointer.setY(std::clamp(pointer.y(), area.top(), std::max(area.top(), area.bottom())));
    const QPoint to = pointer - m_grab;
    if (to != m_control->pos()) m_control->move(to);
    // The place shows from the first movement on; a press that stays put
    // shows nothing.
    m_dragged = m_dragged || global != m_startGlobal;
    if (showPlace && m_dragged)
        QToolTip::showText(global, QStringLiteral("Top: %1  Left: %2").arg(to.y()).arg(to.x()),
                           m_control->window());
}

} // namespace fabulor
