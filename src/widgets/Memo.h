#pragma once
// A multi-line text box with a skin background and font colour and a frame
// that is either none or a sunken single border: the description box.

#include "widgets/BorderStyle.h"
#include "widgets/Colours.h"

#include <QPlainTextEdit>

namespace fabulor {

class Memo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit Memo(QWidget* parent = nullptr);

    BorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(BorderStyle style);

    Colour colour() const { return m_colour; }
    void setColour(Colour colour);

    Colour fontColour() const { return m_fontColour; }
    void setFontColour(Colour colour);

private:
    BorderStyle m_borderStyle = BorderStyle::Single;
    Colour m_colour = 0x80000005u;     // clWindow
    Colour m_fontColour = 0x80000008u; // clWindowText
};

} // namespace fabulor
