#include "Memo.h"

namespace fabulor {

Memo::Memo(QWidget* parent) : QPlainTextEdit(parent)
{
    setBorderStyle(m_borderStyle);
    setColour(m_colour);
    setFontColour(m_fontColour);
}

void Memo::setBorderStyle(BorderStyle style)
{
    m_borderStyle = style;
    setFrameStyle(style == BorderStyle::None ? QFrame::NoFrame : QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
}

void Memo::setColour(Colour colour)
{
    m_colour = colour;
    setRoleColour(this, QPalette::Base, colour);
}

void Memo::setFontColour(Colour colour)
{
    m_fontColour = colour;
    setRoleColour(this, QPalette::Text, colour);
}

} // namespace fabulor
