// Masks made from a picture by a key colour: the file written is a 1-bit BMP
// that the program's own mask reader takes, and the window shaped by it shows
// exactly the pixels further than the tolerance from the key.

#include "graphics/Bitmap.h"
#include "graphics/GraphicErrors.h"
#include "graphics/MaskMaker.h"
#include "pictures/Region.h"
#include "support/TestData.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTest>

#include <cstdint>
#include <span>
#include <vector>

using namespace fabulor;

namespace {

// The rule written out per pixel, apart from the code under test.
bool Visible(QRgb pixel, QRgb key, int tolerance)
{
    return std::abs(qRed(pixel) - qRed(key)) > tolerance ||
           std::abs(qGreen(pixel) - qGreen(key)) > tolerance ||
           std::abs(qBlue(pixel) - qBlue(key)) > tolerance;
}

// A picture whose top-left pixel is the key and whose other pixels lie
// around it, many of them just inside or just outside the tolerance.
QImage Speckled(int width, int height, QRgb key, int tolerance, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    auto around = [&](int channel) {
        const int step = tolerance + int(random.bounded(3)) - 1; // tolerance - 1 .. + 1
        const int sign = random.bounded(2) == 0 ? -1 : 1;
        const int value = channel + (random.bounded(3) == 0 ? 0 : sign * step);
        return std::clamp(value, 0, 255);
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(around(qRed(key)), around(qGreen(key)), around(qBlue(key))));
    image.setPixel(0, 0, key);
    return image;
}

Bitmap ReadBack(const std::vector<std::uint8_t>& bmp)
{
    Bitmap bitmap;
    ReadMaskBitmap(std::span<const std::uint8_t>(bmp), bitmap);
    return bitmap;
}

// Checks that the mask file made of picture shapes a window to exactly the
// pixels the rule shows.
void CheckRegion(const QImage& picture, const MaskKey& key)
{
    const MadeMask made = MakeMask(picture, key);
    QCOMPARE(made.verdict, MaskVerdict::Usable);
    const Bitmap mask = ReadBack(EncodeMaskBmp(made.image));
    QCOMPARE(mask.width(), picture.width());
    QCOMPARE(mask.height(), picture.height());
    const QRegion region = BuildRegionFromMask(mask);
    std::uint64_t hidden = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const bool visible = Visible(picture.pixel(x, y), key.colour, key.tolerance);
            if (!visible) ++hidden;
            if (region.contains(QPoint(x, y)) != visible)
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 of %3x%4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(picture.width())
                                     .arg(picture.height())));
        }
    QCOMPARE(made.hidden, hidden);
}

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

} // namespace

class MaskMakerTest : public QObject {
    Q_OBJECT
private slots:
    void regionIsThePixelsOutsideTheTolerance_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("tolerance");
        // Widths around the 32-bit row padding and the 8-pixel bytes.
        for (int width : {1, 2, 7, 8, 9, 31, 32, 33, 65, 623})
            for (int tolerance : {0, 1, 40})
                QTest::addRow("%dx5 within %d", width, tolerance) << width << 5 << tolerance;
        QTest::addRow("a single row") << 97 << 1 << 10;
    }
    void regionIsThePixelsOutsideTheTolerance()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, tolerance);
        const QRgb key = qRgb(120, 30, 250);
        QImage picture = Speckled(width, height, key, tolerance, quint32(width * 1000 + tolerance));
        // Make sure some pixel shows, or the mask would be refused.
        picture.setPixel(width - 1, height - 1, qRgb(0, 255, 0));
        CheckRegion(picture, {key, tolerance});
    }

    void toleranceIsPerChannelAndInclusive()
    {
        // Row: the key, then one channel off by exactly N and by N + 1.
        const QRgb key = qRgb(100, 100, 100);
        const int n = 12;
        QImage picture(7, 1, QImage::Format_RGB32);
        picture.setPixel(0, 0, key);
        picture.setPixel(1, 0, qRgb(100 + n, 100 - n, 100 + n)); // hidden: every channel within
        picture.setPixel(2, 0, qRgb(100 + n + 1, 100, 100));     // shown: red one past
        picture.setPixel(3, 0, qRgb(100, 100 - n - 1, 100));     // shown: green one past
        picture.setPixel(4, 0, qRgb(100, 100, 100 + n + 1));     // shown: blue one past
        picture.setPixel(5, 0, qRgb(100 - n, 100, 100));         // hidden
        picture.setPixel(6, 0, qRgb(100, 100, 100));             // hidden at the right edge
        const QRegion region =
            BuildRegionFromMask(ReadBack(EncodeMaskBmp(MakeMask(picture, {key, n}).image)));
        QCOMPARE(region, QRegion(2, 0, 3, 1));

        // Tolerance 0 hides the exact colour only.
        picture.setPixel(1, 0, qRgb(101, 100, 100));
        const MadeMask exact = MakeMask(picture, {key, 0});
        QCOMPARE(exact.hidden, std::uint64_t(2));
        QCOMPARE(BuildRegionFromMask(ReadBack(EncodeMaskBmp(exact.image))), QRegion(1, 0, 5, 1));

        // Alpha plays no part.
        QImage translucent(2, 1, QImage::Format_ARGB32);
        translucent.setPixel(0, 0, qRgba(10, 20, 30, 0));
        translucent.setPixel(1, 0, qRgba(200, 20, 30, 255));
        QCOMPARE(MakeMask(translucent, {qRgba(10, 20, 30, 255), 0}).verdict, MaskVerdict::Usable);
    }

    void everyPictureLayoutGivesTheSameMask_data()
    {
        QTest::addColumn<int>("format");
        QTest::addRow("RGB888 (JPEG)") << int(QImage::Format_RGB888);
        QTest::addRow("ARGB32") << int(QImage::Format_ARGB32);
        QTest::addRow("RGB16") << int(QImage::Format_RGB16);
        QTest::addRow("Grayscale8") << int(QImage::Format_Grayscale8);
        QTest::addRow("RGBA8888") << int(QImage::Format_RGBA8888);
    }
    // Whatever the conversion into a layout rounds, both the rule and the
    // maker read its result, and each layout reaches 32 bits again by
    // widening alone: they see the same colours.
    void everyPictureLayoutGivesTheSameMask()
    {
        QFETCH(int, format);
        // Tall enough to span several conversion strips.
        const QImage source =
            Speckled(45, 150, qRgb(64, 64, 64), 8, 7).convertToFormat(QImage::Format(format));
        const QImage reference = source.convertToFormat(QImage::Format_RGB32);
        const MaskKey key{reference.pixel(0, 0), 8};
        QImage picture = source;
        picture.setPixel(44, 149, 0xFFFFFFFFu);
        CheckRegion(picture, key);
    }

    void paletteColoursDecideNotIndices()
    {
        // Two indices of one colour, and an index past the palette (black).
        QImage picture(4, 2, QImage::Format_Indexed8);
        picture.setColorTable({qRgb(255, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 255)});
        picture.fill(0);
        picture.setPixel(1, 0, 1);
        picture.setPixel(2, 0, 2);
        picture.scanLine(1)[3] = 7;
        const MadeMask made = MakeMask(picture, {qRgb(255, 0, 0), 0});
        QCOMPARE(BuildRegionFromMask(ReadBack(EncodeMaskBmp(made.image))),
                 QRegion(2, 0, 1, 1) + QRegion(3, 1, 1, 1));
    }

    void masksThatWouldMeanSomethingElseAreRefused()
    {
        const QRgb key = qRgb(0, 0, 0);
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(key);
        // One colour: the window would get no shape at all.
        QCOMPARE(MakeMask(picture, {key, 0}).verdict, MaskVerdict::AllHidden);
        // Everything within a wide tolerance is the same.
        picture.setPixel(2, 1, qRgb(30, 30, 30));
        QCOMPARE(MakeMask(picture, {key, 30}).verdict, MaskVerdict::AllHidden);
        QCOMPARE(MakeMask(picture, {key, 29}).verdict, MaskVerdict::Usable);
        // A shown top-left pixel would turn the shape inside out.
        picture.setPixel(0, 0, qRgb(255, 255, 255));
        QCOMPARE(MakeMask(picture, {key, 0}).verdict, MaskVerdict::TopLeftShown);
        // Nothing hidden at all is the same case.
        QCOMPARE(MakeMask(picture, {qRgb(1, 2, 3), 0}).verdict, MaskVerdict::TopLeftShown);
        QCOMPARE(MakeMask(QImage(), {key, 0}).verdict, MaskVerdict::EmptyPicture);
        QVERIFY(!MaskVerdictMessage(MaskVerdict::TopLeftShown).empty());
        QVERIFY(MaskVerdictMessage(MaskVerdict::Usable).empty());
    }

    void picturesLargerThanTheMaskReaderTakesAreRefused()
    {
        // A 1-bit picture is small to hold but its mask would not be read back.
        const QImage huge(16400, 16400, QImage::Format_Mono);
        QVERIFY(!huge.isNull());
        const MadeMask made = MakeMask(huge, {0, 0});
        QCOMPARE(made.verdict, MaskVerdict::TooLarge);
        QVERIFY(made.image.isNull());
    }

    void fileIsAOneBitBottomUpBitmap()
    {
        // 33 pixels: 5 bytes of bits, padded to 8.
        QImage picture(33, 3, QImage::Format_RGB32);
        picture.fill(qRgb(0, 0, 0));
        picture.setPixel(32, 0, qRgb(255, 255, 255)); // top row, last pixel
        picture.setPixel(1, 2, qRgb(255, 255, 255));  // bottom row
        const std::vector<std::uint8_t> bmp = EncodeMaskBmp(MakeMask(picture, {qRgb(0, 0, 0), 0}).image);
        QCOMPARE(bmp.size(), std::size_t(14 + 40 + 8 + 3 * 8));
        QCOMPARE(bmp[0], std::uint8_t('B'));
        QCOMPARE(bmp[1], std::uint8_t('M'));
        QCOMPARE(Le32(bmp, 2), std::uint32_t(bmp.size()));
        QCOMPARE(Le32(bmp, 10), std::uint32_t(62)); // pixels after the two palette entries
        QCOMPARE(Le32(bmp, 14), std::uint32_t(40));
        QCOMPARE(Le32(bmp, 18), std::uint32_t(33));
        QCOMPARE(Le32(bmp, 22), std::uint32_t(3));          // positive: bottom-up
        QCOMPARE(bmp[28], std::uint8_t(1));                 // bits per pixel
        QCOMPARE(Le32(bmp, 30), std::uint32_t(0));          // uncompressed
        QCOMPARE(Le32(bmp, 54), std::uint32_t(0x00000000)); // entry 0 black: hidden
        QCOMPARE(Le32(bmp, 58), std::uint32_t(0x00FFFFFF)); // entry 1 white: shown
        // The first row stored is the bottom one; padding bytes are zero.
        const std::vector<std::uint8_t> bottom(bmp.begin() + 62, bmp.begin() + 70);
        QCOMPARE(bottom, (std::vector<std::uint8_t>{0x40, 0, 0, 0, 0, 0, 0, 0}));
        const std::vector<std::uint8_t> top(bmp.begin() + 78, bmp.begin() + 86);
        QCOMPARE(top, (std::vector<std::uint8_t>{0, 0, 0, 0, 0x80, 0, 0, 0}));

        // Another reader agrees: black hidden, white shown.
        const QImage qt = QImage::fromData(bmp.data(), int(bmp.size()), "BMP");
        QCOMPARE(qt.size(), QSize(33, 3));
        QCOMPARE(qt.pixel(32, 0) & 0xFFFFFFu, 0xFFFFFFu);
        QCOMPARE(qt.pixel(1, 2) & 0xFFFFFFu, 0xFFFFFFu);
        QCOMPARE(qt.pixel(0, 0) & 0xFFFFFFu, 0u);
        QCOMPARE(qt.pixel(31, 0) & 0xFFFFFFu, 0u);
    }

    void picturesAreDecodedByContent()
    {
        auto bytesOf = [](const QString& path) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) return std::vector<std::uint8_t>{};
            const QByteArray all = file.readAll();
            return std::vector<std::uint8_t>(all.begin(), all.end());
        };
        const auto jpeg = bytesOf(testing::DataFile(u"jpeg/bmp_named.jpg"));
        QVERIFY(!jpeg.empty());
        QVERIFY(!DecodeMaskSource(std::span<const std::uint8_t>(jpeg)).isNull());
        const auto bmp = bytesOf(testing::TestData::Bitmap64x48);
        QCOMPARE(DecodeMaskSource(std::span<const std::uint8_t>(bmp)).size(), QSize(64, 48));
        const std::vector<std::uint8_t> gif{'G', 'I', 'F', '8', '9', 'a'};
        QVERIFY_THROWS_EXCEPTION(EInvalidGraphic, DecodeMaskSource(std::span<const std::uint8_t>(gif)));
        const std::vector<std::uint8_t> brokenJpeg{0xFF, 0xD8, 0xFF};
        QVERIFY_THROWS_EXCEPTION(EJPEG, DecodeMaskSource(std::span<const std::uint8_t>(brokenJpeg)));
    }

    void keyColoursInTheProgramsForms()
    {
        QCOMPARE(ParseKeyColour("#FF8000"), std::optional<QRgb>(qRgb(255, 128, 0)));
        QCOMPARE(ParseKeyColour("#ff8000"), std::optional<QRgb>(qRgb(255, 128, 0)));
        QCOMPARE(ParseKeyColour("$000080FF"), std::optional<QRgb>(qRgb(255, 128, 0))); // 00BBGGRR
        QCOMPARE(ParseKeyColour("clRed"), std::optional<QRgb>(qRgb(255, 0, 0)));
        QCOMPARE(ParseKeyColour("CLBLACK"), std::optional<QRgb>(qRgb(0, 0, 0)));
        for (const char* bad :
             {"", "#", "#12345", "#1234567", "#GG0000", "red", "clBtnFace", "clNone", "$FF000000"})
            QVERIFY2(!ParseKeyColour(bad), bad);
    }
};

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    MaskMakerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_maskmaker.moc"
