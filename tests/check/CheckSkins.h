#pragma once
// Small skins for the check's tests, made in the test: pictures drawn with
// Qt and stored in a skin document as the editor stores them.

#include "check/SkinCheck.h"
#include "document/HexText.h"
#include "document/IniStore.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <string>

namespace fabulor::testing {

inline std::string Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, format == std::string("JPG") ? 95 : -1);
    return bytes.toStdString();
}

inline std::string Hex(const std::string& bytes)
{
    std::string out;
    AppendHex(out, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    return out;
}

inline std::string JpegHex(int width, int height, QColor colour = Qt::white)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return Hex(Encoded(image, "JPG"));
}

// A mask: black (hidden) ground, the visible rectangle white, and any holes
// black again.
inline std::string MaskHex(QSize size, QRect visible, std::initializer_list<QRect> holes = {},
                           QColor ground = Qt::black, QColor shown = Qt::white)
{
    QImage mask(size, QImage::Format_RGB888);
    mask.fill(ground);
    QPainter painter(&mask);
    painter.fillRect(visible, shown);
    for (const QRect& hole : holes)
        painter.fillRect(hole, ground);
    painter.end();
    return Hex(Encoded(mask, "BMP"));
}

// A shaped skin that breaks no rule: a 623 x 364 mask showing all but a
// 10-pixel frame, a white skin picture of the same size, and two buttons with
// both pictures of their own.
inline IniStore CleanShapedSkin()
{
    IniStore skin;
    skin.writeString("Skin", "En", "1");
    skin.writeString("Skin", "Maska", MaskHex({623, 364}, QRect(10, 10, 603, 344)));
    skin.writeString("Skin", "Skin", JpegHex(623, 364));
    skin.writeString("PClose", "MP1", JpegHex(27, 25, Qt::red));
    skin.writeString("PClose", "MP2", JpegHex(27, 25, Qt::blue));
    skin.writeString("PMenu", "MP1", JpegHex(30, 25, Qt::green));
    skin.writeString("PMenu", "MP2", JpegHex(30, 25, Qt::yellow));
    return skin;
}

// Fonts for tests that must not depend on the machine: three families, one
// of them of fixed sizes, Arial standing in for Helvetica with the same
// widths, and text 6 pixels a character, 14 high.
inline CheckEnvironment FakeEnvironment()
{
    CheckEnvironment environment;
    environment.fontInstalled = [](const std::string& family) {
        return family == "Arial" || family == "Tahoma" || family == "MS Sans Serif";
    };
    environment.fontSubstitute = [](const std::string& family) {
        return family == "Helvetica" ? std::string("Arial") : std::string();
    };
    environment.fontSizes = [](const std::string& family) {
        return family == "MS Sans Serif" ? std::vector<int>{8, 10, 12} : std::vector<int>{};
    };
    environment.measureText = [](const std::string&, int, const std::string& text) {
        const QString characters = QString::fromStdString(text);
        return TextSize{6 * int(characters.size()), 14};
    };
    return environment;
}

} // namespace fabulor::testing
