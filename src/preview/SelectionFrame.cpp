#include "preview/SelectionFrame.h"

#include <QEvent>
#include <QPainter>

namespace fabulor {

SelectionFrame::SelectionFrame(QWidget* window) : QWidget(window)
{
    setObjectName(QStringLiteral("SelectionFrame"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void SelectionFrame::follow(QWidget* control)
{
    watch(false);
    m_target = control;
    watch(true);
    raise();
    track();
}

void SelectionFrame::watch(bool on)
{
    if (!on) {
        for (const QPointer<QWidget>& w : m_watched)
            if (w) w->removeEventFilter(this);
        m_watched.clear();
        return;
    }
    // Moving, resizing or hiding any ancestor (a page of the page control,
    // the page control itself) moves or hides the control on the window.
    for (QWidget* w = m_target; w && w != parentWidget(); w = w->parentWidget()) {
        w->installEventFilter(this);
        m_watched.emplace_back(w);
    }
}

bool SelectionFrame::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        track();
        break;
    case QEvent::ParentChange:
        // Not from inside the filter list Qt is walking right now.
        QMetaObject::invokeMethod(
            this, [this] { follow(m_target); }, Qt::QueuedConnection);
        break;
    default:
        break;
    }
    return false;
}

void SelectionFrame::track()
{
    QWidget* window = parentWidget();
    if (!m_target || !window || !m_target->isVisibleTo(window)) {
        hide();
        return;
    }
    const QRect area(m_target->mapTo(window, QPoint(0, 0)), m_target->size());
    setGeometry(area.adjusted(-Margin, -Margin, Margin, Margin));
    if (isHidden()) {
        raise();
        show();
    }
    update();
}

void SelectionFrame::paintEvent(QPaintEvent*)
{
    // A dark dashed line on a light one reads on any skin colour.
    QPainter painter(this);
    const QRect outer = rect().adjusted(0, 0, -1, -1);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(outer);
    painter.drawRect(outer.adjusted(1, 1, -1, -1));
    QPen dashes(QColor(0, 90, 200), 1, Qt::DashLine);
    painter.setPen(dashes);
    painter.drawRect(outer);
    painter.drawRect(outer.adjusted(1, 1, -1, -1));
}

} // namespace fabulor
