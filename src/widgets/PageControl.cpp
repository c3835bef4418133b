#include "PageControl.h"

#include <QPainter>
#include <qdrawutil.h>

#include <algorithm>

namespace fabulor {

PageControl::PageControl(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

QWidget* PageControl::addPage(const QString& caption)
{
    auto* page = new QWidget(this);
    page->setObjectName(caption);
    page->setProperty("caption", caption);
    // The tab that would name the page is hidden; a screen reader still can.
    page->setAccessibleName(caption);
    page->setAutoFillBackground(true);
    setRoleColour(page, QPalette::Window, m_colour);
    m_pages.push_back(page);
    if (m_active < 0) m_active = 0;
    layoutPages();
    return page;
}

void PageControl::setActivePageIndex(int index)
{
    if (index < 0 || index >= pageCount()) return;
    m_active = index;
    layoutPages();
}

void PageControl::setClientBorderWidth(int width)
{
    m_borderWidth = width;
    layoutPages();
    update();
}

void PageControl::setColour(Colour colour)
{
    m_colour = colour;
    for (QWidget* page : m_pages)
        setRoleColour(page, QPalette::Window, colour);
    update();
}

QRect PageControl::pageArea() const
{
    // A width past any widget's size insets (or widens) no further: the
    // area's edges stay within what an int holds.
    const int inset = std::clamp(m_borderWidth, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    return rect().adjusted(inset, inset, -inset, -inset);
}

void PageControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor face = toQColor(m_colour, palette());
    painter.fillRect(rect(), face);
    // The raised two-pixel frame of a tab control's display area; a wide page
    // area simply covers it.
    QPalette framePalette = palette();
    framePalette.setColor(QPalette::Button, face);
    qDrawWinPanel(&painter, rect(), framePalette, false);
}

void PageControl::resizeEvent(QResizeEvent*)
{
    layoutPages();
}

void PageControl::layoutPages()
{
    const QRect area = pageArea();
    for (int i = 0; i < pageCount(); ++i) {
        QWidget* p = page(i);
        p->setGeometry(area);
        p->setVisible(i == m_active);
    }
}

} // namespace fabulor
