#pragma once
// What the description box and the item list share: a frame that is none or
// a sunken single border, and a skin background and font colour kept as the
// skin's own values.

#include "widgets/Colours.h"

#include <QFrame>

namespace fabulor {

enum class BorderStyle { None, Single };

template <typename Frame> class SkinBox : public Frame {
public:
    explicit SkinBox(QWidget* parent = nullptr) : Frame(parent)
    {
        setBorderStyle(BorderStyle::Single);
        setColour(m_colour);
        setFontColour(m_fontColour);
    }

    void setBorderStyle(BorderStyle style)
    {
        this->setFrameStyle(style == BorderStyle::None ? QFrame::NoFrame : QFrame::Panel | QFrame::Sunken);
        this->setLineWidth(2);
    }
    // Flat: no frame.
    bool flat() const { return this->frameShape() == QFrame::NoFrame; }
    void setFlat(bool flat) { setBorderStyle(flat ? BorderStyle::None : BorderStyle::Single); }

    Colour colour() const { return m_colour; }
    void setColour(Colour colour)
    {
        m_colour = colour;
        setRoleColour(this, QPalette::Base, colour);
    }

    Colour fontColour() const { return m_fontColour; }
    void setFontColour(Colour colour)
    {
        m_fontColour = colour;
        setRoleColour(this, QPalette::Text, colour);
    }

private:
    Colour m_colour = 0x80000005u;     // clWindow
    Colour m_fontColour = 0x80000008u; // clWindowText
};

} // namespace fabulor
