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
    if (autoSize && m_picture.width() > 0 && m_picture.height() > 0)
        resize(m_picture.width(), m_picture.height());
}

void PictureBox::setTransparent(bool transparent)
{
    if (m_transparent == transparent) return;
    m_transparent = transparent;
    update();
}

QSize PictureBox::sizeHint() const
{
    if (m_picture.width() > 0 && m_picture.height() > 0) return {m_picture.width(), m_picture.height()};
    return size();
}

void PictureBox::pictureReplaced()
{
    if (m_autoSize && m_picture.width() > 0 && m_picture.height() > 0)
        resize(m_picture.width(), m_picture.height());
    updateGeometry();
    update();
    emit pictureChanged();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_picture.draw(painter, QPoint(0, 0), m_transparent);
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    emit pressed(event);
    QWidget::mousePressEvent(event);
}

} // namespace fabulor
