#include "ListView.h"

#include <QScrollBar>

namespace fabulor {

ListView::ListView(QWidget* parent) : QListWidget(parent)
{
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setWordWrap(true);
    setBorderStyle(m_borderStyle);
    setColour(m_colour);
    setFontColour(m_fontColour);
}

void ListView::setBorderStyle(BorderStyle style)
{
    m_borderStyle = style;
    setFrameStyle(style == BorderStyle::None ? QFrame::NoFrame : QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
}

void ListView::setColour(Colour colour)
{
    m_colour = colour;
    setRoleColour(this, QPalette::Base, colour);
}

void ListView::setFontColour(Colour colour)
{
    m_fontColour = colour;
    setRoleColour(this, QPalette::Text, colour);
}

void ListView::setFlatScrollBars(bool flat)
{
    m_flatScrollBars = flat;
    // Flat bars: a plain groove and handle without the bevelled 3D look.
    const QString sheet = flat ? QStringLiteral("QScrollBar { background: palette(window); border: none; }"
                                                "QScrollBar::handle { background: palette(mid); border: none; }"
                                                "QScrollBar::add-line, QScrollBar::sub-line { border: none; }")
                               : QString();
    verticalScrollBar()->setStyleSheet(sheet);
    horizontalScrollBar()->setStyleSheet(sheet);
}

} // namespace fabulor
