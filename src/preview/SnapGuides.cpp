#include "preview/SnapGuides.h"

#include <QPainter>

namespace fabulor {

SnapGuides::SnapGuides(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("SnapGuides"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void SnapGuides::showGuides(QWidget* area, std::vector<SnapGuide> guides)
{
    m_guides = std::move(guides);
    if (m_guides.empty() || !area) {
        hide();
        return;
    }
    // One overlay serves every drag: it goes where the dragged control is.
    if (parentWidget() != area) setParent(area);
    setGeometry(area->rect());
    raise();
    show();
    update();
}

void SnapGuides::clear()
{
    m_guides.clear();
    hide();
}

void SnapGuides::paintEvent(QPaintEvent*)
{
    // One pixel wide, in a colour no skin of a gamebook is likely to use.
    QPainter painter(this);
    painter.setPen(QPen(QColor(235, 0, 140), 1));
    for (const SnapGuide& guide : m_guides) {
        if (guide.orientation == Qt::Vertical)
            painter.drawLine(guide.at, guide.from, guide.at, guide.to);
        else
            painter.drawLine(guide.from, guide.at, guide.to, guide.at);
    }
}

} // namespace fabulor
