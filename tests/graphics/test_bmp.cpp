// ReadMaskBitmap and ReadBitmapFromInfoHeader: the acceptance rules on real
// files from other tools, and damaged or hostile headers built here. The
// pixels are our own reader's, made without rounding: compared exactly.

#include "ManifestRows.h"

#include "graphics/Bitmap.h"
#include "graphics/GraphicErrors.h"
#include "support/TestData.h"

#include <QtTest>

#include <cstdint>
#include <vector>

using namespace fabulor;

namespace {

using Bytes = std::vector<std::uint8_t>;

const QString BmpDir = fabulor::testing::DataFile(u"bmp/");

Bytes readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray data = f.readAll();
    return Bytes(data.begin(), data.end());
}

qint64 countDiffering(const QImage& image)
{
    if (image.isNull()) return 0;
    const QRgb key = image.pixel(0, 0) & 0xFFFFFF;
    qint64 n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) != key;
    return n;
}

// A recognisable bitmap to show that a failed read leaves its target alone.
Bitmap sentinel()
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    return Bitmap(image);
}

void put16(Bytes& b, std::size_t at, std::uint16_t v)
{
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(Bytes& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A bitmap file with a 40-byte information header. The colour table and the
// pixel bytes are given as they are to be stored.
struct BmpFields {
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    Bytes colourTable = {};
    Bytes pixels = {};
};

Bytes makeBmp(const BmpFields& s)
{
    Bytes b(14 + 40);
    // Room for the whole file at once. Growing the vector inside insert()
    // makes GCC 12 at -O3 warn of an out-of-bounds copy that cannot happen.
    b.reserve(b.size() + s.colourTable.size() + s.pixels.size());
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 10, static_cast<std::uint32_t>(14 + 40 + s.colourTable.size()));
    put32(b, 14, 40);
    put32(b, 18, static_cast<std::uint32_t>(s.width));
    put32(b, 22, static_cast<std::uint32_t>(s.height));
    put16(b, 26, s.planes);
    put16(b, 28, s.bitCount);
    put32(b, 30, s.compression);
    put32(b, 46, s.coloursUsed);
    b.insert(b.end(), s.colourTable.begin(), s.colourTable.end());
    b.insert(b.end(), s.pixels.begin(), s.pixels.end());
    put32(b, 2, static_cast<std::uint32_t>(b.size()));
    return b;
}

// Index 0 black, 1 red, 2 green, 3 blue (stored blue, green, red, 0).
Bytes fourColours()
{
    return {0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};
}

} // namespace

class BmpTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void manifest_data();
    void manifest();

    void emptyBytesGiveAnEmptyBitmap();
    void bytesAndFileNameReadAlike();
    void infoHeaderReaderMatchesFileReader_data();
    void infoHeaderReaderMatchesFileReader();
    void infoHeaderReaderRejectsEmptyAndShortInput();
    void missingFileFailsToOpen();

    void refusedHeaders_data();
    void refusedHeaders();
    void topDownRowsStartAtTheTop();
    void coreHeaderWidensThreeByteColours();
    void bitFieldsScaleEveryChannelWidth();
    void runsPastTheRowEndAreCut();
    void damagedRunLengthDataDoesNotEscapeThePicture_data();
    void damagedRunLengthDataDoesNotEscapeThePicture();
    void shortPixelDataLeavesTheRestAtEntryZero();

private:
    std::unique_ptr<testsupport::LargeTestData> m_large;
};

void BmpTest::initTestCase()
{
    QVERIFY2(QFile::exists(BmpDir + "MANIFEST.tsv"), "the test data is missing");
    m_large = std::make_unique<testsupport::LargeTestData>();
}

void BmpTest::manifest_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<qint64>("differing");
    const auto rows = testsupport::readManifest(BmpDir + "MANIFEST.tsv");
    QVERIFY(rows.size() > 60);
    for (const auto& row : rows) {
        const QString file = row.value("file");
        QString path = BmpDir + file;
        if (!QFile::exists(path) && m_large) {
            const QString large = m_large->path("bmp/" + file);
            path = large.isEmpty() ? QString() : large;
        }
        QTest::newRow(qPrintable(file))
            << path << row.value("outcome_class") << row.value("width").toInt() << row.value("height").toInt()
            << row.value("differing_from_topleft").toLongLong();
    }
}

void BmpTest::manifest()
{
    QFETCH(QString, path);
    QFETCH(QString, outcome);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(qint64, differing);
    if (path.isEmpty()) QSKIP(qPrintable(m_large->reason()));

    Bitmap target = sentinel();
    const QImage before = target.image();
    try {
        ReadMaskBitmap(path.toStdString(), target);
    } catch (const EInvalidGraphic& e) {
        QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Bitmap image is not valid"));
        QVERIFY2(outcome.startsWith("fails") || outcome.endsWith("open"), "a bitmap that should read failed");
        QCOMPARE(target.image(), before);
        return;
    }
    if (outcome.endsWith("open")) {
        // Not settled either way; reading it must simply give a picture.
        QVERIFY(!target.isEmpty());
        return;
    }
    if (outcome == "empty") {
        QVERIFY(target.isEmpty());
        QCOMPARE(target.width(), 0);
        QCOMPARE(target.height(), 0);
        return;
    }
    QCOMPARE(outcome, QStringLiteral("accepted"));
    QCOMPARE(target.width(), width);
    QCOMPARE(target.height(), height);
    QCOMPARE(countDiffering(target.image()), differing);
}

void BmpTest::emptyBytesGiveAnEmptyBitmap()
{
    Bitmap target = sentinel();
    ReadMaskBitmap(std::span<const std::uint8_t>(), target);
    QVERIFY(target.isEmpty());
    QCOMPARE(target.width(), 0);
    QCOMPARE(target.height(), 0);
}

void BmpTest::bytesAndFileNameReadAlike()
{
    const QString path = BmpDir + "bmpsuite/g/pal8rle.bmp";
    const Bytes bytes = readFile(path);
    Bitmap fromBytes, fromFile;
    ReadMaskBitmap(bytes, fromBytes);
    ReadMaskBitmap(path.toStdString(), fromFile);
    QCOMPARE(fromBytes.image(), fromFile.image());
}

void BmpTest::infoHeaderReaderMatchesFileReader_data()
{
    QTest::addColumn<QString>("file");
    // Files whose pixels follow the colour table directly, as a resource's do.
    QTest::newRow("24 bits") << "im_24bit_64x48.bmp";
    QTest::newRow("1 bit") << "im_1bit_64x48.bmp";
    QTest::newRow("8 bits") << "bmpsuite/g/pal8.bmp";
    QTest::newRow("4 bits run-length") << "bmpsuite/g/pal4rle.bmp";
    QTest::newRow("16 bits with masks") << "bmpsuite/g/rgb16-565.bmp";
    QTest::newRow("core header") << "im_os2core_1bit_64x48.bmp";
}

void BmpTest::infoHeaderReaderMatchesFileReader()
{
    QFETCH(QString, file);
    const Bytes bytes = readFile(BmpDir + file);
    QVERIFY(bytes.size() > 14);
    Bitmap whole, resource;
    ReadMaskBitmap(bytes, whole);
    ReadBitmapFromInfoHeader(std::span(bytes).subspan(14), resource);
    QVERIFY(!resource.isEmpty());
    QCOMPARE(resource.image(), whole.image());
}

void BmpTest::infoHeaderReaderRejectsEmptyAndShortInput()
{
    Bitmap target = sentinel();
    QVERIFY_THROWS_EXCEPTION(EInvalidGraphic, ReadBitmapFromInfoHeader({}, target));
    const Bytes header = {40, 0, 0, 0, 1, 0};
    QVERIFY_THROWS_EXCEPTION(EInvalidGraphic, ReadBitmapFromInfoHeader(header, target));
    QCOMPARE(target.width(), 3);
}

void BmpTest::missingFileFailsToOpen()
{
    Bitmap target = sentinel();
    QVERIFY_THROWS_EXCEPTION(EFOpenError, ReadMaskBitmap(std::string("/nonexistent/mask.bmp"), target));
    QCOMPARE(target.width(), 3);
}

void BmpTest::refusedHeaders_data()
{
    QTest::addColumn<QByteArray>("file");
    auto add = [](const char* name, const Bytes& b) {
        QTest::newRow(name) << QByteArray(reinterpret_cast<const char*>(b.data()),
                                          static_cast<qsizetype>(b.size()));
    };
    const Bytes onePixel = {0, 0, 255, 0};

    add("one byte", {'B'});
    add("file header only", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0});
    add("lower-case signature", [&] {
        Bytes b = makeBmp({.pixels = onePixel});
        b[1] = 'm';
        return b;
    }());
    add("planes 0", makeBmp({.planes = 0, .pixels = onePixel}));
    add("width 0", makeBmp({.width = 0, .pixels = onePixel}));
    add("height 0", makeBmp({.height = 0, .pixels = onePixel}));
    add("negative width", makeBmp({.width = -1, .pixels = onePixel}));
    add("height of the most negative number", makeBmp({.height = INT32_MIN, .pixels = onePixel}));
    add("2 bits per pixel", makeBmp({.bitCount = 2, .pixels = onePixel}));
    add("64 bits per pixel", makeBmp({.bitCount = 64, .pixels = Bytes(8)}));
    add("run-length 8 at 24 bits", makeBmp({.compression = 1, .pixels = onePixel}));
    add("run-length 4 at 8 bits", makeBmp({.bitCount = 8, .compression = 2, .pixels = onePixel}));
    add("bit fields at 24 bits", makeBmp({.compression = 3, .pixels = onePixel}));
    add("bit fields with the masks missing", makeBmp({.bitCount = 32, .compression = 3, .pixels = {}}));
    add("embedded JPEG", makeBmp({.compression = 4, .pixels = onePixel}));
    add("embedded PNG", makeBmp({.compression = 5, .pixels = onePixel}));
    add("60000 x 60000 at 24 bits", makeBmp({.width = 60000, .height = 60000, .pixels = onePixel}));
    add("60000 x 60000 at 1 bit",
        makeBmp(
            {.width = 60000, .height = 60000, .bitCount = 1, .colourTable = Bytes(8), .pixels = onePixel}));
    add("just over 256 MiB as 8-bit", makeBmp({.width = 16385,
                                               .height = -16384,
                                               .bitCount = 8,
                                               .coloursUsed = 1,
                                               .colourTable = Bytes(4),
                                               .pixels = onePixel}));
    add("colour table of 2^31 entries",
        makeBmp({.bitCount = 8, .coloursUsed = 0x80000000u, .pixels = onePixel}));
    add("colour table longer than the file", makeBmp({.bitCount = 8,
                                                      .coloursUsed = 300,
                                                      .colourTable = Bytes(std::size_t{256} * 4),
                                                      .pixels = onePixel}));
    add("full table implied but missing", makeBmp({.bitCount = 8, .pixels = onePixel}));
    for (const std::uint32_t size : {0u, 16u, 39u, 0xFFFFFFFFu}) {
        Bytes b = makeBmp({.pixels = onePixel});
        put32(b, 14, size);
        QTest::newRow(qPrintable(QStringLiteral("header size %1").arg(size)))
            << QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
    }
}

void BmpTest::refusedHeaders()
{
    QFETCH(QByteArray, file);
    Bitmap target = sentinel();
    const QImage before = target.image();
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(file.constData()),
                                 static_cast<std::size_t>(file.size()));
    try {
        ReadMaskBitmap(bytes, target);
        QFAIL("the bitmap was read");
    } catch (const EInvalidGraphic& e) {
        QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Bitmap image is not valid"));
    }
    QCOMPARE(target.image(), before);
}

void BmpTest::topDownRowsStartAtTheTop()
{
    // Two rows of one pixel, red stored first: with a negative height the
    // first stored row is the top one.
    const Bytes rows = {0, 0, 255, 0, 255, 0, 0, 0};
    Bitmap bottomUp, topDown;
    ReadMaskBitmap(makeBmp({.width = 1, .height = 2, .pixels = rows}), bottomUp);
    ReadMaskBitmap(makeBmp({.width = 1, .height = -2, .pixels = rows}), topDown);
    QCOMPARE(topDown.height(), 2);
    QCOMPARE(topDown.image().pixel(0, 0), qRgb(255, 0, 0));
    QCOMPARE(topDown.image().pixel(0, 1), qRgb(0, 0, 255));
    QCOMPARE(bottomUp.image().pixel(0, 0), qRgb(0, 0, 255));
    QCOMPARE(bottomUp.image().pixel(0, 1), qRgb(255, 0, 0));
}

void BmpTest::coreHeaderWidensThreeByteColours()
{
    // 12-byte header, 2 x 1 at 1 bit, colours green and blue as three bytes.
    Bytes b = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 32, 0, 0, 0, 12, 0, 0, 0, 2, 0, 1, 0, 1, 0, 1, 0};
    b.insert(b.end(), {0, 255, 0, 255, 0, 0});
    b.insert(b.end(), {0x40, 0, 0, 0}); // pixels 0 then 1
    Bitmap target;
    ReadMaskBitmap(b, target);
    QCOMPARE(target.width(), 2);
    QCOMPARE(target.image().pixel(0, 0), qRgb(0, 255, 0));
    QCOMPARE(target.image().pixel(1, 0), qRgb(0, 0, 255));
}

void BmpTest::bitFieldsScaleEveryChannelWidth()
{
    // 32 bits, masks of 10, 1 and 21 bits: each full channel is 255, each empty one 0.
    Bytes masks(12);
    put32(masks, 0, 0x3FFu << 22);
    put32(masks, 4, 1u << 21);
    put32(masks, 8, (1u << 21) - 1);
    Bytes pixels(8);
    put32(pixels, 0, 0xFFFFFFFFu);
    put32(pixels, 4, (0x3FFu << 22) | ((1u << 20)));
    Bitmap target;
    ReadMaskBitmap(
        makeBmp({.width = 2, .bitCount = 32, .compression = 3, .colourTable = masks, .pixels = pixels}),
        target);
    QCOMPARE(target.image().pixel(0, 0), qRgb(255, 255, 255));
    QCOMPARE(target.image().pixel(1, 0), qRgb(255, 0, 128));

    // 16 bits without masks: five bits per channel.
    Bitmap rgb555;
    ReadMaskBitmap(makeBmp({.width = 1, .bitCount = 16, .pixels = {0x1F, 0x7C, 0, 0}}), rgb555);
    QCOMPARE(rgb555.image().pixel(0, 0), qRgb(255, 0, 255));
}

void BmpTest::runsPastTheRowEndAreCut()
{
    // 4 x 2 at 8 bits run-length: a run of ten red pixels in the bottom row,
    // then the top row: one green pixel. The run must not reach the top row.
    const Bytes rle = {10, 1, 0, 0, 1, 2, 0, 1};
    Bitmap target;
    ReadMaskBitmap(makeBmp({.width = 4,
                            .height = 2,
                            .bitCount = 8,
                            .compression = 1,
                            .coloursUsed = 4,
                            .colourTable = fourColours(),
                            .pixels = rle}),
                   target);
    const QImage& image = target.image();
    for (int x = 0; x < 4; ++x)
        QCOMPARE(image.pixel(x, 1), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(0, 0), qRgb(0, 255, 0));
    for (int x = 1; x < 4; ++x)
        QCOMPARE(image.pixel(x, 0), qRgb(0, 0, 0));

    // The same at 4 bits, with a literal run of seven pixels in a row of four.
    const Bytes rle4 = {0, 7, 0x12, 0x31, 0x23, 0x10, 0, 0, 2, 0x33, 0, 1};
    Bitmap four;
    ReadMaskBitmap(makeBmp({.width = 4,
                            .height = 2,
                            .bitCount = 4,
                            .compression = 2,
                            .coloursUsed = 4,
                            .colourTable = fourColours(),
                            .pixels = rle4}),
                   four);
    QCOMPARE(four.image().pixel(0, 1), qRgb(255, 0, 0));
    QCOMPARE(four.image().pixel(3, 1), qRgb(255, 0, 0));
    QCOMPARE(four.image().pixel(0, 0), qRgb(0, 0, 255));
    QCOMPARE(four.image().pixel(1, 0), qRgb(0, 0, 255));
    QCOMPARE(four.image().pixel(2, 0), qRgb(0, 0, 0));
}

void BmpTest::damagedRunLengthDataDoesNotEscapeThePicture_data()
{
    QTest::addColumn<int>("compression");
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("jump far right and up")
        << 1 << QByteArray("\x00\x02\xff\xff\x05\x01\x00\x02\xff\x00\x05\x01", 12);
    QTest::newRow("literal run past the data") << 1 << QByteArray("\x00\xff\x01\x02", 4);
    QTest::newRow("odd byte at the end") << 2 << QByteArray("\x05\x12\x00", 3);
    QTest::newRow("no end of bitmap") << 2 << QByteArray("\xff\x12\xff\x12\xff\x12", 6);
    QTest::newRow("only line ends") << 1 << QByteArray(400, '\0');
    QTest::newRow("jump at the very end") << 1 << QByteArray("\x00\x02", 2);
}

void BmpTest::damagedRunLengthDataDoesNotEscapeThePicture()
{
    QFETCH(int, compression);
    QFETCH(QByteArray, data);
    Bitmap target;
    ReadMaskBitmap(makeBmp({.width = 3,
                            .height = 3,
                            .bitCount = static_cast<std::uint16_t>(compression == 1 ? 8 : 4),
                            .compression = static_cast<std::uint32_t>(compression),
                            .coloursUsed = 4,
                            .colourTable = fourColours(),
                            .pixels = Bytes(data.begin(), data.end())}),
                   target);
    QCOMPARE(target.width(), 3);
    QCOMPARE(target.height(), 3);
}

void BmpTest::shortPixelDataLeavesTheRestAtEntryZero()
{
    // 2 x 2 at 8 bits: only the bottom row is stored (two red pixels, padded).
    Bitmap target;
    ReadMaskBitmap(makeBmp({.width = 2,
                            .height = 2,
                            .bitCount = 8,
                            .coloursUsed = 4,
                            .colourTable = fourColours(),
                            .pixels = {1, 1, 0, 0}}),
                   target);
    QCOMPARE(target.image().pixel(0, 1), qRgb(255, 0, 0));
    QCOMPARE(target.image().pixel(0, 0), qRgb(0, 0, 0));
}

QTEST_GUILESS_MAIN(BmpTest)
#include "test_bmp.moc"
