#include "preview/MaskAreaOverlay.h"

#include "graphics/Bitmap.h"
#include "graphics/GraphicErrors.h"
#include "pictures/Region.h"
#include "pictures/TransparentForm.h"
#include "preview/PreviewControls.h"
#include "preview/PreviewWindow.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace fabulor {

namespace {

// Whether bits from to to (inclusive) of a Format_MonoLSB row are all set.
bool AllSet(const uchar* row, int from, int to)
{
    const int first = from / 8, last = to / 8;
    const auto head = static_cast<uchar>(0xFFu << (from % 8));
    const auto tail = static_cast<uchar>(0xFFu >> (7 - to % 8));
    if (first == last) return (row[first] & head & tail) == (head & tail);
    if ((row[first] & head) != head || (row[last] & tail) != tail) return false;
    return std::all_of(row + first + 1, row + last, [](uchar b) { return b == 0xFF; });
}

} // namespace

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
    m_shown = QImage();
    if (!bytes.empty()) {
        try {
            Bitmap mask;
            ReadMaskBitmap(std::span<const std::uint8_t>(bytes), mask);
            m_shown = BuildShapeFromMask(mask);
            if (!m_shown.isNull()) m_shown.setColorTable({tint().rgba(), qRgba(0, 0, 0, 0)});
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

bool MaskAreaOverlay::hidesPartOf(const QRect& box) const
{
    if (m_shown.isNull()) return false;
    const QRect within = box.intersected(m_preview.rect());
    if (within.isEmpty()) return false;
    // Beyond the mask's own size lies nothing of a shaped window either.
    if (!m_shown.rect().contains(within)) return true;
    for (int y = within.top(); y <= within.bottom(); ++y)
        if (!AllSet(m_shown.constScanLine(y), within.left(), within.right())) return true;
    return false;
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
    if (m_shown.isNull()) return reaching;
    for (int index = 0; index < int(ComponentCount); ++index) {
        const QRect box = componentBox(index);
        if (!box.isEmpty() && hidesPartOf(box)) reaching.push_back(index);
    }
    return reaching;
}

void MaskAreaOverlay::refresh()
{
    // A shaped window shows the cut itself.
    const bool show = m_on && !m_preview.Mask->active() && !m_shown.isNull();
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

void MaskAreaOverlay::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    // The hidden pixels come tinted in the mask's 1-bit picture, so only the
    // part to be painted is drawn, without a clip; past the mask's size all
    // is hidden.
    const QRect exposed = event->rect();
    const QRect inMask = exposed.intersected(m_shown.rect());
    if (!inMask.isEmpty()) painter.drawImage(inMask.topLeft(), m_shown, inMask);
    for (const QRect& beyond : QRegion(exposed).subtracted(m_shown.rect()))
        painter.fillRect(beyond, tint());
    // Inside the box, two pixels wide, so that a box at the window's edge
    // still shows its whole frame.
    painter.setPen(QPen(outline(), 2));
    painter.setBrush(Qt::NoBrush);
    for (const int index : reachingComponents())
        painter.drawRect(QRectF(componentBox(index)).adjusted(1, 1, -1, -1));
}

} // namespace fabulor
