#include "preview/MaskAreaOverlay.h"

#include "graphics/Bitmap.h"
#include "graphics/GraphicErrors.h"
#include "pictures/Region.h"
#include "pictures/TransparentForm.h"
#include "preview/PreviewControls.h"
#include "preview/PreviewWindow.h"

#include <QEvent>
#include <QPainter>

namespace fabulor {

MaskAreaOverlay::MaskAreaOverlay(TF& preview) : QWidget(&preview), m_preview(preview)
{
    setObjectName(QStringLiteral("MaskArea"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    // The window's size and every component's place, size and visibility
    // (pages of the page control come and go) change what is marked. The
    // controls' ancestors below the window are watched too: moving the page
    // control moves what lies on it.
    preview.installEventFilter(this);
    for (int index = 0; index < int(ComponentCount); ++index)
        for (QWidget* w = ComponentControl(preview, index); w && w != &preview; w = w->parentWidget())
            w->installEventFilter(this);
}

void MaskAreaOverlay::setMaskBytes(const std::vector<std::uint8_t>& bytes)
{
    if (bytes == m_maskBytes) return;
    m_maskBytes = bytes;
    m_region = QRegion();
    if (!bytes.empty()) {
        try {
            Bitmap mask;
            ReadMaskBitmap(std::span<const std::uint8_t>(bytes), mask);
            m_region = BuildRegionFromMask(mask);
        } catch (const EInvalidGraphic&) {
            // A mask that does not decode shapes nothing, so hides nothing.
        }
    }
    refresh();
}

void MaskAreaOverlay::setOn(bool on)
{
    m_on = on;
    refresh();
}

QRegion MaskAreaOverlay::hiddenArea() const
{
    if (m_region.isEmpty()) return {};
    // Beyond the mask's own size lies nothing of a shaped window either.
    return QRegion(m_preview.rect()).subtracted(m_region);
}

QRect MaskAreaOverlay::componentBox(int index) const
{
    QWidget* control = ComponentControl(m_preview, index);
    if (!control || !control->isVisibleTo(&m_preview)) return {};
    return QRect(control->mapTo(&m_preview, QPoint(0, 0)), control->size());
}

std::vector<int> MaskAreaOverlay::reachingComponents() const
{
    std::vector<int> reaching;
    const QRegion hidden = hiddenArea();
    if (hidden.isEmpty()) return reaching;
    for (int index = 0; index < int(ComponentCount); ++index) {
        const QRect box = componentBox(index);
        if (!box.isEmpty() && hidden.intersects(box)) reaching.push_back(index);
    }
    return reaching;
}

void MaskAreaOverlay::refresh()
{
    // A shaped window shows the cut itself.
    const bool show = m_on && !m_preview.Mask->active() && !m_region.isEmpty();
    if (!show) {
        hide();
        return;
    }
    setGeometry(m_preview.rect());
    raise();
    QWidget::show();
    update();
}

bool MaskAreaOverlay::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        if (watched == &m_preview && event->type() == QEvent::Resize)
            refresh();
        else if (isVisible())
            update();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

QColor MaskAreaOverlay::tint()
{
    // Dark and see-through: the skin stays readable beneath.
    return QColor(40, 0, 90, 140);
}

QColor MaskAreaOverlay::outline()
{
    return QColor(255, 0, 0);
}

void MaskAreaOverlay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRegion hidden = hiddenArea();
    painter.setClipRegion(hidden);
    painter.fillRect(rect(), tint());
    painter.setClipping(false);
    // Inside the box, two pixels wide, so that a box at the window's edge
    // still shows its whole frame.
    painter.setPen(QPen(outline(), 2));
    painter.setBrush(Qt::NoBrush);
    for (const int index : reachingComponents())
        painter.drawRect(QRectF(componentBox(index)).adjusted(1, 1, -1, -1));
}

} // namespace fabulor
