// Draws the built-in button bitmaps and the item-list pictures that ship in
// the program's resources. The outputs are committed; run this again only
// when a drawing changes (see ../README.md).
//
//   make_builtin_pictures OUTDIR [SHEET.png]
//
// writes OUTDIR/builtin/<NAME> (24-bit bitmaps that start at the 40-byte
// information header, no file header) and OUTDIR/items/<N>.png (32 x 32 with
// alpha). With SHEET.png it also writes every picture enlarged eight times,
// so the drawings can be checked by eye.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// --- Button bitmaps: drawn pixel by pixel, no smoothing, so they stay crisp.

const QRgb kFace = qRgb(0xC0, 0xC0, 0xC0);
const QRgb kHighlight = qRgb(0xFF, 0xFF, 0xFF);
const QRgb kShadow = qRgb(0x80, 0x80, 0x80);
const QRgb kDarkShadow = qRgb(0x00, 0x00, 0x00);
const QRgb kInk = qRgb(0x00, 0x00, 0x00);

// A glyph is a list of rows; 'X' is ink, anything else is left alone.
using Glyph = std::vector<const char*>;

int glyphWidth(const Glyph& g)
{
    int w = 0;
    for (const char* row : g)
        w = std::max(w, static_cast<int>(std::strlen(row)));
    return w;
}

int glyphHeight(const Glyph& g)
{
    return static_cast<int>(g.size());
}

void stamp(QImage& img, const Glyph& g, int left, int top, QRgb colour)
{
    for (int y = 0; y < glyphHeight(g); ++y)
        for (int x = 0; g[static_cast<std::size_t>(y)][x] != '\0'; ++x)
            if (g[static_cast<std::size_t>(y)][x] == 'X') img.setPixel(left + x, top + y, colour);
}

// Turns a glyph by a quarter turn clockwise; used for the four arrows.
std::vector<std::string> rotateClockwise(const std::vector<std::string>& rows)
{
    const int h = static_cast<int>(rows.size());
    const int w = static_cast<int>(rows.front().size());
    std::vector<std::string> out(static_cast<std::size_t>(w), std::string(static_cast<std::size_t>(h), '.'));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out[static_cast<std::size_t>(x)][static_cast<std::size_t>(h - 1 - y)] =
                rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
    return out;
}

Glyph asGlyph(const std::vector<std::string>& rows)
{
    Glyph g;
    for (const std::string& r : rows)
        g.push_back(r.c_str());
    return g;
}

// The classic raised button: white outer top-left edge, black outer
// bottom-right edge, a grey inner shadow on the bottom and right.
QImage raisedButton(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(kFace);
    for (int x = 0; x < w; ++x) {
        img.setPixel(x, 0, kHighlight);
        img.setPixel(x, h - 1, kDarkShadow);
        if (x >= 1 && x <= w - 2) img.setPixel(x, h - 2, kShadow);
    }
    for (int y = 0; y < h; ++y) {
        img.setPixel(0, y, y == h - 1 ? kDarkShadow : kHighlight);
        img.setPixel(w - 1, y, kDarkShadow);
        if (y >= 1 && y <= h - 2) img.setPixel(w - 2, y, kShadow);
    }
    img.setPixel(w - 1, 0, kDarkShadow);
    return img;
}

// Centres a glyph on the button's face (the part inside the edges; the face
// is one pixel narrower on the right and bottom, where the shadow is two deep).
void stampCentred(QImage& img, const Glyph& g, int dx = 0, int dy = 0)
{
    const int faceLeft = 1, faceTop = 1;
    const int faceW = img.width() - 3, faceH = img.height() - 3;
    const int left = faceLeft + (faceW - glyphWidth(g)) / 2 + dx;
    const int top = faceTop + (faceH - glyphHeight(g)) / 2 + dy;
    stamp(img, g, left, top, kInk);
}

// The glyphs are drawn in their rows, so the formatter leaves them alone.
// clang-format off
// Bold digits, eleven rows high with two-pixel stems.
const Glyph kDigit1 = {
    "...XX..",
    "..XXX..",
    ".XXXX..",
    "XX.XX..",
    "...XX..",
    "...XX..",
    "...XX..",
    "...XX..",
    "...XX..",
    "...XX..",
    "XXXXXXX",
};
const Glyph kDigit2 = {
    ".XXXXX.",
    "XXX.XXX",
    "XX...XX",
    ".....XX",
    "....XXX",
    "...XXX.",
    "..XXX..",
    ".XXX...",
    "XXX....",
    "XX.....",
    "XXXXXXX",
};
const Glyph kDigit3 = {
    ".XXXXX.",
    "XXX.XXX",
    "XX...XX",
    ".....XX",
    "...XXX.",
    "...XXX.",
    ".....XX",
    ".....XX",
    "XX...XX",
    "XXX.XXX",
    ".XXXXX.",
};
const Glyph kDigit4 = {
    "....XX.",
    "...XXX.",
    "..XXXX.",
    ".XX.XX.",
    "XX..XX.",
    "XX..XX.",
    "XXXXXXX",
    "XXXXXXX",
    "....XX.",
    "....XX.",
    "....XX.",
};

// Bold capitals, nine rows high, for the wide buttons.
const Glyph kLetterK = {
    "XX...XX",
    "XX..XX.",
    "XX.XX..",
    "XXXX...",
    "XXX....",
    "XXXX...",
    "XX.XX..",
    "XX..XX.",
    "XX...XX",
};
const Glyph kLetterO = {
    "..XXXX..",
    ".XXXXXX.",
    "XX....XX",
    "XX....XX",
    "XX....XX",
    "XX....XX",
    "XX....XX",
    ".XXXXXX.",
    "..XXXX..",
};
const Glyph kLetterN = {
    "XX....XX",
    "XXX...XX",
    "XXXX..XX",
    "XX.X..XX",
    "XX.XX.XX",
    "XX..X.XX",
    "XX..XXXX",
    "XX...XXX",
    "XX....XX",
};
const Glyph kLetterI = {
    "XX", "XX", "XX", "XX", "XX", "XX", "XX", "XX", "XX",
};
const Glyph kLetterE = {
    "XXXXXX",
    "XXXXXX",
    "XX....",
    "XX....",
    "XXXXX.",
    "XX....",
    "XX....",
    "XXXXXX",
    "XXXXXX",
};
const Glyph kLetterC = {
    "..XXXXX",
    ".XXXXXX",
    "XX.....",
    "XX.....",
    "XX.....",
    "XX.....",
    "XX.....",
    ".XXXXXX",
    "..XXXXX",
};

// clang-format on

// Sets a word of glyphs with a fixed gap and centres it on the button.
void stampWord(QImage& img, const std::vector<const Glyph*>& letters, int gap)
{
    int width = 0, height = 0;
    for (const Glyph* g : letters) {
        width += glyphWidth(*g);
        height = std::max(height, glyphHeight(*g));
    }
    width += gap * (static_cast<int>(letters.size()) - 1);
    const int faceW = img.width() - 3, faceH = img.height() - 3;
    int x = 1 + (faceW - width) / 2;
    const int y = 1 + (faceH - height) / 2;
    for (const Glyph* g : letters) {
        stamp(img, *g, x, y, kInk);
        x += glyphWidth(*g) + gap;
    }
}

// clang-format off
const std::vector<std::string> kArrowUp = {
    ".....X.....",
    "....XXX....",
    "...XXXXX...",
    "..XXXXXXX..",
    ".XXXXXXXXX.",
    "XXXXXXXXXXX",
    "....XXX....",
    "....XXX....",
    "....XXX....",
    "....XXX....",
    "....XXX....",
};

const Glyph kMinimise = {
    "XXXXXXXX",
    "XXXXXXXX",
};

const Glyph kTwoChevrons = {
    "XX.....XX",
    "XXX...XXX",
    ".XXX.XXX.",
    "..XXXXX..",
    "...XXX...",
    "....X....",
    "XX.....XX",
    "XXX...XXX",
    ".XXX.XXX.",
    "..XXXXX..",
    "...XXX...",
    "....X....",
};

const Glyph kCross = {
    "XX....XX",
    "XXX..XXX",
    ".XXXXXX.",
    "..XXXX..",
    "..XXXX..",
    ".XXXXXX.",
    "XXX..XXX",
    "XX....XX",
};

// clang-format on

// The warning sign: a yellow triangle with a black rim and a black
// exclamation mark, on pure red. Red is the see-through colour (the
// bottom-left pixel is the key), so nothing here may blend into it.
QImage warningSign()
{
    const QRgb red = qRgb(0xFF, 0x00, 0x00);
    const QRgb yellow = qRgb(0xFF, 0xE0, 0x00);
    const QRgb rim = qRgb(0x00, 0x00, 0x00);
    QImage img(17, 17, QImage::Format_RGB32);
    img.fill(red);
    // Apex on row 1, base on row 15 spanning the full width; row 16 stays red.
    const int halfWidths[] = {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 8};
    for (int i = 0; i < 15; ++i) {
        const int y = 1 + i;
        const int h = halfWidths[i];
        const int prev = i > 0 ? halfWidths[i - 1] : -1;
        for (int x = 8 - h; x <= 8 + h; ++x) {
            // The rim covers the outermost pixel and any pixel the slope
            // newly reached on this row, so the edge is an unbroken line.
            const bool edge = y == 15 || x == 8 - h || x == 8 + h || x < 8 - prev || x > 8 + prev;
            img.setPixel(x, y, edge ? rim : yellow);
        }
    }
    for (int y = 5; y <= 10; ++y)
        img.setPixel(8, y, rim);
    img.setPixel(8, 12, rim);
    img.setPixel(8, 13, rim);
    return img;
}

// Writes the bitmap as 24 bits per pixel, bottom-up rows padded to four bytes,
// preceded by the 40-byte information header and nothing else.
bool writeInfoHeaderBitmap(const QImage& img, const QString& path)
{
    const int w = img.width(), h = img.height();
    const int stride = (w * 3 + 3) & ~3;
    std::vector<std::uint8_t> out;
    auto put16 = [&](std::uint16_t v) {
        out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
    };
    put32(40);
    put32(static_cast<std::uint32_t>(w));
    put32(static_cast<std::uint32_t>(h));
    put16(1);  // planes
    put16(24); // bits per pixel
    put32(0);  // no compression
    put32(static_cast<std::uint32_t>(stride * h));
    put32(0xB12); // 72 dpi, as pixels per metre
    put32(0xB12);
    put32(0); // no colour table
    put32(0);
    for (int y = h - 1; y >= 0; --y) {
        int written = 0;
        for (int x = 0; x < w; ++x) {
            const QRgb p = img.pixel(x, y);
            out.push_back(static_cast<std::uint8_t>(qBlue(p)));
            out.push_back(static_cast<std::uint8_t>(qGreen(p)));
            out.push_back(static_cast<std::uint8_t>(qRed(p)));
            written += 3;
        }
        for (; written < stride; ++written)
            out.push_back(0);
    }
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    return f.write(reinterpret_cast<const char*>(out.data()), static_cast<qint64>(out.size())) ==
           static_cast<qint64>(out.size());
}

struct Named {
    const char* name;
    QImage image;
};

std::vector<Named> buttonBitmaps()
{
    std::vector<Named> all;
    auto small = [] { return raisedButton(27, 25); };

    all.push_back({"BUT", small()});

    QImage m = small();
    stampCentred(m, kMinimise, 0, 5);
    all.push_back({"BUTM", m});

    QImage menu = small();
    stampCentred(menu, kTwoChevrons);
    all.push_back({"BUTMENU", menu});

    const Glyph* digits[] = {&kDigit1, &kDigit2, &kDigit3, &kDigit4};
    const char* digitNames[] = {"BUT1", "BUT2", "BUT3", "BUT4"};
    for (int i = 0; i < 4; ++i) {
        QImage d = small();
        stampCentred(d, *digits[i]);
        all.push_back({digitNames[i], d});
    }

    std::vector<std::string> arrow = kArrowUp;
    const char* arrowNames[] = {"BUTG", "BUTP", "BUTD", "BUTL"}; // up, then each quarter turn clockwise
    for (const char* name : arrowNames) {
        QImage a = small();
        stampCentred(a, asGlyph(arrow));
        all.push_back({name, a});
        arrow = rotateClockwise(arrow);
    }

    QImage end = raisedButton(86, 25);
    stampWord(end, {&kLetterK, &kLetterO, &kLetterN, &kLetterI, &kLetterE, &kLetterC}, 2);
    all.push_back({"BUTEND", end});

    QImage ok = raisedButton(86, 25);
    stampWord(ok, {&kLetterO, &kLetterK}, 2);
    all.push_back({"BUTITEM", ok});

    all.push_back({"BUTUWAGA", warningSign()});

    QImage cross = small();
    stampCentred(cross, kCross);
    all.push_back({"BUTC", cross});
    return all;
}

// --- Item-list pictures: 32 x 32 with alpha, drawn smoothly.

QImage canvas()
{
    QImage img(32, 32, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void beginSmooth(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
}

const QColor kOutline(0x30, 0x28, 0x20);

QImage chewingGum()
{
    QImage img = canvas();
    QPainter p(&img);
    beginSmooth(p);
    // Two wrapped sticks lying side by side, slightly fanned.
    auto stick = [&](qreal angle, qreal dx, QColor wrap, QColor band) {
        p.save();
        p.translate(16 + dx, 16);
        p.rotate(angle);
        const QRectF body(-5, -13, 10, 26);
        p.setPen(QPen(kOutline, 1));
        p.setBrush(wrap);
        p.drawRoundedRect(body, 1.5, 1.5);
        // Silver foil ends.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xD8, 0xDC, 0xE0));
        p.drawRect(QRectF(-4.5, -12.5, 9, 3));
        p.drawRect(QRectF(-4.5, 9.5, 9, 3));
        // Label band.
        p.setBrush(band);
        p.drawRect(QRectF(-4.5, -4, 9, 8));
        p.setBrush(QColor(255, 255, 255, 170));
        p.drawRect(QRectF(-3.5, -9, 1.5, 18));
        p.restore();
    };
    stick(-14, -5, QColor(0x5C, 0xC8, 0x7A), QColor(0x1E, 0x7A, 0x3E));
    stick(12, 6, QColor(0xF2, 0x8C, 0xB8), QColor(0xB0, 0x2A, 0x6A));
    return img;
}

QImage squarePacket()
{
    QImage img = canvas();
    QPainter p(&img);
    beginSmooth(p);
    // A foil packet with crimped edges and the round shape pressed into it.
    const QRectF outer(3.5, 3.5, 25, 25);
    QLinearGradient foil(outer.topLeft(), outer.bottomRight());
    foil.setColorAt(0, QColor(0x9A, 0x6C, 0xD8));
    foil.setColorAt(1, QColor(0x4A, 0x2A, 0x8A));
    p.setPen(QPen(QColor(0x2A, 0x18, 0x50), 1));
    p.setBrush(foil);
    p.drawRect(outer);
    // Crimp marks along the sealed border.
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    for (int i = 0; i < 12; ++i) {
        const qreal t = 5.5 + i * 2;
        p.drawLine(QPointF(t, 4.5), QPointF(t, 6.5));
        p.drawLine(QPointF(t, 25.5), QPointF(t, 27.5));
        p.drawLine(QPointF(4.5, t), QPointF(6.5, t));
        p.drawLine(QPointF(25.5, t), QPointF(27.5, t));
    }
    p.setPen(QPen(QColor(0x2A, 0x18, 0x50, 160), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(7.5, 7.5, 17, 17));
    // The ring.
    p.setPen(QPen(QColor(0xE8, 0xDC, 0xFF), 2));
    p.drawEllipse(QPointF(16, 16), 6, 6);
    p.setPen(QPen(QColor(0x30, 0x1A, 0x60), 1));
    p.drawEllipse(QPointF(16.5, 16.5), 7.5, 7.5);
    return img;
}

QImage creditCard()
{
    QImage img = canvas();
    QPainter p(&img);
    beginSmooth(p);
    const QRectF card(1.5, 6.5, 29, 19);
    QLinearGradient blue(card.topLeft(), card.bottomRight());
    blue.setColorAt(0, QColor(0x3A, 0x7B, 0xD5));
    blue.setColorAt(1, QColor(0x14, 0x3C, 0x8C));
    p.setPen(QPen(QColor(0x0C, 0x24, 0x58), 1));
    p.setBrush(blue);
    p.drawRoundedRect(card, 2.5, 2.5);
    // Chip.
    p.setPen(QPen(QColor(0x8A, 0x6A, 0x10), 1));
    p.setBrush(QColor(0xF0, 0xC8, 0x40));
    p.drawRoundedRect(QRectF(5.5, 11.5, 6, 5), 1, 1);
    p.drawLine(QPointF(5.5, 14), QPointF(11.5, 14));
    p.drawLine(QPointF(8.5, 11.5), QPointF(8.5, 16.5));
    // Card number and holder line.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE8, 0xF0, 0xFF));
    for (int g = 0; g < 4; ++g)
        p.drawRect(QRectF(5 + g * 6, 19, 4.5, 1.5));
    p.setBrush(QColor(0xB8, 0xCC, 0xF0));
    p.drawRect(QRectF(5, 22, 11, 1));
    // A small silvery hologram.
    QLinearGradient holo(QPointF(20, 10), QPointF(27, 16));
    holo.setColorAt(0, QColor(0xF4, 0xF4, 0xFF));
    holo.setColorAt(0.5, QColor(0xB8, 0xD8, 0xE8));
    holo.setColorAt(1, QColor(0xE0, 0xC8, 0xF0));
    p.setPen(QPen(QColor(0x70, 0x80, 0xA0), 0.8));
    p.setBrush(holo);
    p.drawRoundedRect(QRectF(20.5, 10.5, 6.5, 5), 1.2, 1.2);
    return img;
}

QImage hamburger()
{
    QImage img = canvas();
    QPainter p(&img);
    beginSmooth(p);
    const QColor bunEdge(0x7A, 0x44, 0x10);
    // Top bun.
    QPainterPath top;
    top.moveTo(3, 15);
    top.cubicTo(3, 3, 29, 3, 29, 15);
    top.closeSubpath();
    QLinearGradient bun(QPointF(0, 5), QPointF(0, 15));
    bun.setColorAt(0, QColor(0xF0, 0xA8, 0x48));
    bun.setColorAt(1, QColor(0xC8, 0x78, 0x20));
    p.setPen(QPen(bunEdge, 1));
    p.setBrush(bun);
    p.drawPath(top);
    // Sesame seeds.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0xF4, 0xD0));
    const QPointF seeds[] = {{10, 9}, {16, 7}, {22, 9}, {13, 12}, {19, 11.5}, {7, 12.5}, {25, 12.5}};
    for (const QPointF& s : seeds)
        p.drawEllipse(s, 1.1, 0.7);
    // Lettuce.
    QPainterPath leaf;
    leaf.moveTo(2, 15);
    for (int i = 0; i <= 7; ++i)
        leaf.quadTo(2 + i * 4 + 2, i % 2 ? 19 : 18, 2 + (i + 1) * 4, 16.5);
    leaf.lineTo(30, 15);
    leaf.closeSubpath();
    p.setPen(QPen(QColor(0x2E, 0x7A, 0x1E), 1));
    p.setBrush(QColor(0x6C, 0xC8, 0x3A));
    p.drawPath(leaf);
    // Cheese, hanging over one side.
    QPainterPath cheese;
    cheese.moveTo(4, 18);
    cheese.lineTo(28, 18);
    cheese.lineTo(24, 21.5);
    cheese.lineTo(4, 20);
    cheese.closeSubpath();
    p.setPen(QPen(QColor(0xC8, 0x8A, 0x00), 1));
    p.setBrush(QColor(0xFF, 0xCC, 0x20));
    p.drawPath(cheese);
    // Patty.
    p.setPen(QPen(QColor(0x2A, 0x14, 0x08), 1));
    p.setBrush(QColor(0x6A, 0x36, 0x18));
    p.drawRoundedRect(QRectF(3.5, 20, 25, 4.5), 2.2, 2.2);
    // Bottom bun.
    QPainterPath bottom;
    bottom.moveTo(4, 24.5);
    bottom.lineTo(28, 24.5);
    bottom.cubicTo(28, 29, 26, 29, 24, 29);
    bottom.lineTo(8, 29);
    bottom.cubicTo(6, 29, 4, 29, 4, 24.5);
    p.setPen(QPen(bunEdge, 1));
    p.setBrush(QColor(0xE0, 0x98, 0x40));
    p.drawPath(bottom);
    return img;
}

QImage frenchFries()
{
    QImage img = canvas();
    QPainter p(&img);
    beginSmooth(p);
    // Fries behind the carton's front.
    struct Fry {
        qreal x, top, tilt;
    };
    const Fry fries[] = {{9, 7, -2.5}, {12, 4, -1},  {15, 6, 0.5},  {18, 3, 1.5},
                         {21, 5, 2.5}, {24, 8, 3.5}, {13.5, 9, -3}, {19.5, 8, 0}};
    for (const Fry& f : fries) {
        QPainterPath fry;
        fry.moveTo(f.x - 1.6, 18);
        fry.lineTo(f.x - 1.6 + f.tilt * 0.4, f.top);
        fry.lineTo(f.x + 1.6 + f.tilt * 0.4, f.top);
        fry.lineTo(f.x + 1.6, 18);
        fry.closeSubpath();
        p.setPen(QPen(QColor(0xB8, 0x80, 0x10), 0.9));
        p.setBrush(QColor(0xFF, 0xD8, 0x50));
        p.drawPath(fry);
    }
    // The carton: red, narrower at the bottom, with a curved top edge.
    QPainterPath box;
    box.moveTo(5, 13);
    box.quadTo(16, 18, 27, 13);
    box.lineTo(24, 30);
    box.lineTo(8, 30);
    box.closeSubpath();
    QLinearGradient red(QPointF(5, 0), QPointF(27, 0));
    red.setColorAt(0, QColor(0xE8, 0x28, 0x20));
    red.setColorAt(0.5, QColor(0xF8, 0x44, 0x34));
    red.setColorAt(1, QColor(0xB8, 0x14, 0x10));
    p.setPen(QPen(QColor(0x70, 0x08, 0x08), 1));
    p.setBrush(red);
    p.drawPath(box);
    // A white band round the carton.
    QPainterPath band;
    band.moveTo(6.6, 22);
    band.quadTo(16, 24.5, 25.4, 22);
    band.lineTo(25, 24.2);
    band.quadTo(16, 26.7, 7, 24.2);
    band.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0xF0, 0xE0));
    p.drawPath(band);
    return img;
}

QImage frozenFood()
{
    QImage img = canvas();
    QPainter p(&img);
    beginSmooth(p);
    // A ready-meal tray seen from above: foil rim, three compartments, frost.
    const QRectF tray(2.5, 5.5, 27, 21);
    p.setPen(QPen(QColor(0x58, 0x68, 0x78), 1));
    QLinearGradient foil(tray.topLeft(), tray.bottomRight());
    foil.setColorAt(0, QColor(0xF0, 0xF4, 0xF8));
    foil.setColorAt(1, QColor(0xA8, 0xB4, 0xC0));
    p.setBrush(foil);
    p.drawRoundedRect(tray, 3, 3);
    auto compartment = [&](QRectF r, QColor food, QColor edge) {
        p.setPen(QPen(QColor(0x88, 0x96, 0xA4), 1));
        p.setBrush(QColor(0xD8, 0xE0, 0xE8));
        p.drawRoundedRect(r, 2, 2);
        p.setPen(QPen(edge, 0.8));
        p.setBrush(food);
        p.drawRoundedRect(r.adjusted(1.2, 1.2, -1.2, -1.2), 1.5, 1.5);
    };
    compartment(QRectF(4.5, 7.5, 13, 17), QColor(0xC8, 0x60, 0x38), QColor(0x80, 0x30, 0x18)); // meat
    compartment(QRectF(18.5, 7.5, 9, 8), QColor(0x58, 0xB0, 0x40), QColor(0x2A, 0x68, 0x1C));  // peas
    compartment(QRectF(18.5, 16.5, 9, 8), QColor(0xF4, 0xE8, 0xB8), QColor(0xA8, 0x98, 0x60)); // mash
    // Peas.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x88, 0xD8, 0x60));
    const QPointF peas[] = {{21, 10}, {24, 10.5}, {22.5, 12.8}, {25.3, 13}};
    for (const QPointF& pea : peas)
        p.drawEllipse(pea, 1.1, 1.1);
    // Frost: a pale veil and a snowflake.
    p.setBrush(QColor(0xDC, 0xF0, 0xFF, 70));
    p.drawRoundedRect(tray.adjusted(1, 1, -1, -1), 2, 2);
    p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF), 1.4, Qt::SolidLine, Qt::RoundCap));
    const QPointF c(11, 16);
    for (int i = 0; i < 3; ++i) {
        QTransform t;
        t.translate(c.x(), c.y());
        t.rotate(60.0 * i);
        p.drawLine(t.map(QPointF(-5, 0)), t.map(QPointF(5, 0)));
    }
    p.setPen(QPen(QColor(0x40, 0x90, 0xD8), 0.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(QColor(0xFF, 0xFF, 0xFF));
    p.drawEllipse(c, 1.4, 1.4);
    return img;
}

QImage coffeeCup()
{
    QImage img = canvas();
    QPainter p(&img);
    beginSmooth(p);
    const QColor china(0xFA, 0xFA, 0xF6);
    const QColor chinaEdge(0x70, 0x70, 0x78);
    // Saucer.
    p.setPen(QPen(chinaEdge, 1));
    p.setBrush(QColor(0xE6, 0xE6, 0xE2));
    p.drawEllipse(QPointF(16, 26.5), 14, 3.8);
    p.setBrush(china);
    p.drawEllipse(QPointF(16, 26), 9, 2.2);
    // Handle.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(chinaEdge, 4));
    p.drawEllipse(QPointF(24.5, 18), 3.5, 3.5);
    p.setPen(QPen(china, 2));
    p.drawEllipse(QPointF(24.5, 18), 3.5, 3.5);
    // Cup body.
    QPainterPath cup;
    cup.moveTo(6, 12);
    cup.lineTo(26, 12);
    cup.cubicTo(26, 20, 23, 26, 16, 26);
    cup.cubicTo(9, 26, 6, 20, 6, 12);
    QLinearGradient shade(QPointF(6, 0), QPointF(26, 0));
    shade.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
    shade.setColorAt(1, QColor(0xC8, 0xC8, 0xCC));
    p.setPen(QPen(chinaEdge, 1));
    p.setBrush(shade);
    p.drawPath(cup);
    // Coffee surface.
    p.setBrush(QColor(0x6A, 0x3A, 0x1C));
    p.drawEllipse(QPointF(16, 12), 10, 2.2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xA8, 0x6A, 0x3A));
    p.drawEllipse(QPointF(14, 11.8), 4, 0.9);
    // Steam.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x90, 0x98, 0xA8, 200), 1.2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
        const qreal x = 11 + i * 5;
        QPainterPath s;
        s.moveTo(x, 8.5);
        s.cubicTo(x - 2.5, 6.5, x + 2.5, 4.5, x, 1.5);
        p.drawPath(s);
    }
    return img;
}

std::vector<QImage> itemPictures()
{
    return {chewingGum(),  squarePacket(), creditCard(), hamburger(),
            frenchFries(), frozenFood(),   coffeeCup()};
}

// Every picture enlarged by nearest neighbour on a checkered ground, for a look.
QImage contactSheet(const std::vector<Named>& buttons, const std::vector<QImage>& items)
{
    const int scale = 8, pad = 16;
    int width = pad, rowH = 0, height = pad;
    int x = pad;
    for (const Named& b : buttons) {
        if (x + b.image.width() * scale + pad > 1600) {
            width = std::max(width, x);
            x = pad;
            height += rowH + pad;
            rowH = 0;
        }
        x += b.image.width() * scale + pad;
        rowH = std::max(rowH, b.image.height() * scale);
    }
    width = std::max(width, x);
    height += rowH + pad + 32 * scale + pad;
    QImage sheet(std::max(width, 7 * (32 * scale + pad) + pad), height, QImage::Format_ARGB32);
    QPainter p(&sheet);
    for (int cy = 0; cy < sheet.height(); cy += 8)
        for (int cx = 0; cx < sheet.width(); cx += 8)
            p.fillRect(cx, cy, 8, 8,
                       ((cx + cy) / 8) % 2 ? QColor(0xE8, 0xE8, 0xE8) : QColor(0xB0, 0xB8, 0xC0));
    x = pad;
    int y = pad;
    rowH = 0;
    for (const Named& b : buttons) {
        if (x + b.image.width() * scale + pad > 1600) {
            x = pad;
            y += rowH + pad;
            rowH = 0;
        }
        p.drawImage(x, y, b.image.scaled(b.image.size() * scale));
        x += b.image.width() * scale + pad;
        rowH = std::max(rowH, b.image.height() * scale);
    }
    y += rowH + pad;
    x = pad;
    for (const QImage& item : items) {
        p.drawImage(x, y, item.scaled(item.size() * scale));
        x += 32 * scale + pad;
    }
    return sheet;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_builtin_pictures OUTDIR [SHEET.png]\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath("builtin") || !out.mkpath("items")) {
        std::fprintf(stderr, "cannot create the output folders\n");
        return 1;
    }
    const std::vector<Named> buttons = buttonBitmaps();
    for (const Named& b : buttons)
        if (!writeInfoHeaderBitmap(b.image,
                                   out.filePath(QStringLiteral("builtin/") + QLatin1String(b.name)))) {
            std::fprintf(stderr, "cannot write %s\n", b.name);
            return 1;
        }
    const std::vector<QImage> items = itemPictures();
    for (std::size_t i = 0; i < items.size(); ++i)
        if (!items[i]
                 .convertToFormat(QImage::Format_ARGB32)
                 .save(out.filePath(QStringLiteral("items/%1.png").arg(i)), "PNG")) {
            std::fprintf(stderr, "cannot write item picture %zu\n", i);
            return 1;
        }
    if (argc > 2 && !contactSheet(buttons, items).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "cannot write the contact sheet\n");
        return 1;
    }
    return 0;
}
