#include "JpegPicture.h"

#include "JpegDecoder.h"

namespace fabulor {

struct JpegPicture::Data {
    std::vector<std::uint8_t> bytes;
    JpegHeader header;
    bool decoded = false;
    QImage pixels;
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

JpegPicture DecodeJpegPicture(std::span<const std::uint8_t> bytes)
{
    JpegPicture picture;
    auto data = std::make_shared<JpegPicture::Data>();
    data->header = ReadJpegHeader(bytes);
    data->bytes.assign(bytes.begin(), bytes.end());
    picture.m_data = std::move(data);
    return picture;
}

} // namespace fabulor
