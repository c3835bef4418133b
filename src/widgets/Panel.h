#pragma once
// A flat panel: a coloured area with a centred caption, a border width that
// insets its client child, and optional self-sizing to its single child.
// The preview builds its buttons, picture frame and move strip from it.

#include "widgets/Colours.h"

#include <QPointer>
#include <QWidget>

namespace fabulor {

class Panel : public QWidget {
    Q_OBJECT
    // The appearance the skin gives it (preview/ControlProperties.h).
    Q_PROPERTY(fabulor::Colour colour READ colour WRITE setColour)
    Q_PROPERTY(int borderWidth READ borderWidth WRITE setBorderWidth)
public:
    explicit Panel(QWidget* parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);

    Colour colour() const { return m_colour; }
    void setColour(Colour colour);

    // The inset, in pixels, of the client child inside the panel; the ring it
    // leaves is painted in the panel's colour.
    int borderWidth() const { return m_borderWidth; }
    void setBorderWidth(int width);

    // A child that always fills the panel inside its border.
    void setClientChild(QWidget* child);

    // When on, the panel takes the size of its single child whenever the
    // child's size changes, and keeps the child at its top-left corner.
    void setAutoSizeToChild(QWidget* child);
    // Takes the self-sizing child's size now. Qt tells a hidden widget of a
    // resize only when it is shown, so a child that resizes while hidden
    // calls this directly.
    void fitToChild();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layoutClientChild();

    QString m_caption;
    Colour m_colour = 0x8000000Fu; // clBtnFace
    int m_borderWidth = 0;
    bool m_autoSize = false;
    QPointer<QWidget> m_child;
};

} // namespace fabulor
