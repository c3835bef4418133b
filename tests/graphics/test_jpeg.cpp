// DecodeJpegPicture: the header reader on real files from other tools, the
// deferred pixel decoding, and damaged or hostile pictures. Pixels are our
// own decoder's, compared with its own or by wide bounds; no Qt routine
// touches them.

#include "ManifestRows.h"

#include "graphics/GraphicErrors.h"
#include "graphics/JpegDecoder.h"
#include "graphics/JpegPicture.h"
#include "graphics/PictureBudget.h"
#include "support/ClaimingJpeg.h"
#include "support/TestData.h"

#include <QtTest>

#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>

#include <atomic>
#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <vector>

using namespace fabulor;

namespace {

using Bytes = std::vector<std::uint8_t>;

const QString JpegDir = fabulor::testing::DataFile(u"jpeg/");

Bytes readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray data = f.readAll();
    return Bytes(data.begin(), data.end());
}

// The library's message code for a name the manifest gives, so the test
// holds whatever numbering the installed library uses.
int messageCode(const QString& name)
{
    static const QHash<QString, int> codes = {
        {"JERR_NO_SOI", JERR_NO_SOI},       {"JERR_BAD_HUFF_TABLE", JERR_BAD_HUFF_TABLE},
        {"JERR_NO_IMAGE", JERR_NO_IMAGE},   {"JERR_BAD_PRECISION", JERR_BAD_PRECISION},
        {"JERR_INPUT_EOF", JERR_INPUT_EOF},
    };
    return codes.value(name, -1);
}

// Position of the first marker FF xx after the start-of-image marker.
std::size_t findMarker(const Bytes& b, std::uint8_t marker)
{
    for (std::size_t i = 2; i + 1 < b.size(); ++i)
        if (b[i] == 0xFF && b[i + 1] == marker) return i;
    return b.size();
}

std::size_t segmentLength(const Bytes& b, std::size_t markerAt)
{
    return 2 + ((std::size_t{b[markerAt + 2]} << 8) | b[markerAt + 3]);
}

Bytes withSize(Bytes b, std::uint16_t width, std::uint16_t height)
{
    const std::size_t sof = findMarker(b, 0xC0);
    b[sof + 5] = static_cast<std::uint8_t>(height >> 8);
    b[sof + 6] = static_cast<std::uint8_t>(height);
    b[sof + 7] = static_cast<std::uint8_t>(width >> 8);
    b[sof + 8] = static_cast<std::uint8_t>(width);
    return b;
}

std::set<QRgb> coloursOf(const QImage& image)
{
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours;
}

} // namespace

class JpegTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void manifest_data();
    void manifest();

    void emptyBytesFail();
    void messageCarriesTheCode();
    void acceptanceDependsOnContentOnly();

    void pixelsAreDecodedOnceAndShared();
    void colourPicturesAre24Bit();
    void greyscaleIsReducedTo236Levels();
    void dataThatEndsEarlyStillDraws();
    void cmykPicturesDraw();
    void fatalErrorAfterTheHeaderDrawsGrey();
    void hugeSizesAreRefused_data();
    void hugeSizesAreRefused();
    void headerBiggerThanItsDataDraws();
    void cutAndDamagedCopiesNeverCrash_data();
    void cutAndDamagedCopiesNeverCrash();

    void pixelMemoryIsKnownFromTheHeader_data();
    void pixelMemoryIsKnownFromTheHeader();
    void budgetIsTakenFromTheHeaderAndGivenBackByTheLastCopy();
    void pixelsDecodedElsewhereArePlacedForEveryCopy();
    void previewsAreDecodedAtTheSmallestScaleThatCovers_data();
    void previewsAreDecodedAtTheSmallestScaleThatCovers();

private:
    std::unique_ptr<testsupport::LargeTestData> m_large;
    Bytes m_baseline;
};

void JpegTest::initTestCase()
{
    m_baseline = readFile(JpegDir + "cjpeg_baseline_320x240.jpg");
    QVERIFY2(!m_baseline.empty(), "the test data is missing");
    m_large = std::make_unique<testsupport::LargeTestData>();
}

void JpegTest::manifest_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("greyscale");
    QTest::addColumn<bool>("progressive");
    QTest::addColumn<QString>("probe");
    const auto rows = testsupport::readManifest(JpegDir + "MANIFEST.tsv");
    QVERIFY(rows.size() > 15);
    for (const auto& row : rows) {
        const QString file = row.value("file");
        QString path = JpegDir + file;
        if (!QFile::exists(path) && m_large) path = m_large->path("jpeg/" + file);
        QTest::newRow(qPrintable(file))
            << path << row.value("outcome_class") << row.value("width").toInt() << row.value("height").toInt()
            << (row.value("greyscale") == "1") << (row.value("progressive") == "1")
            << row.value("libjpeg_header_probe");
    }
}

void JpegTest::manifest()
{
    QFETCH(QString, path);
    QFETCH(QString, outcome);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, greyscale);
    QFETCH(bool, progressive);
    QFETCH(QString, probe);
    if (path.isEmpty()) QSKIP(qPrintable(m_large->reason()));

    const Bytes bytes = readFile(path);
    try {
        const JpegPicture picture = DecodeJpegPicture(bytes);
        QVERIFY2(outcome != "rejected", "a picture that should fail was accepted");
        if (outcome == "accepted") {
            QCOMPARE(picture.width(), width);
            QCOMPARE(picture.height(), height);
            QCOMPARE(picture.greyscale(), greyscale);
            QCOMPARE(picture.progressive(), progressive);
        }
        // Whatever the header said, drawing gives a picture of that size.
        const QImage& pixels = picture.pixels();
        QCOMPARE(pixels.width(), picture.width());
        QCOMPARE(pixels.height(), picture.height());
    } catch (const EJPEG& e) {
        QVERIFY2(outcome != "accepted", "a picture that should be accepted failed");
        if (outcome == "open") return;
        if (bytes.empty()) {
            QCOMPARE(e.code(), int(JERR_INPUT_EMPTY));
            return;
        }
        static const QRegularExpression name(QStringLiteral("name=(JERR_\\w+)"));
        const auto match = name.match(probe);
        QVERIFY(match.hasMatch());
        const QString expected = match.captured(1);
        // A cut header may end in either of two ways, by how the source
        // manager treats the end of the data.
        if (expected == "JERR_BAD_HUFF_TABLE")
            QVERIFY(e.code() == JERR_BAD_HUFF_TABLE || e.code() == JERR_INPUT_EOF);
        else
            QCOMPARE(e.code(), messageCode(expected));
    }
}

void JpegTest::emptyBytesFail()
{
    try {
        DecodeJpegPicture({});
        QFAIL("empty bytes decoded");
    } catch (const EJPEG& e) {
        QCOMPARE(e.code(), int(JERR_INPUT_EMPTY));
    }
}

void JpegTest::messageCarriesTheCode()
{
    const Bytes notJpeg = {'B', 'M', 0, 0};
    try {
        DecodeJpegPicture(notJpeg);
        QFAIL("a bitmap decoded as JPEG");
    } catch (const EJPEG& e) {
        QCOMPARE(e.code(), int(JERR_NO_SOI));
        QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("JPEG error #%1").arg(int(JERR_NO_SOI)));
    }
}

void JpegTest::acceptanceDependsOnContentOnly()
{
    // The same bytes under a bitmap's name read the same.
    const JpegPicture named = DecodeJpegPicture(readFile(JpegDir + "jpeg_named.bmp"));
    QCOMPARE(named.width(), 70);
    QCOMPARE(named.height(), 46);
}

void JpegTest::pixelsAreDecodedOnceAndShared()
{
    const JpegPicture picture = DecodeJpegPicture(m_baseline);
    const QImage& first = picture.pixels();
    const QImage& second = picture.pixels();
    QCOMPARE(&first, &second);
    QCOMPARE(first.cacheKey(), second.cacheKey());
    // NOLINTNEXTLINE(performance-unnecessary-copy-initialization): the copy is what is tested
    const JpegPicture copy = picture; // a copy keeps the decoded pixels
    QCOMPARE(copy.pixels().cacheKey(), first.cacheKey());

    // The decoder's copy of the bytes is its own: the caller's may go.
    Bytes bytes = m_baseline;
    const JpegPicture own = DecodeJpegPicture(bytes);
    std::fill(bytes.begin(), bytes.end(), std::uint8_t{0});
    QCOMPARE(own.pixels(), first);
}

void JpegTest::colourPicturesAre24Bit()
{
    const JpegPicture picture = DecodeJpegPicture(m_baseline);
    const QImage& pixels = picture.pixels();
    QCOMPARE(pixels.format(), QImage::Format_RGB888);
    QCOMPARE(pixels.size(), QSize(320, 240));
    QVERIFY(coloursOf(pixels).size() > 1000);
}

void JpegTest::greyscaleIsReducedTo236Levels()
{
    const JpegPicture picture = DecodeJpegPicture(readFile(JpegDir + "cjpeg_greyscale_320x240.jpg"));
    const QImage& pixels = picture.pixels();
    QCOMPARE(pixels.depth(), 8);
    QVERIFY(pixels.colorCount() <= 236);
    const std::set<QRgb> colours = coloursOf(pixels);
    QVERIFY(colours.size() <= 236);
    QVERIFY(colours.size() > 100); // reduced, not flattened
    for (const QRgb c : colours)
        QVERIFY(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c));
    // The extremes stay: white background, black outlines.
    QVERIFY(colours.count(qRgb(255, 255, 255)) == 1);
    QVERIFY(colours.count(qRgb(0, 0, 0)) == 1);
}

void JpegTest::dataThatEndsEarlyStillDraws()
{
    const JpegPicture whole = DecodeJpegPicture(m_baseline);
    const JpegPicture cut = DecodeJpegPicture(readFile(JpegDir + "cut_half_header_intact.jpg"));
    const QImage& pixels = cut.pixels();
    QCOMPARE(pixels.size(), QSize(320, 240));
    // What was there draws as in the whole file; the rest is filled in flat.
    for (int y = 0; y < 16; ++y)
        QCOMPARE(pixels.copy(0, y, 320, 1), whole.pixels().copy(0, y, 320, 1));
    QCOMPARE(coloursOf(pixels.copy(0, 230, 320, 10)).size(), std::size_t{1});
}

void JpegTest::cmykPicturesDraw()
{
    // libjpeg itself cannot turn CMYK into RGB; we do, so the picture shows.
    const JpegPicture picture = DecodeJpegPicture(readFile(JpegDir + "im_cmyk_160x120.jpg"));
    const QImage& pixels = picture.pixels();
    QCOMPARE(pixels.size(), QSize(160, 120));
    const QRgb corner = pixels.pixel(0, 0);
    QVERIFY(qRed(corner) > 240 && qGreen(corner) > 240 && qBlue(corner) > 240); // white background
    QVERIFY(coloursOf(pixels).size() > 100);
}

void JpegTest::fatalErrorAfterTheHeaderDrawsGrey()
{
    // Without its quantisation tables the header still reads, but decoding
    // fails at once: the picture keeps its size and shows mid grey.
    Bytes b = m_baseline;
    for (std::size_t at = findMarker(b, 0xDB); at < findMarker(b, 0xDA); at = findMarker(b, 0xDB))
        b.erase(b.begin() + static_cast<std::ptrdiff_t>(at),
                b.begin() + static_cast<std::ptrdiff_t>(at + segmentLength(b, at)));
    const JpegPicture picture = DecodeJpegPicture(b);
    QCOMPARE(picture.width(), 320);
    const std::set<QRgb> colours = coloursOf(picture.pixels());
    QCOMPARE(colours.size(), std::size_t{1});
    QCOMPARE(*colours.begin(), qRgb(128, 128, 128));
}

void JpegTest::hugeSizesAreRefused_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("60000 x 60000") << 60000 << 60000;
    QTest::newRow("65500 x 1367") << 65500 << 1367; // just over 256 MiB at 24 bits
}

void JpegTest::hugeSizesAreRefused()
{
    QFETCH(int, width);
    QFETCH(int, height);
    try {
        DecodeJpegPicture(
            withSize(m_baseline, static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height)));
        QFAIL("a picture over the size limit was accepted");
    } catch (const EJPEG& e) {
        QCOMPARE(e.code(), int(JERR_IMAGE_TOO_BIG));
    }
}

void JpegTest::headerBiggerThanItsDataDraws()
{
    const JpegPicture picture = DecodeJpegPicture(withSize(m_baseline, 2000, 1500));
    QCOMPARE(picture.pixels().size(), QSize(2000, 1500));
}

void JpegTest::cutAndDamagedCopiesNeverCrash_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("baseline") << "cjpeg_baseline_320x240.jpg";
    QTest::newRow("progressive") << "cjpeg_progressive_320x240.jpg";
    QTest::newRow("arithmetic") << "cjpeg_arithmetic_320x240.jpg";
    QTest::newRow("greyscale") << "cjpeg_greyscale_320x240.jpg";
}

void JpegTest::cutAndDamagedCopiesNeverCrash()
{
    QFETCH(QString, file);
    const Bytes whole = readFile(JpegDir + file);
    int drawn = 0;
    for (std::size_t step = 0; step < whole.size(); step += 131) {
        for (int damaged = 0; damaged < 2; ++damaged) {
            Bytes b(whole.begin(),
                    whole.begin() + static_cast<std::ptrdiff_t>(damaged ? whole.size() : step));
            if (damaged) b[step] ^= 0x5A;
            try {
                const JpegPicture picture = DecodeJpegPicture(b);
                QCOMPARE(picture.pixels().size(), QSize(picture.width(), picture.height()));
                ++drawn;
            } catch (const EJPEG&) {
            }
        }
    }
    QVERIFY(drawn > 0);
}

QTEST_GUILESS_MAIN(JpegTest)
#include "test_jpeg.moc"

void JpegTest::pixelMemoryIsKnownFromTheHeader_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("width");
    for (const char* file : {"cjpeg_baseline_320x240.jpg", "cjpeg_greyscale_320x240.jpg"})
        for (const int width : {320, 321, 322, 323})
            QTest::addRow("%s, %d wide", file, width) << QString::fromLatin1(file) << width;
}

// The share a picture takes of a budget is what its pixels take once
// decoded, rows padded as they are: decided before anything is decoded.
void JpegTest::pixelMemoryIsKnownFromTheHeader()
{
    QFETCH(QString, file);
    QFETCH(int, width);
    const JpegPicture picture =
        DecodeJpegPicture(withSize(readFile(JpegDir + file), std::uint16_t(width), 17));
    const std::uint64_t before = picture.pixelBytes();
    QVERIFY(!picture.decoded());
    QCOMPARE(before, std::uint64_t(picture.pixels().sizeInBytes()));
}

void JpegTest::budgetIsTakenFromTheHeaderAndGivenBackByTheLastCopy()
{
    const std::uint64_t each = std::uint64_t{320} * 3 * 240;
    const auto budget = std::make_shared<PictureBudget>(2 * each + each / 2);
    std::optional<JpegPicture> first = DecodeJpegPicture(m_baseline, budget);
    QCOMPARE(budget->used(), each);
    std::optional<JpegPicture> copy = first;
    const JpegPicture second = DecodeJpegPicture(m_baseline, budget);
    QCOMPARE(budget->used(), 2 * each);
    QVERIFY_THROWS_EXCEPTION(EPictureBudget, DecodeJpegPicture(m_baseline, budget));
    QCOMPARE(budget->used(), 2 * each); // a refused picture takes nothing
    // A header that does not read takes nothing either.
    QVERIFY_THROWS_EXCEPTION(EJPEG, DecodeJpegPicture(Bytes{0xFF, 0xD8, 0xFF}, budget));
    QCOMPARE(budget->used(), 2 * each);

    first.reset();
    QCOMPARE(budget->used(), 2 * each); // the copy still holds it
    copy.reset();
    QCOMPARE(budget->used(), each);
    const JpegPicture third = DecodeJpegPicture(m_baseline, budget);
    QCOMPARE(budget->used(), 2 * each);
}

void JpegTest::pixelsDecodedElsewhereArePlacedForEveryCopy()
{
    const JpegPicture picture = DecodeJpegPicture(m_baseline);
    // NOLINTNEXTLINE(performance-unnecessary-copy-initialization): the copy is what is tested
    const JpegPicture copy = picture;
    const JpegPicture::PixelJob job = picture.pixelJob();
    QCOMPARE(job.picture(), copy.pixelJob().picture());
    QVERIFY(job.picture() != DecodeJpegPicture(m_baseline).pixelJob().picture());

    // Asked to stop, it gives nothing, and the picture stays undecoded.
    const std::atomic<bool> stop{true};
    QVERIFY(job.run(&stop).isNull());
    QVERIFY(!picture.decoded());

    const QImage pixels = job.run(nullptr);
    QCOMPARE(pixels, DecodeJpegPicture(m_baseline).pixels());
    QVERIFY(!copy.decoded());
    job.place(pixels);
    QVERIFY(picture.decoded());
    QCOMPARE(copy.pixels().cacheKey(), pixels.cacheKey());
}

void JpegTest::previewsAreDecodedAtTheSmallestScaleThatCovers_data()
{
    QTest::addColumn<QSize>("claimed");
    QTest::addColumn<QSize>("atLeast");
    QTest::addColumn<QSize>("decoded");
    QTest::newRow("an eighth") << QSize(320, 240) << QSize(40, 30) << QSize(40, 30);
    QTest::newRow("a quarter") << QSize(320, 240) << QSize(49, 49) << QSize(80, 60);
    QTest::newRow("sides rounded up") << QSize(321, 17) << QSize(10, 3) << QSize(41, 3);
    QTest::newRow("full size when nothing smaller covers")
        << QSize(320, 240) << QSize(400, 100) << QSize(320, 240);
    QTest::newRow("the largest picture") << QSize(16384, 16384) << QSize(49, 49) << QSize(2048, 2048);
}

// A small view of a large picture never costs the large picture's pixels.
void JpegTest::previewsAreDecodedAtTheSmallestScaleThatCovers()
{
    QFETCH(QSize, claimed);
    QFETCH(QSize, atLeast);
    QFETCH(QSize, decoded);
    const std::string bytes = fabulor::testing::ClaimingJpeg(claimed.width(), claimed.height());
    const JpegPicture picture =
        DecodeJpegPicture(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    const QImage preview = picture.preview(atLeast);
    QCOMPARE(preview.size(), decoded);
    QCOMPARE(preview.format(), QImage::Format_Indexed8); // grey, as the picture is
    QVERIFY(!picture.decoded());
    if (claimed.width() > 1000) return;
    // Once the pixels are known they serve as they are.
    picture.pixels();
    QCOMPARE(picture.preview(atLeast).cacheKey(), picture.pixels().cacheKey());
}
