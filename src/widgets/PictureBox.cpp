#include "widgets/PictureBox.h"

#include "widgets/Accessibility.h"

#include <QMouseEvent>
#include <QPainter>

namespace fabulor {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    InstallWidgetAccessibility();
    // Whatever the picture leaves uncovered shows the parent behind it.
    setAutoFillBackground(false);
    m_picture.setOnChange([this] { pictureReplaced(); });
}

void PictureBox::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    fitToShown();
}

void PictureBox::fitToShown()
{
    const Picture& picture = shown();
    if (m_autoSize && picture.width() > 0 && picture.height() > 0) resize(picture.width(), picture.height());
}

void PictureBox::setStandIn(std::optional<Picture> standIn)
{
    if (!m_standIn && standIn) m_sizeBeforeStandIn = size();
    const bool leaving = m_standIn && !standIn;
    m_standIn = std::move(standIn);
    fitToShown();
    // A picture with no size of its own gets back the size it had.
    if (leaving && m_autoSize && (m_picture.width() <= 0 || m_picture.height() <= 0))
        resize(m_sizeBeforeStandIn);
    updateGeometry();
    update();
}

void PictureBox::setTransparent(bool transparent)
{
    if (m_transparent == transparent) return;
    m_transparent = transparent;
    update();
}

QSize PictureBox::sizeHint() const
{
    const Picture& picture = shown();
    if (picture.width() > 0 && picture.height() > 0) return {picture.width(), picture.height()};
    return size();
}

void PictureBox::pictureReplaced()
{
    fitToShown();
    updateGeometry();
    update();
    emit pictureChanged();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    const Picture& picture = shown();
    if (m_pixelSource && picture.jpeg() && !picture.jpeg()->decoded() &&
        m_pixelSource->request(*this, *picture.jpeg()))
        return;
    QPainter painter(this);
    picture.draw(painter, QPoint(0, 0), m_transparent);
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    emit pressed(event);
    QWidget::mousePressEvent(event);
}

} // namespace fabulor
