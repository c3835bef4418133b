#include "preview/InteractiveMove.h"

#include "preview/SnapGuides.h"
#include "preview/Snapping.h"

#include <QMouseEvent>
#include <QToolTip>
#include <QWidget>

#include <algorithm>

namespace fabulor {

InteractiveMove::InteractiveMove(QObject* parent) : QObject(parent) {}

InteractiveMove::~InteractiveMove()
{
    if (m_source) m_source->removeEventFilter(this);
    delete m_guides.data();
}

void InteractiveMove::setSnapTargets(const std::vector<QWidget*>& controls)
{
    m_snapTargets.assign(controls.begin(), controls.end());
}

void InteractiveMove::showPlace(const QWidget& control, const QPoint& global)
{
    QToolTip::showText(global, QStringLiteral("Top: %1  Left: %2").arg(control.y()).arg(control.x()),
                       control.window());
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
    m_neighbours.clear();
    if (!window) {
        QWidget* parent = control->parentWidget();
        m_grab = parent->mapFromGlobal(m_startGlobal) - m_startPos;
        // Components on other pages, or hidden, are not there to line up with.
        for (const QPointer<QWidget>& target : m_snapTargets)
            if (target && target != control && target->parentWidget() == parent && !target->isHidden())
                m_neighbours.push_back(target->geometry());
    }
    // The pressed widget keeps the mouse while the button is down, so every
    // move and the release arrive there.
    source->installEventFilter(this);
    if (!window) emit controlMoveStarted(control);
}

void InteractiveMove::finish()
{
    if (m_source) m_source->removeEventFilter(this);
    if (m_control && m_dragged) QToolTip::hideText();
    if (m_guides) m_guides->clear();
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
        follow(mouse->globalPosition().toPoint(), mouse->modifiers(), true);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == m_button) {
            follow(mouse->globalPosition().toPoint(), mouse->modifiers(), false);
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

void InteractiveMove::follow(const QPoint& global, Qt::KeyboardModifiers modifiers, bool dragging)
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
    QPoint to = pointer - m_grab;
    m_dragged = m_dragged || global != m_startGlobal;
    // A press that stays put leaves the control where it was, however near
    // a line it lies; Alt lets it go anywhere.
    std::vector<SnapGuide> lines;
    if (m_dragged && !(modifiers & Qt::AltModifier)) {
        Snapped snapped = Snap(QRect(to, m_control->size()), m_neighbours, area);
        to = snapped.position;
        lines = std::move(snapped.guides);
    }
    if (to != m_control->pos()) m_control->move(to);
    if (!dragging) return;
    if (!m_guides) m_guides = new SnapGuides(parent);
    m_guides->showGuides(parent, std::move(lines));
    // The place shows from the first movement on; a press that stays put
    // shows nothing.
    if (m_dragged) showPlace(*m_control, global);
}

} // namespace fabulor
