#pragma once
// A caption that always takes the size of its text in its current font and
// paints it in a skin font colour; the preview's path and message labels.

#include "widgets/Colours.h"

#include <QWidget>

namespace fabulor {

class StaticText : public QWidget {
    Q_OBJECT
    // The appearance the skin gives it (preview/ControlProperties.h).
    Q_PROPERTY(fabulor::Colour fontColour READ fontColour WRITE setFontColour)
public:
    explicit StaticText(const QString& text, QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);

    Colour fontColour() const { return m_fontColour; }
    void setFontColour(Colour colour);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fitToText();

    QString m_text;
    Colour m_fontColour = 0x80000008u; // clWindowText
};

} // namespace fabulor
