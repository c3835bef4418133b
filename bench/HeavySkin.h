#pragma once
// A heavy skin for the benchmarks that run the whole program: fifteen JPEG
// pictures of about 600 KB (one for the background, fourteen for the
// buttons' mouse-out pictures) and a 623 x 364 mask, which shapes the window
// (En=1). Noise pictures, so that JPEG cannot make them small.

#include "document/HexText.h"
#include "document/IniStore.h"
#include "document/SkinSchema.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace fabulor::bench {

inline std::string JpegOfAbout600KB(int seed)
{
    QImage image(1100, 800, QImage::Format_RGB32);
    QRandomGenerator random{quint32(seed)};
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = random.generate() | 0xFF000000u;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 80);
    return bytes.toStdString();
}

inline std::string MaskBitmap()
{
    QImage mask(623, 364, QImage::Format_RGB888);
    mask.fill(Qt::black);
    QPainter painter(&mask);
    painter.setBrush(Qt::white);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(mask.rect().adjusted(10, 10, -10, -10));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    mask.save(&buffer, "BMP");
    return bytes.toStdString();
}

inline std::string Hex(const std::string& bytes)
{
    std::string out;
    AppendHex(out, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    return out;
}

struct HeavySkin {
    std::vector<std::string> pictureHex;
    IniStore document;

    HeavySkin()
    {
        const std::string mask = MaskBitmap();
        document.writeString("Skin", "En", "1");
        document.writeString("Skin", "Maska", Hex(mask));
        for (int i = 0; i < 15; ++i)
            pictureHex.push_back(Hex(JpegOfAbout600KB(i)));
        document.writeString("Skin", "Skin", pictureHex[0]);
        std::size_t picture = 1;
        for (int index = FirstButtonIndex; index <= LastButtonIndex; ++index)
            document.writeString(SkinComponents()[std::size_t(index)].section, "MP1", pictureHex[picture++]);
    }
};

// Made once per process: the pictures take a while to encode.
inline const HeavySkin& TheHeavySkin()
{
    static const HeavySkin skin;
    return skin;
}

} // namespace fabulor::bench
