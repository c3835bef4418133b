#pragma once
// An icon-view item list with a skin background and font colour, a frame that
// is none or single, and optionally flat scroll bars: the item list.

#include "widgets/BorderStyle.h"
#include "widgets/Colours.h"

#include <QListWidget>

namespace fabulor {

class ListView : public QListWidget {
    Q_OBJECT
public:
    explicit ListView(QWidget* parent = nullptr);

    BorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(BorderStyle style);

    Colour colour() const { return m_colour; }
    void setColour(Colour colour);

    Colour fontColour() const { return m_fontColour; }
    void setFontColour(Colour colour);

    bool flatScrollBars() const { return m_flatScrollBars; }
    void setFlatScrollBars(bool flat);

private:
    BorderStyle m_borderStyle = BorderStyle::Single;
    Colour m_colour = 0x80000005u;     // clWindow
    Colour m_fontColour = 0x80000008u; // clWindowText
    bool m_flatScrollBars = false;
};

} // namespace fabulor
