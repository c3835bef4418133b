// skintool mask-from, run as a user would run it: the mask file it writes
// shapes a window as intended, and bad requests end with the right codes
// and without touching the output file.

#include "graphics/Bitmap.h"
#include "pictures/Region.h"
#include "support/RunSkintool.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using fabulor::testing::RunSkintool;

namespace {

const QRgb Background = qRgb(0, 200, 0);

// A 45 x 21 green picture (odd width: padded rows) with a red 10 x 5 box at
// 3,4 and a pixel just outside a tolerance of 20 at 40,15.
QImage Picture()
{
    QImage image(45, 21, QImage::Format_RGB32);
    image.fill(Background);
    for (int y = 4; y < 9; ++y)
        for (int x = 3; x < 13; ++x)
            image.setPixel(x, y, qRgb(220, 10, 10));
    image.setPixel(40, 15, qRgb(0, 221, 0));
    image.setPixel(41, 15, qRgb(20, 180, 20)); // just inside 20
    return image;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QRegion RegionOf(const QString& maskFile)
{
    fabulor::Bitmap mask;
    fabulor::ReadMaskBitmap(QFile::encodeName(maskFile).toStdString(), mask);
    return fabulor::BuildRegionFromMask(mask);
}

} // namespace

class SkintoolMaskFromTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        picture = dir.filePath(QStringLiteral("skin.bmp"));
        out = dir.filePath(QStringLiteral("mask.bmp"));
        QFile::remove(out);
        QVERIFY(Picture().save(picture, "BMP"));
    }

    void writesTheMaskThatHidesTheKey()
    {
        const auto run =
            RunSkintool({QStringLiteral("mask-from"), picture, out, QStringLiteral("--key"),
                         QStringLiteral("#00C800"), QStringLiteral("--tolerance"), QStringLiteral("20")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("45x21 hidden=894 visible=51\n"));
        QVERIFY(run.err.isEmpty());
        QCOMPARE(RegionOf(out), QRegion(3, 4, 10, 5) + QRegion(40, 15, 1, 1));
        // The program's own mask command agrees.
        QCOMPARE(RunSkintool({QStringLiteral("mask"), out}).out, QByteArray("45x21 visible=51\n"));
    }

    void optionsInAnyOrderAndTheProgramsColourForms_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QByteArray>("summary");
        QTest::newRow("tolerance first, $00BBGGRR") << QStringList{"--tolerance", "20", "--key", "$0000C800"}
                                                    << QByteArray("45x21 hidden=894 visible=51\n");
        QTest::newRow("no tolerance: exact colour")
            << QStringList{"--key", "#00c800"} << QByteArray("45x21 hidden=893 visible=52\n");
    }
    void optionsInAnyOrderAndTheProgramsColourForms()
    {
        QFETCH(QStringList, words);
        QFETCH(QByteArray, summary);
        const auto run = RunSkintool(QStringList{QStringLiteral("mask-from"), picture, out} + words);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, summary);
    }

    void readsJpegPictures()
    {
        const QString jpeg = dir.filePath(QStringLiteral("skin.jpg"));
        QVERIFY(Picture().save(jpeg, "JPG", 100));
        const auto run =
            RunSkintool({QStringLiteral("mask-from"), jpeg, out, QStringLiteral("--key"),
                         QStringLiteral("#00C800"), QStringLiteral("--tolerance"), QStringLiteral("40")});
        QCOMPARE(run.exitCode, 0);
        // Compression blurs the edges a little; the box shows, the corners do not.
        const QRegion region = RegionOf(out);
        QVERIFY(region.contains(QRect(5, 5, 6, 3)));
        QVERIFY(!region.contains(QPoint(0, 0)));
        QVERIFY(!region.contains(QPoint(44, 20)));
    }

    void badRequestsAreUsageErrors_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("no key") << QStringList{"PIC", "OUT", "--tolerance", "3"} << QByteArray("usage:");
        QTest::newRow("key without value")
            << QStringList{"PIC", "OUT", "--tolerance", "3", "--key"} << QByteArray("--key needs a value");
        QTest::newRow("not a colour")
            << QStringList{"PIC", "OUT", "--key", "green"} << QByteArray("not a key colour: 'green'");
        QTest::newRow("system colour")
            << QStringList{"PIC", "OUT", "--key", "clBtnFace"} << QByteArray("not a key colour");
        QTest::newRow("short hex") << QStringList{"PIC", "OUT", "--key", "#0C0"}
                                   << QByteArray("not a key colour");
        QTest::newRow("tolerance 256") << QStringList{"PIC", "OUT", "--key", "#000000", "--tolerance", "256"}
                                       << QByteArray("from 0 to 255, not '256'");
        QTest::newRow("tolerance -1") << QStringList{"PIC", "OUT", "--key", "#000000", "--tolerance", "-1"}
                                      << QByteArray("from 0 to 255");
        QTest::newRow("tolerance 5x") << QStringList{"PIC", "OUT", "--key", "#000000", "--tolerance", "5x"}
                                      << QByteArray("from 0 to 255");
        QTest::newRow("unknown option") << QStringList{"PIC", "OUT", "--key", "#000000", "--invert"}
                                        << QByteArray("unknown option --invert");
        QTest::newRow("three files") << QStringList{"PIC", "OUT", "MORE", "--key", "#000000"}
                                     << QByteArray("usage:");
        QTest::newRow("too few words") << QStringList{"PIC", "OUT"} << QByteArray("usage:");
    }
    void badRequestsAreUsageErrors()
    {
        QFETCH(QStringList, words);
        QFETCH(QByteArray, message);
        const auto run = RunSkintool(QStringList{QStringLiteral("mask-from")} + words);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(message), run.err.constData());
        QVERIFY(run.out.isEmpty());
    }

    void failuresLeaveTheOutputAlone_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("top-left shown") << ""
                                        << "#DC0A0A" << QByteArray("top-left pixel");
        QTest::newRow("all hidden") << ""
                                    << "#00C800:255" << QByteArray("Every pixel");
        QTest::newRow("missing picture") << "missing.bmp"
                                         << "#00C800" << QByteArray("Cannot open file");
        QTest::newRow("not a picture") << "text"
                                       << "#00C800" << QByteArray("neither a JPEG picture nor a bitmap");
        QTest::newRow("a folder") << "."
                                  << "#00C800" << QByteArray("Cannot open file");
    }
    void failuresLeaveTheOutputAlone()
    {
        QFETCH(QString, input);
        QFETCH(QString, key);
        QFETCH(QByteArray, message);
        QString source = picture;
        if (input == QLatin1String("text")) {
            source = dir.filePath(QStringLiteral("notes.txt"));
            QFile text(source);
            QVERIFY(text.open(QIODevice::WriteOnly));
            text.write("not a picture");
        } else if (!input.isEmpty()) {
            source = dir.filePath(input);
        }
        const QStringList parts = key.split(QLatin1Char(':'));
        QStringList args{QStringLiteral("mask-from"), source, out, QStringLiteral("--key"), parts[0]};
        if (parts.size() > 1) args << QStringLiteral("--tolerance") << parts[1];

        // An older mask of that name stays as it was.
        QFile old(out);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old mask");
        old.close();
        const auto run = RunSkintool(args);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(message), run.err.constData());
        QCOMPARE(ReadAll(out), QByteArray("old mask"));
        // Nothing else is left in the folder.
        QCOMPARE(
            QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".mask")).size(), 0);
    }

    void outputThatCannotBeWrittenFails()
    {
        const QString nowhere = dir.filePath(QStringLiteral("no/such/folder/mask.bmp"));
        const auto run = RunSkintool({QStringLiteral("mask-from"), picture, nowhere, QStringLiteral("--key"),
                                      QStringLiteral("#00C800")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains("Cannot open file"));
        QVERIFY(!QFile::exists(nowhere));
    }

    void helpListsTheCommand()
    {
        const auto run = RunSkintool({QStringLiteral("--help")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains("skintool mask-from PICTURE OUT.bmp --key COLOUR [--tolerance N]"));
    }

private:
    QTemporaryDir dir;
    QString picture;
    QString out;
};

QTEST_GUILESS_MAIN(SkintoolMaskFromTest)
#include "test_skintool_maskfrom.moc"
