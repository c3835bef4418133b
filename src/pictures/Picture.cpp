#include "pictures/Picture.h"

#include <QPainter>

namespace fabulor {

Picture& Picture::operator=(const Picture& other)
{
    if (this != &other) {
        m_content = other.m_content;
        changed();
    }
    return *this;
}

int Picture::width() const
{
    if (const JpegPicture* j = jpeg()) return j->width();
    if (const Bitmap* b = bitmap()) return b->width();
    return 0;
}

int Picture::height() const
{
    if (const JpegPicture* j = jpeg()) return j->height();
    if (const Bitmap* b = bitmap()) return b->height();
    return 0;
}

void Picture::clear()
{
    m_content = std::monostate{};
    changed();
}

void Picture::assign(JpegPicture jpeg)
{
    m_content = std::move(jpeg);
    changed();
}

void Picture::assign(Bitmap bitmap)
{
    m_content = std::move(bitmap);
    changed();
}

void Picture::changed()
{
    m_keyed = QImage();
    if (m_onChange) m_onChange();
}

void Picture::draw(QPainter& painter, QPoint at, bool transparent) const
{
    if (const JpegPicture* j = jpeg()) {
        // Pixels are decoded here, on first drawing. A picture whose data
        // fails fatally decodes to nothing, and nothing is drawn.
        const QImage& pixels = j->pixels();
        if (!pixels.isNull()) painter.drawImage(at, pixels);
        return;
    }
    const Bitmap* b = bitmap();
    if (!b || b->isEmpty()) return;
    if (!transparent) {
        painter.drawImage(at, b->image());
        return;
    }
    if (m_keyed.isNull()) m_keyed = KeyOutBottomLeftColour(b->image());
    painter.drawImage(at, m_keyed);
}

QImage KeyOutBottomLeftColour(const QImage& image)
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0) return {};
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = out.pixel(0, out.height() - 1) & 0x00FFFFFF;
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((row[x] & 0x00FFFFFF) == key)
                row[x] = 0;
            else
                row[x] |= 0xFF000000; // the rest is opaque, whatever alpha the file had
    }
    return out;
}

} // namespace fabulor
