#pragma once
// A Windows bitmap as the program uses it: the window mask and the built-in
// button pictures. Empty (0 x 0) is a valid state, not a failure.

#include <QImage>

#include <cstdint>
#include <span>
#include <string>

namespace fabulor {

class Bitmap {
public:
    Bitmap() = default;
    explicit Bitmap(QImage image) : m_image(std::move(image)) {}

    bool isEmpty() const { return m_image.isNull() || m_image.width() == 0 || m_image.height() == 0; }
    int width() const { return isEmpty() ? 0 : m_image.width(); }
    int height() const { return isEmpty() ? 0 : m_image.height(); }
    // The pixels; palette bitmaps may stay indexed, QImage::pixel resolves them.
    const QImage& image() const { return m_image; }

private:
    QImage m_image;
};

// Reads a whole BMP file's bytes (with its 14-byte file header) into target.
// Empty bytes give an empty bitmap. Throws EInvalidGraphic, also for pixels
// over 256 MiB; on failure target is untouched.
void ReadMaskBitmap(std::span<const std::uint8_t> bytes, Bitmap& target);
// Reads all bytes of the named file, then as above. A file that cannot be
// opened or is no regular file (pipe, device, folder) fails with EFOpenError
// before anything is read; one over 256 MiB with EInvalidGraphic.
void ReadMaskBitmap(const std::string& fileName, Bitmap& target);
// Reads a bitmap that starts at its information header, with no file header
// (how the built-in pictures are kept). Throws EInvalidGraphic.
void ReadBitmapFromInfoHeader(std::span<const std::uint8_t> bytes, Bitmap& target);

} // namespace fabulor
