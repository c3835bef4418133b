// skintool jpeg and skintool mask, run as a user would run them.

#include "support/RunSkintool.h"
#include "support/TestData.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString Data = fabulor::testing::TestData::Folder + '/';

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs skintool with no display and no platform plugin chosen: the picture
// commands must not need either.
Run skintool(const QStringList& args)
{
    const fabulor::testing::SkintoolRun run =
        fabulor::testing::RunSkintool(args, fabulor::testing::WithoutDisplay());
    return {run.exitCode, QString::fromUtf8(run.out), QString::fromUtf8(run.err)};
}

} // namespace

class SkintoolGraphicsTest : public QObject {
    Q_OBJECT

private slots:
    void jpeg_data();
    void jpeg();
    void mask_data();
    void mask();
    void missingFile_data();
    void missingFile();
};

void SkintoolGraphicsTest::jpeg_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("errPattern");
    QTest::newRow("baseline") << "jpeg/cjpeg_baseline_320x240.jpg" << 0 << "320x240 grey=0 progressive=0\n"
                              << "";
    QTest::newRow("greyscale") << "jpeg/cjpeg_greyscale_320x240.jpg" << 0 << "320x240 grey=1 progressive=0\n"
                               << "";
    QTest::newRow("progressive") << "jpeg/cjpeg_progressive_320x240.jpg" << 0
                                 << "320x240 grey=0 progressive=1\n"
                                 << "";
    QTest::newRow("named .bmp") << "jpeg/jpeg_named.bmp" << 0 << "70x46 grey=0 progressive=0\n"
                                << "";
    QTest::newRow("cut after the header")
        << "jpeg/cut_half_header_intact.jpg" << 0 << "320x240 grey=0 progressive=0\n"
        << "";
    QTest::newRow("a bitmap") << "jpeg/bmp_named.jpg" << 1 << ""
                              << "^JPEG error #\\d+\\n$";
    QTest::newRow("tables only") << "jpeg/libjpeg_tables_only.jpg" << 1 << ""
                                 << "^JPEG error #\\d+\\n$";
    QTest::newRow("empty") << "jpeg/empty.jpg" << 1 << ""
                           << "^JPEG error #\\d+\\n$";
}

void SkintoolGraphicsTest::jpeg()
{
    QFETCH(QString, file);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, errPattern);
    const Run r = skintool({"jpeg", Data + file});
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(r.out, out);
    if (errPattern.isEmpty())
        QCOMPARE(r.err, QString());
    else
        QVERIFY2(QRegularExpression(errPattern).match(r.err).hasMatch(), qPrintable(r.err));
}

void SkintoolGraphicsTest::mask_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("1 bit") << "bmp/im_1bit_64x48.bmp" << 0 << "64x48 visible=1069\n"
                           << "";
    QTest::newRow("white top-left") << "bmp/im_white_topleft_24bit.bmp" << 0 << "64x48 visible=1069\n"
                                    << "";
    QTest::newRow("3 x 1") << "bmp/im_3x1_black_white_black_24bit.bmp" << 0 << "3x1 visible=1\n"
                           << "";
    QTest::newRow("one colour") << "bmp/im_all_black_24bit.bmp" << 0 << "64x48 visible=0\n"
                                << "";
    QTest::newRow("run-length") << "bmp/bmpsuite/g/pal8rle.bmp" << 0 << "127x64 visible=8107\n"
                                << "";
    QTest::newRow("empty") << "bmp/raw_zero_bytes.bmp" << 0 << "0x0 visible=0\n"
                           << "";
    QTest::newRow("a JPEG") << "bmp/jpeg_named.bmp" << 1 << ""
                            << "Bitmap image is not valid\n";
    QTest::newRow("two planes") << "bmp/planes2_24bit_64x48.bmp" << 1 << ""
                                << "Bitmap image is not valid\n";
    QTest::newRow("too big") << "bmp/bmpsuite/b/reallybig.bmp" << 1 << ""
                             << "Bitmap image is not valid\n";
}

void SkintoolGraphicsTest::mask()
{
    QFETCH(QString, file);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const Run r = skintool({"mask", Data + file});
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(r.out, out);
    QCOMPARE(r.err, err);
}

void SkintoolGraphicsTest::missingFile_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("jpeg") << "jpeg";
    QTest::newRow("mask") << "mask";
}

void SkintoolGraphicsTest::missingFile()
{
    QFETCH(QString, command);
    QTemporaryDir dir;
    const QString path = dir.filePath("missing.bin");
    const Run r = skintool({command, path});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, QString());
    QCOMPARE(r.err, "Cannot open file " + path + "\n");

    const Run usage = skintool({command});
    QCOMPARE(usage.exitCode, 2);
}

QTEST_GUILESS_MAIN(SkintoolGraphicsTest)
#include "test_skintool_graphics.moc"
