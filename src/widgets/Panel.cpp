#include "Panel.h"

#include <QEvent>
#include <QPainter>

namespace fabulor {

Panel::Panel(QWidget* parent) : QWidget(parent) {}

void Panel::setCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

void Panel::setColour(Colour colour)
{
    m_colour = colour;
    update();
}

void Panel::setBorderWidth(int width)
{
    m_borderWidth = width;
    layoutClientChild();
    update();
}

void Panel::setClientChild(QWidget* child)
{
    m_autoSize = false;
    m_child = child;
    layoutClientChild();
}

void Panel::setAutoSizeToChild(QWidget* child)
{
    if (m_child) m_child->removeEventFilter(this);
    m_autoSize = true;
    m_child = child;
    child->installEventFilter(this);
    child->move(0, 0);
    resize(child->size());
}

void Panel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(m_colour, palette()));
    if (!m_caption.isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect(), Qt::AlignCenter, m_caption);
    }
}

void Panel::resizeEvent(QResizeEvent*)
{
    layoutClientChild();
}

bool Panel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_child && event->type() == QEvent::Resize) fitToChild();
    return QWidget::eventFilter(watched, event);
}

void Panel::fitToChild()
{
    if (m_autoSize && m_child) resize(m_child->size());
}

void Panel::layoutClientChild()
{
    if (m_child && !m_autoSize) {
        const int b = m_borderWidth;
        m_child->setGeometry(rect().adjusted(b, b, -b, -b));
    }
}

} // namespace fabulor
