#pragma once
// The window-shaping component: gives its top-level window the shape of a
// mask bitmap (no decoration) or the plain title-bar look (no shape).
//
// Create it with `new TTransparentForm(window)` from the window's constructor
// and call loaded() at the end of that constructor. It is a Qt child of the
// window, so it goes with the window and then leaves the window alone.
//
// While shaping is off the window has a title bar without buttons and a thin
// frame; the user cannot resize it either way: the component keeps the
// window's minimum and maximum size equal, so code resizes the window with
// QWidget::setFixedSize.

#include "graphics/Bitmap.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace fabulor {

class TTransparentForm : public QObject {
    Q_OBJECT
public:
    // owner: the window itself or any widget on it. Until loaded() is called the
    // window counts as being built, and setting the properties only stores them.
    explicit TTransparentForm(QWidget* owner);
    // While the window lives on: back to the title-bar look with no shape.
    ~TTransparentForm() override;

    bool active() const { return m_active; }
    // On: no decoration, region from the mask (re-shapes even when on already,
    // which is how a newly loaded mask gets applied). Off: title bar, no region.
    void setActive(bool active);

    // The mask bitmap itself. Loading another picture into it changes nothing
    // on screen until setActive() or setMask() is called.
    Bitmap& mask() { return m_mask; }
    const Bitmap& mask() const { return m_mask; }
    void setMask(const Bitmap& mask);

    // The shape the mask gives while shaping is on, as a 1-bit picture of the
    // mask's size made anew (see BuildShapeFromMask): the skin's own, also
    // where it is too intricate for the window to take, which then shows
    // whole. Null: no shape.
    QImage shape() const;

    // On: every re-shaping also gives the window the mask's size.
    void setAutoSize(bool autoSize);

    // Runs once the window has been built: applies the mask, then Active, then AutoSize.
    void loaded();

    QWidget* window() const { return m_window; }

private:
    void applyMaskRegion();
    void setCaptionStyle(bool caption);
    void setWindowSize(int width, int height);

    Bitmap m_mask;
    QPointer<QWidget> m_window;
    bool m_autoSize = false;
    bool m_active = false;
    bool m_building = true;
    bool m_windowDying = false;
};

} // namespace fabulor
