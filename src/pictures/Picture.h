#pragma once
// What a picture box shows: nothing, a JPEG picture or a bitmap. A value:
// a box keeps its own copy, so a decoder's object can go at once.

#include "graphics/Bitmap.h"
#include "graphics/JpegPicture.h"

#include <QImage>
#include <QPoint>

#include <functional>
#include <variant>

class QPainter;

namespace fabulor {

class Picture {
public:
    enum class Kind { None, Jpeg, Bitmap };

    Picture() = default;
    // Copies take the content only; the change callback stays with its owner.
    Picture(const Picture& other) : m_content(other.m_content) {}
    Picture& operator=(const Picture& other);

    Kind kind() const { return static_cast<Kind>(m_content.index()); }
    const JpegPicture* jpeg() const { return std::get_if<JpegPicture>(&m_content); }
    const Bitmap* bitmap() const { return std::get_if<Bitmap>(&m_content); }

    // The natural size; 0 x 0 for no picture or an empty bitmap.
    int width() const;
    int height() const;

    void clear();
    void assign(JpegPicture jpeg);
    void assign(Bitmap bitmap);

    // Draws at natural size with its top-left corner at `at`. Transparent
    // drawing leaves out every bitmap pixel of the bottom-left pixel's colour;
    // a JPEG picture is always drawn opaque.
    void draw(QPainter& painter, QPoint at, bool transparent) const;

    // Called after every change of content (a picture box resizes itself).
    void setOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

private:
    void changed();

    std::variant<std::monostate, JpegPicture, Bitmap> m_content;
    std::function<void()> m_onChange;
    mutable QImage m_keyed; // the bitmap with its key colour see-through, made on first use
};

// The bitmap's pixels with every pixel of the bottom-left pixel's 24-bit
// colour made fully transparent.
QImage KeyOutBottomLeftColour(const QImage& image);

} // namespace fabulor
