// The window region built from a mask: exactly the pixels whose colour differs
// from the top-left pixel's, whatever the bitmap's layout. Compared exactly:
// the builder is ours, and the definition reads the very pixels it reads (a
// layout conversion made here may round, but both sides see its result).

#include "graphics/Bitmap.h"
#include "pictures/Region.h"
#include "support/TestData.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <cstring>

using namespace fabulor;

namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

// Rows of '#' (white) and '.' (black) as a 24-bit-style image.
QImage fromRows(const QStringList& rows)
{
    QImage img(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, rows[y][x] == QLatin1Char('#') ? kWhite : kBlack);
    return img;
}

qint64 pixelCount(const QRegion& region)
{
    qint64 n = 0;
    for (const QRect& r : region)
        n += qint64(r.width()) * r.height();
    return n;
}

// The definition, pixel by pixel.
QRegion expectedRegion(const QImage& img)
{
    QRegion r;
    const QRgb key = img.pixel(0, 0) & 0xFFFFFF;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != key) r += QRect(x, y, 1, 1);
    return r;
}

} // namespace

class RegionTest : public QObject {
    Q_OBJECT
private slots:
    void smallMasks_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QRegion>("expected");
        QTest::newRow("black white black") << QStringList{".#."} << QRegion(1, 0, 1, 1);
        QTest::newRow("white key shows the black shape")
            << QStringList{"####", "#..#", "####"} << QRegion(1, 1, 2, 1);
        QTest::newRow("all black") << QStringList{"....", "...."} << QRegion();
        QTest::newRow("all white") << QStringList{"##", "##"} << QRegion();
        QTest::newRow("run to the right edge") << QStringList{"..###"} << QRegion(2, 0, 3, 1);
        QTest::newRow("empty row adds nothing")
            << QStringList{".##.", "....", ".##."} << (QRegion(1, 0, 2, 1) + QRegion(1, 2, 2, 1));
        QTest::newRow("alternating runs")
            << QStringList{".#.#.#", "#.#.#."}
            << (QRegion(1, 0, 1, 1) + QRegion(3, 0, 1, 1) + QRegion(5, 0, 1, 1) + QRegion(0, 1, 1, 1) +
                QRegion(2, 1, 1, 1) + QRegion(4, 1, 1, 1));
        QTest::newRow("band of equal rows") << QStringList{".#.", ".#.", ".#."} << QRegion(1, 0, 1, 3);
        QTest::newRow("single pixel key") << QStringList{"."} << QRegion();
    }

    void smallMasks()
    {
        QFETCH(QStringList, rows);
        QFETCH(QRegion, expected);
        const QRegion region = BuildRegionFromMask(Bitmap(fromRows(rows)));
        QCOMPARE(region, expected);
    }

    void nearBlackIsNotBlack()
    {
        QImage img(2, 1, QImage::Format_RGB32);
        img.setPixel(0, 0, kBlack);
        img.setPixel(1, 0, qRgb(1, 1, 1));
        QCOMPARE(BuildRegionFromMask(Bitmap(img)), QRegion(1, 0, 1, 1));
    }

    void alphaIsIgnored()
    {
        QImage img(3, 1, QImage::Format_ARGB32);
        img.setPixel(0, 0, qRgba(10, 20, 30, 255));
        img.setPixel(1, 0, qRgba(10, 20, 30, 0)); // same colour, other alpha: invisible
        img.setPixel(2, 0, qRgba(10, 20, 31, 255));
        QCOMPARE(BuildRegionFromMask(Bitmap(img)), QRegion(2, 0, 1, 1));
    }

    void maskTooIntricateForARegionGivesNone()
    {
        // A pixel checkerboard of 6000 x 6000 would take 18 million rectangles.
        QImage checker(6000, 6000, QImage::Format_Mono);
        checker.setColor(0, qRgb(0, 0, 0));
        checker.setColor(1, qRgb(255, 255, 255));
        for (int y = 0; y < checker.height(); ++y)
            std::memset(checker.scanLine(y), (y & 1) ? 0x55 : 0xAA, std::size_t(checker.bytesPerLine()));
        QVERIFY(BuildRegionFromMask(Bitmap(checker)).isEmpty());
        QVERIFY(BuildShapeFromMask(Bitmap(checker)).isNull());

        // A smaller one of the same kind still gets its exact region, but
        // for a caller who takes fewer rectangles.
        const QImage small = checker.copy(0, 0, 600, 600);
        QCOMPARE(BuildRegionFromMask(Bitmap(small)).rectCount(), 300 * 600);
        QCOMPARE(BuildRegionFromMask(Bitmap(small), std::size_t{300} * 600).rectCount(), 300 * 600);
        QVERIFY(BuildRegionFromMask(Bitmap(small), std::size_t{300} * 600 - 1).isEmpty());
    }

    // The busiest mask the builder takes, eight million one-pixel
    // rectangles, as a picture: what painting a busy mask goes through.
    void pictureOfTheBusiestMask()
    {
        QImage checker(4096, 4096, QImage::Format_Mono);
        checker.setColorTable({kBlack, kWhite});
        for (int y = 0; y < checker.height(); ++y)
            std::memset(checker.scanLine(y), (y & 1) ? 0xAA : 0x55, std::size_t(checker.bytesPerLine()));
        QCOMPARE(BuildRegionFromMask(Bitmap(checker)).rectCount(), 4096 * 2048);
        const QImage bits = BuildShapeFromMask(Bitmap(checker));
        QCOMPARE(bits.size(), checker.size());
        QCOMPARE(bits.format(), QImage::Format_MonoLSB);
        QCOMPARE(qAlpha(bits.color(0)), 0);
        // Least significant bit first: the shown odd pixels of an even row are 0xAA.
        const QByteArray even(bits.bytesPerLine(), char(0xAA)), odd(bits.bytesPerLine(), char(0x55));
        for (int y = 0; y < bits.height(); ++y)
            QVERIFY(std::memcmp(bits.constScanLine(y), (y & 1 ? odd : even).constData(), odd.size()) == 0);
    }

    void emptyMaskGivesNoRegion()
    {
        QVERIFY(BuildRegionFromMask(Bitmap()).isEmpty());
        QVERIFY(BuildShapeFromMask(Bitmap()).isNull());
        QVERIFY(BuildRegionFromMask(Bitmap(QImage(0, 5, QImage::Format_RGB32))).isEmpty());
    }

    // Palette pixels compare by their palette colours, not by their indices.
    void paletteColoursAreResolved()
    {
        QImage img(4, 1, QImage::Format_Indexed8);
        img.setColorTable({kBlack, kWhite, kBlack, qRgb(0, 0, 1)});
        const uchar indices[] = {0, 2, 1, 3};
        for (int x = 0; x < 4; ++x)
            img.setPixel(x, 0, indices[x]);
        QCOMPARE(BuildRegionFromMask(Bitmap(img)), QRegion(2, 0, 2, 1));

        // Two palette entries of the hidden colour, on a row longer than 64 pixels.
        QImage wide(150, 1, QImage::Format_Indexed8);
        wide.setColorTable({kBlack, kWhite, kBlack});
        for (int x = 0; x < 150; ++x)
            wide.setPixel(x, 0, x < 70 ? (x % 2 ? 2 : 0) : 1);
        QCOMPARE(BuildRegionFromMask(Bitmap(wide)), QRegion(70, 0, 80, 1));

        QImage mono(5, 2, QImage::Format_Mono);
        mono.setColorTable({kWhite, kBlack});
        mono.fill(0);
        mono.setPixel(4, 1, 1);
        QCOMPARE(BuildRegionFromMask(Bitmap(mono)), QRegion(4, 1, 1, 1));
    }

    // Random masks of every layout agree with the pixel-by-pixel definition.
    void randomMasksMatchDefinition_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("rgb32") << int(QImage::Format_RGB32);
        QTest::newRow("argb32") << int(QImage::Format_ARGB32);
        QTest::newRow("rgb888") << int(QImage::Format_RGB888);
        QTest::newRow("indexed8") << int(QImage::Format_Indexed8);
        QTest::newRow("mono") << int(QImage::Format_Mono);
        QTest::newRow("mono lsb") << int(QImage::Format_MonoLSB);
        QTest::newRow("rgb16") << int(QImage::Format_RGB16);
    }

    void randomMasksMatchDefinition()
    {
        QFETCH(int, format);
        QRandomGenerator rng(1234);
        for (int round = 0; round < 40; ++round) {
            const int w = rng.bounded(1, 200), h = rng.bounded(1, 30);
            QImage img(w, h, QImage::Format_RGB32);
            // Few colours and long rows of repeats, so runs and bands both occur.
            const QRgb colours[] = {kBlack, kWhite, qRgb(200, 10, 10)};
            for (int y = 0; y < h; ++y) {
                if (y > 0 && rng.bounded(3) == 0) {
                    for (int x = 0; x < w; ++x)
                        img.setPixel(x, y, img.pixel(x, y - 1));
                    continue;
                }
                for (int x = 0; x < w; ++x)
                    img.setPixel(x, y, colours[rng.bounded(round % 2 ? 3 : 2)]);
            }
            const QImage converted = img.convertToFormat(QImage::Format(format));
            const QRegion region = BuildRegionFromMask(Bitmap(converted));
            const QRegion expected = expectedRegion(converted);
            QVERIFY((region ^ expected).isEmpty());
            QCOMPARE(pixelCount(region), pixelCount(expected));
            // The picture holds the same pixels; none at all for no region.
            const QImage shape = BuildShapeFromImage(converted);
            QCOMPARE(shape.isNull(), expected.isEmpty());
            for (int y = 0; y < h && !shape.isNull(); ++y)
                for (int x = 0; x < w; ++x)
                    if ((shape.pixelIndex(x, y) == 1) != expected.contains(QPoint(x, y)))
                        QFAIL(qPrintable(QStringLiteral("round %1, pixel %2,%3").arg(round).arg(x).arg(y)));
        }
    }

    // Real bitmaps of every kind: the region holds as many pixels as differ
    // from the top-left pixel.
    void manifestBitmaps()
    {
        const QString dir = testing::DataFile(u"bmp/");
        QFile manifest(dir + "MANIFEST.tsv");
        QVERIFY(manifest.open(QIODevice::ReadOnly));
        const QList<QByteArray> header = manifest.readLine().trimmed().split('\t');
        const auto col = [&](const char* name) { return header.indexOf(QByteArray(name)); };
        int checked = 0;
        while (!manifest.atEnd()) {
            const QList<QByteArray> row = manifest.readLine().trimmed().split('\t');
            if (row.value(col("outcome_class")) != "accepted") continue;
            const QString file = dir + QString::fromUtf8(row.value(col("file")));
            if (!QFile::exists(file)) continue; // the large files are made on request only
            Bitmap mask;
            ReadMaskBitmap(file.toStdString(), mask);
            const QRegion region = BuildRegionFromMask(mask);
            QVERIFY2(pixelCount(region) == row.value(col("differing_from_topleft")).toLongLong(),
                     qPrintable(file));
            QVERIFY(region.boundingRect().isEmpty() ||
                    QRect(0, 0, mask.width(), mask.height()).contains(region.boundingRect()));
            ++checked;
        }
        QVERIFY(checked > 40);
    }
};

QTEST_GUILESS_MAIN(RegionTest)
#include "test_region.moc"
