// skintool render against the editor itself: each skin is rendered by the
// tool and loaded into the editor as a user loads it, and the picture must
// be the editor's own grab of its preview, pixel for pixel (a shaped window:
// inside its shape, transparent outside). Then the mouse-over picture of
// --hover, the scaling of --size, and the failures: a skin that cannot be
// read (1, nothing written) and wrong words (2).

#include "document/DocumentText.h"
#include "document/IniStore.h"
#include "editor/HoverPreview.h"
#include "editor/SettingsWindow.h"
#include "editor/SkinRender.h"
#include "graphics/JpegPicture.h"
#include "preview/PreviewWindow.h"
#include "preview/SelectionFrame.h"
#include "skinfile/SkinEntry.h"
#include "support/ClaimingJpeg.h"
#include "support/ComparePictures.h"
#include "support/RunSkintool.h"
#include "support/TestProgram.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/PictureBox.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QWindow>

#include <cstring>
#include <span>

using namespace fabulor;
using fabulor::testing::RunSkintool;
using fabulor::testing::SkintoolRun;
using fabulor::testing::TestProgram;

namespace {

QByteArray Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 90);
    return bytes;
}

MemoryStream Stream(const QByteArray& bytes)
{
    return MemoryStream(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

// A face for a button: a colour with a mark, so a shifted copy differs.
QImage Face(QSize size, QColor colour)
{
    QImage face(size, QImage::Format_RGB32);
    face.fill(colour);
    QPainter painter(&face);
    painter.fillRect(2, 2, size.width() / 3, size.height() / 3, colour.darker(250));
    return face;
}

// The pixels the program's own decoder gives a JPEG.
QImage Decoded(const QByteArray& jpeg)
{
    const JpegPicture picture =
        DecodeJpegPicture(std::span(reinterpret_cast<const std::uint8_t*>(jpeg.constData()), jpeg.size()));
    return picture.pixels().convertToFormat(QImage::Format_RGB32);
}

QString SaveSkin(const IniStore& doc, const QString& path)
{
    MemoryStream text;
    SaveDocumentBytes(doc, text);
    TZipKit zip;
    SaveSkinEntry(QFile::encodeName(path).toStdString(), text, zip);
    return path;
}

// A skin with its components moved, coloured and a button with a picture
// of its own.
IniStore MovedSkin()
{
    IniStore doc;
    doc.writeBool("Skin", "En", false);
    doc.writeInteger("Skin", "W", 520);
    doc.writeInteger("Skin", "H", 330);
    doc.writeInteger("PC1", "L", 60);
    doc.writeInteger("PC1", "T", 150);
    doc.writeInteger("PC1", "Border", 3);
    doc.writeColour("PC1", "Color", 0x0080C0E0);
    doc.writeInteger("OP1", "L", 300);
    doc.writeInteger("OP1", "T", 200);
    doc.writeColour("OP1", "Color", 0x0000FFFF);
    doc.writeColour("OP1", "FColor", 0x000000FF);
    doc.writeInteger("PRys", "L", 10);
    doc.writeInteger("PRys", "T", 20);
    doc.writeInteger("PRys", "Border", 9);
    doc.writeColour("PRys", "Color", 0x00FF0000);
    doc.writeColour("LB", "Color", 0x0000C000);
    doc.writeColour("L1", "FColor", 0x00FF00FF);
    doc.writeInteger("PClose", "L", 470);
    doc.writeInteger("PClose", "T", 40);
    doc.writeBinary("PClose", "MP1", Stream(Encoded(Face({40, 30}, QColor(30, 160, 60)), "JPG")));
    return doc;
}

// A shaped skin: an ellipse on black, taller than wide, and a skin picture
// of the mask's size.
IniStore ShapedSkin(QImage* maskImage = nullptr)
{
    QImage mask(300, 400, QImage::Format_RGB888);
    mask.fill(Qt::black);
    {
        QPainter painter(&mask);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QRect(0, 0, 300, 400));
    }
    QImage background(300, 400, QImage::Format_RGB32);
    for (int y = 0; y < background.height(); ++y)
        for (int x = 0; x < background.width(); ++x)
            background.setPixel(x, y, qRgb(40 + x / 2, 60 + y / 3, 140));
    IniStore doc;
    doc.writeBool("Skin", "En", true);
    doc.writeBinary("Skin", "Maska", Stream(Encoded(mask, "BMP")));
    doc.writeBinary("Skin", "Skin", Stream(Encoded(background, "JPG")));
    doc.writeInteger("PC1", "L", 40);
    doc.writeInteger("PC1", "T", 200);
    doc.writeInteger("PRys", "L", 60);
    doc.writeInteger("PRys", "T", 20);
    doc.writeInteger("PRys", "S", 180);
    doc.writeInteger("PRys", "W", 150);
    if (maskImage) *maskImage = mask;
    return doc;
}

// Font sizes the size pickers of "Właściwości" do not draw as they are: the
// description's past its limits is drawn at the pickers' stand-in size, and
// a path label's below 1 point at the size the first path label's editors
// gave all four.
IniStore FontSizesSkin()
{
    IniStore doc;
    doc.writeBool("Skin", "En", false);
    doc.writeInteger("OP1", "FSize", 1000);
    doc.writeInteger("L1", "FSize", 20);
    doc.writeInteger("L2", "FSize", 0);
    return doc;
}

IniStore DefaultSkin()
{
    IniStore doc;
    doc.writeBool("Skin", "En", false);
    return doc;
}

// Loads a skin file into the editor as a user does, through the "Plik" tab,
// and takes the preview's picture without the selection mark.
QImage EditorGrab(TestProgram& program, const QString& file)
{
    program.dialogs->answerFile(file);
    QTest::mouseClick(program.FBox().Button1, Qt::LeftButton);
    QCoreApplication::processEvents();
    // Something selected, as while editing: the mark must not matter.
    program.FBox().SelectComponent(3);
    program.F().Selection->hide();
    QCoreApplication::sendPostedEvents();
    QImage shot = program.F().grab().toImage();
    program.F().Selection->show();
    return shot.convertToFormat(QImage::Format_ARGB32);
}

SkintoolRun Render(const QStringList& args)
{
    return RunSkintool(QStringList{QStringLiteral("render")} + args);
}

// Where two pictures first differ, for the failure message; empty when
// they are the same. No tolerance: the tool draws through the editor's own
// grab, with the same Qt on the same machine, and every pixel compared is
// opaque, so both sides take the same routines whatever the processor.
QString Difference(const QImage& a, const QImage& b, const QRegion& within = {})
{
    return fabulor::testing::PictureDifference(a, b, 0, within);
}

QImage ReadPng(const QString& path)
{
    QImage image(path, "PNG");
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class SkintoolRenderTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // The tool's settings, if it kept any, would land here: it must not.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(QStringLiteral("config"))));
    }

    void unshapedSkinsAreTheEditorsGrab_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::newRow("default") << QStringLiteral("default") << QSize(623, 364);
        QTest::newRow("moved, coloured, a button picture") << QStringLiteral("moved") << QSize(520, 330);
        QTest::newRow("font sizes past the editors' limits") << QStringLiteral("fonts") << QSize(623, 364);
    }
    void unshapedSkinsAreTheEditorsGrab()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        const IniStore doc = name == "default" ? DefaultSkin()
                             : name == "moved" ? MovedSkin()
                                               : FontSizesSkin();
        const QString skin = SaveSkin(doc, path(name + ".ski"));
        const QString out = path(name + ".png");
        const SkintoolRun run = Render({skin, out});
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        const QImage rendered(out, "PNG");
        QVERIFY(!rendered.hasAlphaChannel()); // no shape: nothing to see through
        QCOMPARE(rendered.size(), size);

        TestProgram program;
        const QImage grab = EditorGrab(program, skin);
        const QString difference = Difference(rendered.convertToFormat(QImage::Format_ARGB32), grab);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        // Rendering did not make the skin one of the user's recent skins.
        QVERIFY(!QDir(path(QStringLiteral("config"))).exists(QStringLiteral("Fabulor")));
    }

    // Left to itself the tool picks the headless platform it needs.
    void withoutAPlatformNamedTheToolIsHeadless()
    {
        const QString skin = SaveSkin(DefaultSkin(), path(QStringLiteral("unset.ski")));
        const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
        qunsetenv("QT_QPA_PLATFORM");
        const SkintoolRun run = Render({skin, path(QStringLiteral("unset.png"))});
        qputenv("QT_QPA_PLATFORM", platform);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(QImage(path(QStringLiteral("unset.png")), "PNG").size(), QSize(623, 364));
    }

    // Pictures past the memory one skin's pictures may take are drawn as the
    // editor shows them: as pictures that do not decode. Two of the largest
    // pictures, beyond the window's edge (so drawing it decodes neither),
    // leave no room for the menu button's small red one.
    void picturesPastTheSkinsMemoryAreNotDrawn()
    {
        IniStore doc = DefaultSkin();
        for (const char* section : {"PClose", "PMini"}) {
            doc.writeInteger(section, "L", 1000);
            doc.writeString(section, "MP1", fabulor::testing::LargestJpegHex(section[1]));
        }
        doc.writeBinary("PMenu", "MP1", Stream(Encoded(Face({27, 25}, Qt::red), "JPG")));
        const QString skin = SaveSkin(doc, path(QStringLiteral("memory.ski")));
        const QString out = path(QStringLiteral("memory.png"));
        const SkintoolRun run = Render({skin, out});
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        const QImage rendered = ReadPng(out);
        const QRect menu(396, 16, 27, 25); // the menu button's place
        for (int y = menu.top(); y <= menu.bottom(); ++y)
            for (int x = menu.left(); x <= menu.right(); ++x) {
                const QRgb pixel = rendered.pixel(x, y);
                QVERIFY2(!(qRed(pixel) > 90 && qGreen(pixel) < 60 && qBlue(pixel) < 60),
                         qPrintable(QStringLiteral("red at %1,%2").arg(x).arg(y)));
            }
        TestProgram program;
        const QString difference = Difference(rendered, EditorGrab(program, skin));
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    // The comparison sees a change of one colour.
    void oneColourChangedIsSeen()
    {
        IniStore changed = MovedSkin();
        changed.writeColour("LB", "Color", 0x0000C100);
        const QString out = path(QStringLiteral("changed.png"));
        QCOMPARE(Render({SaveSkin(changed, path(QStringLiteral("changed.ski"))), out}).exitCode, 0);
        TestProgram program;
        const QImage original =
            EditorGrab(program, SaveSkin(MovedSkin(), path(QStringLiteral("original.ski"))));
        QVERIFY(!Difference(ReadPng(out), original).isEmpty());
    }

    void shapedSkinIsTheGrabInsideItsShapeAndTransparentOutside()
    {
        QImage mask;
        const QString skin = SaveSkin(ShapedSkin(&mask), path(QStringLiteral("shaped.ski")));
        const QString out = path(QStringLiteral("shaped.png"));
        const SkintoolRun run = Render({skin, out});
        QCOMPARE(run.exitCode, 0);
        const QImage rendered = ReadPng(out);
        QCOMPARE(rendered.size(), mask.size());

        TestProgram program;
        const QImage grab = EditorGrab(program, skin);
        QCOMPARE(grab.size(), mask.size());
        // The shape as the mask rule gives it: what differs from the
        // top-left pixel shows.
        QRegion shape;
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < mask.width(); ++x)
                if (mask.pixel(x, y) != mask.pixel(0, 0)) shape += QRect(x, y, 1, 1);
        QVERIFY(!shape.isEmpty());
        QCOMPARE(program.F().mask(), shape);
        const QString difference = Difference(rendered, grab, shape);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        int transparent = 0;
        for (int y = 0; y < rendered.height(); ++y)
            for (int x = 0; x < rendered.width(); ++x) {
                const bool inside = shape.contains(QPoint(x, y));
                QCOMPARE(qAlpha(rendered.pixel(x, y)), inside ? 255 : 0);
                transparent += inside ? 0 : 1;
            }
        QVERIFY(transparent > 10000);
    }

    // Masks of millions of rectangles, up to the region builder's limit: far
    // too many for the window to take as its shape, and for Qt's painter to
    // clip to, but the picture has the skin's shape all the same.
    void busyMasksKeepTheirShape_data()
    {
        QTest::addColumn<int>("side"); // of a checkerboard of one-pixel squares
        QTest::newRow("1500: a million rectangles") << 1500;
        QTest::newRow("4096: the region builder's limit") << 4096;
    }
    void busyMasksKeepTheirShape()
    {
        QFETCH(int, side);
        QImage mask(side, side, QImage::Format_Mono);
        mask.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        for (int y = 0; y < side; ++y)
            std::memset(mask.scanLine(y), (y & 1) ? 0xAA : 0x55, std::size_t(mask.bytesPerLine()));
        IniStore doc;
        doc.writeBool("Skin", "En", true);
        doc.writeBinary("Skin", "Maska", Stream(Encoded(mask, "BMP")));
        const QString name = QStringLiteral("checkerboard%1").arg(side);
        const QString out = path(name + ".png");
        const SkintoolRun run = Render({SaveSkin(doc, path(name + ".ski")), out});
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        const QImage rendered = ReadPng(out);
        QCOMPARE(rendered.size(), QSize(side, side));
        // The top-left square is black: hidden. Alpha is only 0 or 255 here,
        // which no routine of Qt's rounds, so it is compared exactly.
        for (int y = 0; y < side; y += 7)
            for (int x = 0; x < side; x += 5)
                if (qAlpha(rendered.pixel(x, y)) != ((x + y) % 2 ? 255 : 0))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
    }

    void hoverDrawsTheButtonsMouseOverPicture_data()
    {
        QTest::addColumn<QString>("component");
        QTest::addColumn<QString>("section");
        QTest::newRow("close button") << QStringLiteral("PClose") << QStringLiteral("PClose");
        // On the page "Kierunki", not shown until the button is asked for;
        // named in any letter case.
        QTest::newRow("up button, on a hidden page") << QStringLiteral("pg") << QStringLiteral("PG");
    }
    void hoverDrawsTheButtonsMouseOverPicture()
    {
        QFETCH(QString, component);
        QFETCH(QString, section);
        const std::string key = section.toStdString();
        IniStore doc = MovedSkin();
        // Nothing lies over the two buttons.
        doc.writeInteger("PRys", "L", 260);
        doc.writeInteger("PRys", "T", 50);
        doc.writeInteger("PRys", "S", 120);
        doc.writeInteger("PRys", "W", 100);
        doc.writeInteger("PClose", "L", 440);
        doc.writeInteger("PClose", "T", 60);
        const QByteArray over = Encoded(Face({50, 36}, QColor(200, 40, 40)), "JPG");
        doc.writeBinary(key, "MP1", Stream(Encoded(Face({30, 24}, QColor(40, 40, 200)), "JPG")));
        doc.writeBinary(key, "MP2", Stream(over));
        const QString skin = SaveSkin(doc, path(section + "-hover.ski"));
        const QString out = path(section + "-hover.png");
        const SkintoolRun run = Render({skin, out, QStringLiteral("--hover"), component});
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        const QImage rendered = QImage(out, "PNG").convertToFormat(QImage::Format_RGB32);

        // Where the button lies on the window, from the editor itself.
        TestProgram program;
        EditorGrab(program, skin);
        QWidget* button = program.F().findChild<QWidget*>(section);
        QVERIFY(button);
        const QPoint at = button->mapTo(&program.F(), QPoint(0, 0));
        // Exactly the decoded picture: opaque, drawn at its own size.
        const QImage shown = rendered.copy(QRect(at, QSize(50, 36)));
        const QString difference = Difference(shown, Decoded(over));
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    void sizeScalesTheLongerSideAndKeepsTransparency_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("wide, smaller")
            << QStringLiteral("default") << QStringLiteral("100") << QSize(100, 58);
        QTest::newRow("wide, larger")
            << QStringLiteral("default") << QStringLiteral("1246") << QSize(1246, 728);
        QTest::newRow("tall, shaped") << QStringLiteral("shaped") << QStringLiteral("200") << QSize(150, 200);
        QTest::newRow("one pixel") << QStringLiteral("default") << QStringLiteral("1") << QSize(1, 1);
    }
    void sizeScalesTheLongerSideAndKeepsTransparency()
    {
        QFETCH(QString, name);
        QFETCH(QString, size);
        QFETCH(QSize, expected);
        const QString skin =
            SaveSkin(name == "shaped" ? ShapedSkin() : DefaultSkin(), path(name + "-sized.ski"));
        const QString out = path(name + "-" + size + ".png");
        const SkintoolRun run = Render({skin, out, QStringLiteral("--size"), size});
        QCOMPARE(run.exitCode, 0);
        const QImage rendered = ReadPng(out);
        QCOMPARE(rendered.size(), expected);
        if (name == "shaped") {
            QCOMPARE(qAlpha(rendered.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(rendered.pixel(expected.width() - 1, expected.height() - 1)), 0);
            QCOMPARE(qAlpha(rendered.pixel(expected.width() / 2, expected.height() / 2)), 255);
        }
    }

    // A skin that cannot be read fails with the load's own message and
    // writes nothing: no picture, no half file, an older picture kept.
    void unreadableSkinsFailAndWriteNothing_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QStringLiteral("missing.ski") << QStringLiteral("Cannot open file ");
        QTest::newRow("no archive") << QStringLiteral("garbage.ski") << QString();
        QTest::newRow("a folder") << QStringLiteral("folder.ski") << QStringLiteral("Cannot open file ");
    }
    void unreadableSkinsFailAndWriteNothing()
    {
        QFETCH(QString, skin);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QFile garbage(dir.filePath(QStringLiteral("garbage.ski")));
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write("PK\x03\x04 this is no archive at all");
        garbage.close();
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.ski")));

        const QString fresh = dir.filePath(QStringLiteral("fresh.png"));
        SkintoolRun run = Render({dir.filePath(skin), fresh});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.startsWith(message.toUtf8()));
        QVERIFY(run.err.size() > 5);
        QVERIFY(!QFile::exists(fresh));

        const QString older = dir.filePath(QStringLiteral("older.png"));
        QFile file(older);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("an older picture");
        file.close();
        run = Render({dir.filePath(skin), older});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("an older picture"));
        // Nothing beside it either.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    // A size no reader window has is held to the size editors' limit, as
    // the editor holds it, rather than drawn.
    void aHugeWindowIsHeldToTheEditorsLimit()
    {
        IniStore doc = DefaultSkin();
        doc.writeInteger("Skin", "W", 100000);
        const QString out = path(QStringLiteral("huge.png"));
        const SkintoolRun run = Render({SaveSkin(doc, path(QStringLiteral("huge.ski"))), out});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QImage(out).width(), 5000);
    }

    // Places, sizes and borders near the ends of int are held as the
    // editor holds them: drawn, with no edge overflowing on the way.
    void numbersNearTheEndsOfIntAreHeld()
    {
        IniStore doc = DefaultSkin();
        for (const char* section : {"PC1", "LB", "PClose", "P1"}) {
            doc.writeString(section, "L", "-2147483648");
            doc.writeString(section, "T", "2147483647");
            doc.writeString(section, "S", "2147483647");
            doc.writeString(section, "W", "-2147483648");
        }
        doc.writeString("PC1", "Border", "-2147483648");
        const QString out = path(QStringLiteral("ends.png"));
        const SkintoolRun run = Render({SaveSkin(doc, path(QStringLiteral("ends.ski"))), out});
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QImage(out).size(), QSize(623, 364));
    }

    void outputThatCannotBeWrittenFails()
    {
        const QString skin = SaveSkin(DefaultSkin(), path(QStringLiteral("plain.ski")));
        const SkintoolRun run = Render({skin, path(QStringLiteral("no/such/folder/out.png"))});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(!run.err.isEmpty());
    }

    void wrongWordsAreUsageErrors_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown component") << QStringList{"--hover", "PNope"} << "unknown component PNope";
        QTest::newRow("no button") << QStringList{"--hover", "PRys"} << "PRys is no button";
        QTest::newRow("warning sign: no mouse-over picture")
            << QStringList{"--hover", "PUwaga"} << "PUwaga is no";
        QTest::newRow("label") << QStringList{"--hover", "L1"} << "L1 is no button";
        QTest::newRow("size 0") << QStringList{"--size", "0"} << "--size must be";
        QTest::newRow("size too large") << QStringList{"--size", "4097"} << "--size must be";
        QTest::newRow("size negative") << QStringList{"--size", "-5"} << "--size must be";
        QTest::newRow("size not a number") << QStringList{"--size", "12px"} << "--size must be";
        QTest::newRow("size empty") << QStringList{"--size", ""} << "--size must be";
        QTest::newRow("size twice") << QStringList{"--size", "10", "--size", "20"} << "--size given twice";
        QTest::newRow("unknown option") << QStringList{"--scale", "2"} << "unknown option --scale";
        QTest::newRow("option without value") << QStringList{"--hover"} << "--hover needs a value";
        QTest::newRow("stray word") << QStringList{"extra"} << "unknown option extra";
    }
    void wrongWordsAreUsageErrors()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, message);
        // Checked before the skin is read: even a good skin gets no picture.
        const QString skin = SaveSkin(DefaultSkin(), path(QStringLiteral("usage.ski")));
        const QString out = path(QStringLiteral("usage.png"));
        const SkintoolRun run = Render(QStringList{skin, out} + options);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
        QVERIFY(run.err.contains("usage: skintool render FILE.ski OUT.png"));
        QVERIFY(!QFile::exists(out));
    }

    // The drawing itself, shared with the editor.

    // Whatever the editor lays over the window, the page control or a page
    // is left out, and shows again afterwards.
    void marksOverTheSkinAreLeftOut()
    {
        TestProgram program;
        TF& F = program.F();
        const QImage clean = EditorGrab(program, SaveSkin(MovedSkin(), path(QStringLiteral("marks.ski"))));
        program.FBox().SelectComponent(1);
        QVERIFY(F.Selection->isVisible());
        std::vector<QWidget*> marks;
        for (QWidget* parent : {static_cast<QWidget*>(&F), static_cast<QWidget*>(F.PC1), F.Sytuacje}) {
            auto* mark = new QWidget(parent);
            mark->setAutoFillBackground(true);
            mark->setPalette(QPalette(Qt::red));
            mark->setGeometry(0, 0, 400, 400);
            mark->show();
            marks.push_back(mark);
        }
        auto* hiddenMark = new QWidget(&F);
        hiddenMark->hide();

        const QString difference = Difference(RenderSkin(F).convertToFormat(QImage::Format_ARGB32), clean);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        QVERIFY(F.Selection->isVisible());
        for (QWidget* mark : marks)
            QVERIFY(mark->isVisible());
        QVERIFY(hiddenMark->isHidden());
    }

    // Drawn under the pointer as "Podgląd najechania" shows it, and the
    // preview left as it was: its page, the button's size, its picture.
    void hoveredIsWhatTheHoverPreviewShows()
    {
        TestProgram program;
        TF& F = program.F();
        TFBox& box = program.FBox();
        IniStore doc = MovedSkin();
        doc.writeBinary("PClose", "MP2", Stream(Encoded(Face({50, 36}, QColor(200, 40, 40)), "JPG")));
        doc.writeBinary("PG", "MP2", Stream(Encoded(Face({44, 20}, QColor(200, 200, 40)), "JPG")));
        const QImage plain = EditorGrab(program, SaveSkin(doc, path(QStringLiteral("hovered.ski"))));
        const QSize closeSize = F.PClose->size();

        const QImage hovered = RenderSkinHovered(F, box.hover(), 3).convertToFormat(QImage::Format_ARGB32);
        QVERIFY(!Difference(hovered, plain).isEmpty());
        QCOMPARE(F.PClose->size(), closeSize);
        QVERIFY(!F.BClose->hasStandIn());
        QCOMPARE(Difference(RenderSkin(F).convertToFormat(QImage::Format_ARGB32), plain), QString());

        const int up = 10; // PG, on page 1
        RenderSkinHovered(F, box.hover(), up);
        QCOMPARE(F.PC1->activePageIndex(), 0);
        QVERIFY(!F.BG->hasStandIn());

        // The pointer over the button with the view option on.
        box.hover().HoverCheck->setChecked(true);
        QWindow* window = F.windowHandle();
        QTest::mouseMove(window, QPoint(2, 2));
        QTest::mouseMove(window, QPoint(1, 1));
        QTest::mouseMove(window, F.BClose->mapTo(&F, QPoint(5, 5)));
        QVERIFY(F.BClose->hasStandIn());
        F.Selection->hide();
        QCoreApplication::sendPostedEvents();
        const QImage underPointer = F.grab().toImage().convertToFormat(QImage::Format_ARGB32);
        F.Selection->show();
        const QString difference = Difference(hovered, underPointer);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        // Afterwards the pointer still has its say.
        RenderSkinHovered(F, box.hover(), up);
        QVERIFY(F.BClose->hasStandIn());
    }
};

// The editor runs here on the same frameless offscreen platform the tool
// draws on, which the tool, started from here, takes over as it is.
int main(int argc, char** argv)
{
    QTemporaryFile platform;
    fabulor::UseHeadlessPlatform(platform);
    fabulor::Application app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    const fabulor::testing::TemporarySettings settings;
    SkintoolRenderTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_skintool_render.moc"
