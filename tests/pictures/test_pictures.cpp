// The built-in pictures, the item-list pictures and the two show rules.

#include "graphics/GraphicErrors.h"
#include "pictures/BuiltInPictures.h"
#include "resources/ResourceNames.h"
#include "support/TestData.h"

#include <QFile>
#include <QPainter>
#include <QTest>

using namespace fabulor;

namespace {

std::vector<std::uint8_t> readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray b = f.readAll();
    return {b.begin(), b.end()};
}

std::vector<std::uint8_t> testJpeg()
{
    return readFile(testing::TestData::Jpeg320x240);
}

std::uint32_t le32(const QByteArray& b, int at)
{
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}

} // namespace

class PicturesTest : public QObject {
    Q_OBJECT
private slots:
    void builtInPictures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        for (std::string_view name : kBuiltInPictureNames) {
            QSize size(27, 25);
            if (name == "BUTEND" || name == "BUTITEM") size = QSize(86, 25);
            if (name == "BUTUWAGA") size = QSize(17, 17);
            QTest::newRow(name.data()) << QString::fromLatin1(name.data(), qsizetype(name.size())) << size;
        }
    }

    void builtInPictures()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);

        // Kept as 24-bit uncompressed bitmaps starting at the 40-byte header.
        QFile raw(BuiltInPicturePath(name.toStdString()));
        QVERIFY(raw.open(QIODevice::ReadOnly));
        const QByteArray bytes = raw.readAll();
        QVERIFY(bytes.size() >= 40);
        QCOMPARE(le32(bytes, 0), 40u);
        QCOMPARE(int(le32(bytes, 4)), size.width());
        QCOMPARE(int(le32(bytes, 8)), size.height());
        QCOMPARE(std::uint8_t(bytes[14]), std::uint8_t(24));
        QCOMPARE(le32(bytes, 16), 0u);
        const int stride = (size.width() * 3 + 3) & ~3;
        QCOMPARE(bytes.size(), 40 + stride * size.height());

        Picture picture;
        LoadBuiltInPicture(picture, name.toStdString());
        QCOMPARE(picture.kind(), Picture::Kind::Bitmap);
        QCOMPARE(QSize(picture.width(), picture.height()), size);
        // Read by our own bitmap reader from fixed bytes: exact colours.
        const QImage& img = picture.bitmap()->image();
        if (name == "BUTUWAGA") {
            // Red square, yellow triangle; the bottom-left pixel is the red key.
            QCOMPARE(img.pixel(0, size.height() - 1) & 0xFFFFFF, 0xFF0000u);
            const QRgb inside = img.pixel(6, 12);
            QVERIFY(qRed(inside) > 200 && qGreen(inside) > 180 && qBlue(inside) < 50);
            QCOMPARE(img.pixel(8, 7) & 0xFFFFFF, 0u); // the exclamation mark
        } else {
            // A raised light grey button.
            QCOMPARE(img.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
            QCOMPARE(img.pixel(size.width() - 1, size.height() - 1) & 0xFFFFFF, 0u);
            QCOMPARE(img.pixel(2, 2) & 0xFFFFFF, 0xC0C0C0u);
            const bool plain = name == "BUT";
            bool hasInk = false;
            for (int y = 2; y < size.height() - 2; ++y)
                for (int x = 2; x < size.width() - 2; ++x)
                    hasInk = hasInk || (img.pixel(x, y) & 0xFFFFFF) == 0;
            QCOMPARE(hasInk, !plain);
        }
    }

    void unknownBuiltInNameFails()
    {
        Picture picture;
        QVERIFY_THROWS_EXCEPTION(EInvalidGraphic, LoadBuiltInPicture(picture, "BUTX"));
        QVERIFY_THROWS_EXCEPTION(EInvalidGraphic, LoadBuiltInPicture(picture, "../items/0.png"));
        QCOMPARE(picture.kind(), Picture::Kind::None);
    }

    void builtInReplacesJpeg()
    {
        Picture picture;
        ShowSkinPicture(testJpeg(), picture);
        QCOMPARE(picture.kind(), Picture::Kind::Jpeg);
        LoadBuiltInPicture(picture, "BUTITEM");
        QCOMPARE(picture.kind(), Picture::Kind::Bitmap);
        QCOMPARE(picture.width(), 86);
    }

    void itemPictures()
    {
        for (int i = 0; i < kItemPictureCount; ++i) {
            QImage img(ItemPicturePath(i));
            QVERIFY2(!img.isNull(), qPrintable(ItemPicturePath(i)));
            QCOMPARE(img.size(), QSize(32, 32));
            QVERIFY(img.hasAlphaChannel());
            QCOMPARE(qAlpha(img.pixel(0, 0)), 0); // the corners are see-through
            QVERIFY(qAlpha(img.pixel(16, 16)) > 200);
        }
    }

    void buttonPicture_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("showsJpeg");
        QTest::newRow("jpeg") << "jpeg/cjpeg_baseline_320x240.jpg" << true;
        QTest::newRow("jpeg named bmp") << "jpeg/jpeg_named.bmp" << true;
        QTest::newRow("bmp named jpg") << "jpeg/bmp_named.jpg" << false;
        QTest::newRow("bitmap") << "bmp/im_24bit_64x48.bmp" << false;
        QTest::newRow("tables only") << "jpeg/libjpeg_tables_only.jpg" << false;
        QTest::newRow("empty") << "" << false;
    }

    void buttonPicture()
    {
        QFETCH(QString, file);
        QFETCH(bool, showsJpeg);
        const std::vector<std::uint8_t> bytes =
            file.isEmpty() ? std::vector<std::uint8_t>{} : readFile(testing::DataFile(file));
        QVERIFY(file.isEmpty() || !bytes.empty());
        Picture picture;
        ShowSkinPicture(testJpeg(), picture); // something else to replace
        ShowButtonPicture(picture, bytes, "BUTEND");
        if (showsJpeg) {
            QCOMPARE(picture.kind(), Picture::Kind::Jpeg);
            QVERIFY(picture.width() > 0);
        } else {
            QCOMPARE(picture.kind(), Picture::Kind::Bitmap);
            QCOMPARE(QSize(picture.width(), picture.height()), QSize(86, 25));
        }
    }

    // A picture stream is read whole, wherever its position stands.
    void buttonPictureFromStream()
    {
        MemoryStream stream(testJpeg());
        stream.setPosition(stream.size());
        Picture picture;
        ShowButtonPicture(picture, stream, "BUT");
        QCOMPARE(picture.kind(), Picture::Kind::Jpeg);
        QCOMPARE(picture.width(), 320);
    }

    void skinPictureKeepsOldOnFailure()
    {
        Picture skin;
        ShowSkinPicture(std::vector<std::uint8_t>{}, skin);
        QCOMPARE(skin.kind(), Picture::Kind::None);
        ShowSkinPicture(readFile(testing::DataFile(u"jpeg/jpeg_named.bmp")), skin);
        QCOMPARE(skin.kind(), Picture::Kind::Jpeg);
        QCOMPARE(skin.width(), 70);
        ShowSkinPicture(readFile(testing::TestData::Bitmap64x48), skin);
        QCOMPARE(skin.kind(), Picture::Kind::Jpeg);
        QCOMPARE(skin.width(), 70);
        ShowSkinPicture(MemoryStream(), skin);
        QCOMPARE(skin.width(), 70);
    }

    void changeCallbackStaysWithItsOwner()
    {
        int calls = 0;
        Picture a;
        a.setOnChange([&calls] { ++calls; });
        LoadBuiltInPicture(a, "BUT");
        QVERIFY(calls >= 1);
        const int before = calls;
        Picture b = a; // a copy has the content, not the callback
        b.clear();
        QCOMPARE(calls, before);
        a = b;
        QCOMPARE(calls, before + 1);
        QCOMPARE(a.kind(), Picture::Kind::None);
    }

    // Transparent drawing leaves out the bottom-left pixel's colour; JPEG stays opaque.
    // Compared exactly: every alpha is 0 or 255 and nothing is scaled, so Qt
    // only copies or leaves pixels, which no processor's routine rounds.
    void transparentDrawing()
    {
        QImage bmp(3, 2, QImage::Format_RGB32);
        bmp.fill(qRgb(255, 0, 0));
        bmp.setPixel(1, 0, qRgb(0, 0, 255));
        Picture picture;
        picture.assign(Bitmap(bmp));

        QImage target(4, 3, QImage::Format_RGB32);
        target.fill(qRgb(0, 255, 0));
        {
            QPainter p(&target);
            picture.draw(p, QPoint(1, 1), true);
        }
        QCOMPARE(target.pixel(1, 1), qRgb(0, 255, 0));
        QCOMPARE(target.pixel(2, 1), qRgb(0, 0, 255));
        QCOMPARE(target.pixel(3, 2), qRgb(0, 255, 0));
        {
            QPainter p(&target);
            picture.draw(p, QPoint(1, 1), false);
        }
        QCOMPARE(target.pixel(1, 1), qRgb(255, 0, 0));
        QCOMPARE(target.pixel(0, 0), qRgb(0, 255, 0)); // natural size, not stretched

        Picture jpeg;
        ShowSkinPicture(testJpeg(), jpeg);
        QImage canvas(jpeg.width() + 2, jpeg.height() + 2, QImage::Format_RGB32);
        canvas.fill(qRgb(1, 2, 3));
        {
            QPainter p(&canvas);
            jpeg.draw(p, QPoint(0, 0), true);
        }
        QCOMPARE(canvas.pixel(0, 0), jpeg.jpeg()->pixels().pixel(0, 0) | 0xFF000000);
        QCOMPARE(canvas.pixel(jpeg.width(), jpeg.height()), qRgb(1, 2, 3));
    }
};

QTEST_GUILESS_MAIN(PicturesTest)
#include "test_pictures.moc"
