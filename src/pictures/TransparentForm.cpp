#include "pictures/TransparentForm.h"

#include "pictures/Region.h"
#include "pictures/ShapeLimit.h"

#include <QWidget>

#include <algorithm>

namespace fabulor {

namespace {

// Every flag that decides the frame and the title bar's buttons; the window
// type and other hints (stay on top, for one) are left as they are.
constexpr Qt::WindowFlags kDecorationFlags =
    Qt::FramelessWindowHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint |
    Qt::WindowContextHelpButtonHint | Qt::WindowShadeButtonHint;

} // namespace

TTransparentForm::TTransparentForm(QWidget* owner)
    : QObject(owner), m_window(owner ? owner->window() : nullptr)
{
    // QWidget announces its destruction before it deletes its children, so by
    // the time this component goes with its window we know not to touch it.
    if (m_window) connect(m_window, &QObject::destroyed, this, [this] { m_windowDying = true; });
}

TTransparentForm::~TTransparentForm()
{
    if (m_window && !m_windowDying) {
        setCaptionStyle(true);
        m_window->clearMask();
    }
}

void TTransparentForm::setActive(bool active)
{
    m_active = active;
    if (m_building || !m_window) return;
    if (active) {
        setCaptionStyle(false);
        applyMaskRegion();
    } else {
        setCaptionStyle(true);
        m_window->clearMask();
    }
}

void TTransparentForm::setMask(const Bitmap& mask)
{
    if (&mask != &m_mask) m_mask = mask;
    if (m_building || !m_window) return;
    if (m_active)
        applyMaskRegion();
    else
        m_window->clearMask();
}

QImage TTransparentForm::shape() const
{
    return m_active ? BuildShapeFromMask(m_mask) : QImage();
}

void TTransparentForm::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    if (autoSize && m_active && !m_building && m_window) setWindowSize(m_mask.width(), m_mask.height());
}

void TTransparentForm::loaded()
{
    m_building = false;
    setMask(m_mask);
    setActive(m_active);
    setAutoSize(m_autoSize);
}

void TTransparentForm::applyMaskRegion()
{
    // An empty region clears the window's mask: no region, the whole window
    // shows. So does a region too intricate for the window to take.
    QRegion region = BuildRegionFromMask(m_mask, MostShapeRectangles(m_mask.width()));
    if (!WindowTakesShape(region)) region = QRegion();
    m_window->setMask(region);
    m_window->update();
    if (m_autoSize) setWindowSize(m_mask.width(), m_mask.height());
}

void TTransparentForm::setCaptionStyle(bool caption)
{
    const Qt::WindowFlags old = m_window->windowFlags();
    Qt::WindowFlags flags = (old & ~kDecorationFlags) | Qt::Window;
    if (caption)
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint; // a title bar without buttons
    else
        flags |= Qt::FramelessWindowHint;
    if (flags != old) {
        // Changing the flags takes the window off the screen. It comes back
        // with its client area where it was: dropping the frame keeps the
        // content in place, and giving it back puts the frame around the
        // same content, so a full cycle leaves the window where it was.
        // A window not shown yet keeps the place it was given, frame included.
        const bool visible = m_window->isVisible();
        const QRect client = m_window->geometry();
        const QPoint position = m_window->pos();
        m_window->setWindowFlags(flags);
        if (visible)
            m_window->setGeometry(client);
        else
            m_window->move(position);
        if (visible) {
            // Shown again as it was, without taking the focus from whatever
            // control switched the shape.
            const bool quiet = m_window->testAttribute(Qt::WA_ShowWithoutActivating);
            m_window->setAttribute(Qt::WA_ShowWithoutActivating, true);
            m_window->show();
            m_window->setAttribute(Qt::WA_ShowWithoutActivating, quiet);
        }
    }
    // Never resizable by the user.
    m_window->setFixedSize(m_window->size());
}

void TTransparentForm::setWindowSize(int width, int height)
{
    // An empty mask asks for nothing, but a window of no pixels leaves the
    // screen and takes the focus when it comes back: one pixel keeps it there.
    m_window->setFixedSize(std::max(width, 1), std::max(height, 1));
}

} // namespace fabulor
