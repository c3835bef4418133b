#pragma once
// A JPEG picture: the header facts are read at once, the pixels on first use.

#include <QImage>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace fabulor {

class JpegPicture {
public:
    int width() const;
    int height() const;
    bool greyscale() const;
    bool progressive() const;
    // Decodes the pixels on the first call and keeps them (24-bit colour, or
    // 8-bit grey with at most 236 levels). The reference stays valid while
    // this picture or a copy of it lives.
    const QImage& pixels() const;

private:
    friend JpegPicture DecodeJpegPicture(std::span<const std::uint8_t> bytes);
    struct Data;
    std::shared_ptr<Data> m_data; // copies share the bytes and the decoded pixels
};

// Reads the header of a JPEG picture held in bytes. Throws EJPEG with the
// library's message code when the bytes are empty or the header is not valid.
JpegPicture DecodeJpegPicture(std::span<const std::uint8_t> bytes);

} // namespace fabulor
