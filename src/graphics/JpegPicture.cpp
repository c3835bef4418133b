#include "JpegPicture.h"

#include "GraphicErrors.h"
#include "JpegDecoder.h"
#include "PictureBudget.h"

namespace fabulor {

// The bytes and header never change once read, so a decode on another
// thread may read them; the pixels are written on the drawing thread only.
struct JpegPictureData {
    JpegPictureData() = default;
    JpegPictureData(const JpegPictureData&) = delete;
    JpegPictureData& operator=(const JpegPictureData&) = delete;
    ~JpegPictureData()
    {
        if (budget) budget->release(reserved);
    }

    std::vector<std::uint8_t> bytes;
    JpegHeader header;
    bool decoded = false;
    QImage pixels;
    std::shared_ptr<PictureBudget> budget;
    std::uint64_t reserved = 0;
};

int JpegPicture::width() const
{
    return m_data ? m_data->header.width : 0;
}
int JpegPicture::height() const
{
    return m_data ? m_data->header.height : 0;
}
bool JpegPicture::greyscale() const
{
    return m_data && m_data->header.greyscale;
}
bool JpegPicture::progressive() const
{
    return m_data && m_data->header.progressive;
}

const QImage& JpegPicture::pixels() const
{
    static const QImage none;
    if (!m_data) return none;
    if (!m_data->decoded) {
        m_data->pixels = DecodeJpegPixels(m_data->bytes, m_data->header);
        m_data->decoded = true;
    }
    return m_data->pixels;
}

bool JpegPicture::decoded() const
{
    return !m_data || m_data->decoded;
}

std::uint64_t JpegPicture::pixelBytes() const
{
    return m_data ? JpegPixelBytes(m_data->header) : 0;
}

QImage JpegPicture::preview(QSize atLeast) const
{
    if (!m_data) return {};
    if (m_data->decoded) return m_data->pixels;
    return DecodeJpegPreview(m_data->bytes, m_data->header, atLeast);
}

JpegPicture::PixelJob JpegPicture::pixelJob() const
{
    PixelJob job;
    job.m_data = m_data;
    return job;
}

QImage JpegPicture::PixelJob::run(const std::atomic<bool>* stop) const
{
    if (!m_data) return {};
    return DecodeJpegPixels(m_data->bytes, m_data->header, stop);
}

void JpegPicture::PixelJob::place(QImage pixels) const
{
    if (!m_data || m_data->decoded) return;
    m_data->pixels = std::move(pixels);
    m_data->decoded = true;
}

const void* JpegPicture::PixelJob::picture() const
{
    return m_data.get();
}

JpegPicture DecodeJpegPicture(std::span<const std::uint8_t> bytes)
{
    JpegPicture picture;
    auto data = std::make_shared<JpegPictureData>();
    data->header = ReadJpegHeader(bytes);
    data->bytes.assign(bytes.begin(), bytes.end());
    picture.m_data = std::move(data);
    return picture;
}

JpegPicture DecodeJpegPicture(std::span<const std::uint8_t> bytes,
                              const std::shared_ptr<PictureBudget>& budget)
{
    if (!budget) return DecodeJpegPicture(bytes);
    auto data = std::make_shared<JpegPictureData>();
    data->header = ReadJpegHeader(bytes);
    const std::uint64_t need = JpegPixelBytes(data->header);
    if (!budget->reserve(need)) throw EPictureBudget();
    // Given back by the data when it goes, from here on.
    data->budget = budget;
    data->reserved = need;
    data->bytes.assign(bytes.begin(), bytes.end());
    JpegPicture picture;
    picture.m_data = std::move(data);
    return picture;
}

} // namespace fabulor
