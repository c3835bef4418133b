#pragma once
// A JPEG picture: the header facts are read at once, the pixels on first use.

#include <QImage>
#include <QSize>

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace fabulor {

class PictureBudget;
struct JpegPictureData;

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
    // Whether the pixels are known already: pixels() would not decode.
    bool decoded() const;
    // The memory the pixels take once decoded.
    std::uint64_t pixelBytes() const;
    // The pixels when known, otherwise the picture decoded at the smallest
    // scale the decoder offers that still covers atLeast; for small views of
    // pictures that may be large. Nothing is kept.
    QImage preview(QSize atLeast) const;

    // Decoding the pixels away from the thread that draws the picture: run
    // may be called on any thread and touches nothing but the picture's
    // bytes; place, on the drawing thread, makes its result the pixels of
    // the picture and of every copy of it.
    class PixelJob {
    public:
        // Null once stop is set, or when the picture is gone.
        QImage run(const std::atomic<bool>* stop) const;
        void place(QImage pixels) const;
        // The picture the job decodes: equal for all its copies.
        const void* picture() const;

    private:
        friend class JpegPicture;
        std::shared_ptr<JpegPictureData> m_data;
    };
    PixelJob pixelJob() const;

private:
    friend JpegPicture DecodeJpegPicture(std::span<const std::uint8_t> bytes);
    friend JpegPicture DecodeJpegPicture(std::span<const std::uint8_t> bytes,
                                         const std::shared_ptr<PictureBudget>& budget);
    std::shared_ptr<JpegPictureData> m_data; // copies share the bytes and the decoded pixels
};

// Reads the header of a JPEG picture held in bytes. Throws EJPEG with the
// library's message code when the bytes are empty or the header is not valid.
JpegPicture DecodeJpegPicture(std::span<const std::uint8_t> bytes);
// The same, with the picture's pixels counted against budget from now until
// the picture and its last copy are gone (whether they are ever decoded or
// not). Throws EPictureBudget when they would not fit.
JpegPicture DecodeJpegPicture(std::span<const std::uint8_t> bytes,
                              const std::shared_ptr<PictureBudget>& budget);

} // namespace fabulor
