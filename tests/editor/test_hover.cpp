// The mouse-over preview: off, the pointer changes nothing and no mouse-over
// picture is decoded; on, a button shows its mouse-over picture while the
// pointer is over it and exactly its own picture again when it leaves, the
// band's two boxes show the current button's pictures, and nothing saved or
// taken back ever sees the picture shown under the pointer.

#include "editor/HoverPreview.h"
#include "editor/SettingsWindow.h"
#include "graphics/JpegPicture.h"
#include "preview/InteractiveMove.h"
#include "preview/PreviewWindow.h"
#include "preview/SelectionFrame.h"
#include "support/TestData.h"
#include "support/TestProgram.h"
#include "widgets/FileNameEdit.h"
#include "widgets/Panel.h"
#include "widgets/PictureBox.h"

#include <QCheckBox>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>
#include <QWindow>

#include <span>

using namespace fabulor;
using fabulor::testing::TestProgram;

namespace {

// 320 x 240 and 64 x 48 JPEG pictures; a bitmap, which never shows.
const QString Big = testing::TestData::Jpeg320x240;
const QString Small = testing::DataFile(u"bmp/jpeg_named.bmp");
const QString Grey = testing::DataFile(u"jpeg/cjpeg_greyscale_320x240.jpg");
const QString NotJpeg = testing::TestData::Bitmap64x48;

constexpr int Close = 3;  // "Przycisk [Zamknij]", on the window itself
constexpr int Mini = 4;   // "Przycisk [Minimalizuj]"
constexpr int Uwaga = 16; // "Rysunek [Uwaga]": no mouse-over picture

// Chooses a button's picture in the band's dialog, as the user does: one step.
void Choose(TestProgram& program, int component, FileNameEdit* edit, const QString& file)
{
    program.FBox().SelectComponent(component);
    program.dialogs->answerFile(file);
    QTest::mouseClick(edit->browseButton(), Qt::LeftButton);
}

// Moves the pointer near the top-left corner of a widget of the preview (a
// button may reach beyond the window), or to the window's own corner, away
// from every button. Widgets get enter and leave only once the window knows
// what the pointer is over, and a move to where the pointer already is (the
// last test left it there) does not tell it: the first moves do.
void PointAt(TestProgram& program, QWidget* widget)
{
    QWindow* window = program.F().windowHandle();
    QTest::mouseMove(window, QPoint(2, 2));
    QTest::mouseMove(window, QPoint(1, 1));
    if (widget) QTest::mouseMove(window, widget->mapTo(&program.F(), QPoint(5, 5)));
}

// Two such pictures are compared exactly: the same drawing on the same
// machine gives the same pixels, whichever routines Qt picks for the processor.
QImage Preview(TestProgram& program)
{
    // The mark of the current component is no part of what is compared.
    program.F().Selection->hide();
    QCoreApplication::sendPostedEvents();
    QImage shot = program.F().grab().toImage();
    program.F().Selection->show();
    return shot;
}

// Compared exactly with Pixels(): an opaque picture drawn at its own size is
// copied, never rounded.
QImage Shown(PictureBox* box)
{
    return box->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A picture file as the program's own decoder shows it.
QImage Pixels(const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = in.readAll();
    const JpegPicture picture =
        DecodeJpegPicture(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size()));
    return picture.pixels().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class HoverTest : public QObject {
    Q_OBJECT
private slots:
    void offThePointerChangesNothingAndNothingIsDecoded()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        QVERIFY(!box.hover().HoverCheck->isChecked());
        QCOMPARE(box.hover().HoverCheck->accessibleName(), QStringLiteral("Podgląd najechania"));
        Choose(program, Close, box.MP1, Big);
        Choose(program, Close, box.MP2, Small);
        Choose(program, Mini, box.MP2, NotJpeg);
        PointAt(program, nullptr);
        const QImage before = Preview(program);

        for (PictureBox* button : {program.F().BClose, program.F().BMini}) {
            PointAt(program, button);
            QCOMPARE(Preview(program), before);
            QVERIFY(!button->hasStandIn());
        }
        PointAt(program, nullptr);
        QCOMPARE(box.hover().decodeCount(), 0);
        QCOMPARE(box.MOU->picture().kind(), Picture::Kind::None);
        QCOMPARE(box.MOV->picture().kind(), Picture::Kind::None);
    }

    void onAButtonShowsItsMouseOverPictureUnderThePointer()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        Choose(program, Close, box.MP1, Big);
        Choose(program, Close, box.MP2, Small);
        box.hover().HoverCheck->setChecked(true);
        PointAt(program, nullptr);
        const QImage away = Preview(program);
        QCOMPARE(box.hover().decodeCount(), 1); // the band's box shows it already

        PointAt(program, program.F().BClose);
        // The reader's button takes the size of the picture it shows.
        QCOMPARE(program.F().PClose->size(), QSize(64, 48));
        QCOMPARE(Shown(program.F().BClose), Pixels(Small));
        // What the button holds is still its mouse-out picture.
        QCOMPARE(program.F().BClose->picture().width(), 320);
        QVERIFY(Preview(program) != away);

        PointAt(program, nullptr);
        QCOMPARE(program.F().PClose->size(), QSize(320, 240));
        QCOMPARE(Preview(program), away);

        // Decoded once: hovering again uses what was decoded.
        PointAt(program, program.F().BClose);
        PointAt(program, nullptr);
        QCOMPARE(box.hover().decodeCount(), 1);

        // Switched off under the pointer, the button shows its own picture.
        PointAt(program, program.F().BClose);
        box.hover().HoverCheck->setChecked(false);
        QCOMPARE(Preview(program), away);
        PointAt(program, nullptr);
    }

    void withoutAUsableMouseOverPictureTheButtonStaysAsItIs()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        Choose(program, Close, box.MP1, Big);    // no mouse-over picture
        Choose(program, Mini, box.MP2, NotJpeg); // one that does not decode
        box.LoadButtonImages(false, QString(), QString());
        box.hover().HoverCheck->setChecked(true);
        PointAt(program, nullptr);
        const QImage away = Preview(program);
        for (PictureBox* button : {program.F().BClose, program.F().BMini, program.F().BUwaga}) {
            PointAt(program, button);
            QCOMPARE(Preview(program), away);
            PointAt(program, nullptr);
        }
        // Only the stored one was tried, and only once.
        QCOMPARE(box.hover().decodeCount(), 1);
        program.FBox().SelectComponent(Uwaga);
        QCOMPARE(box.MOV->picture().kind(), Picture::Kind::None);
    }

    void aNewMouseOverPictureIsDecodedAgainAndShown()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        Choose(program, Close, box.MP2, Small);
        box.hover().HoverCheck->setChecked(true);
        PointAt(program, program.F().BClose);
        QCOMPARE(Shown(program.F().BClose), Pixels(Small));

        // A mouse-over picture chosen while the pointer rests on the button
        // (a drop does that) shows at once; taking it back brings the old one.
        Choose(program, Close, box.MP2, Grey);
        QCOMPARE(Shown(program.F().BClose), Pixels(Grey));
        box.history().stack().undo();
        QCOMPARE(Shown(program.F().BClose), Pixels(Small));
        QCOMPARE(box.hover().decodeCount(), 3);
        PointAt(program, nullptr);
    }

    void theBandsBoxesShowTheCurrentButtonsPicturesFitted()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        Choose(program, Close, box.MP1, Big);
        Choose(program, Close, box.MP2, Small);
        box.hover().HoverCheck->setChecked(true);

        const auto image = [](PictureBox* thumbnail) {
            const Bitmap* bitmap = thumbnail->picture().bitmap();
            return bitmap ? bitmap->image() : QImage();
        };
        // Both 4 : 3 pictures shrink to 49 x 36, centred: rows 6 to 41. The
        // shrunk picture is opaque and placed on whole pixels: alpha is exact.
        for (PictureBox* thumbnail : {box.MOU, box.MOV}) {
            const QImage fitted = image(thumbnail);
            QCOMPARE(fitted.size(), QSize(49, 49));
            QCOMPARE(qAlpha(fitted.pixel(24, 5)), 0);
            QCOMPARE(qAlpha(fitted.pixel(24, 6)), 255);
            QCOMPARE(qAlpha(fitted.pixel(0, 41)), 255);
            QCOMPARE(qAlpha(fitted.pixel(48, 42)), 0);
        }
        // Each box shows its own picture.
        QVERIFY(image(box.MOU) != image(box.MOV));
        // Grey in, grey out: the thumbnail is of the mouse-over picture
        // (smoothing rounds the three channels alike, so grey stays grey).
        Choose(program, Close, box.MP2, Grey);
        const QRgb centre = image(box.MOV).pixel(24, 24);
        QCOMPARE(qRed(centre), qGreen(centre));
        QCOMPARE(qGreen(centre), qBlue(centre));

        // A button without pictures of its own: the built-in one, not enlarged.
        box.SelectComponent(Mini);
        QCOMPARE(qAlpha(image(box.MOU).pixel(24, 24)), 255);
        QCOMPARE(qAlpha(image(box.MOU).pixel(5, 24)), 0);
        QCOMPARE(box.MOV->picture().kind(), Picture::Kind::None);

        // Taking the choice back, and a load, show what the button now holds.
        box.SelectComponent(Close);
        const QImage chosen = image(box.MOU);
        const auto steps = [&box](bool back) {
            for (int i = 0; i < 3; ++i)
                back ? box.history().stack().undo() : box.history().stack().redo();
        };
        steps(true);
        QVERIFY(image(box.MOU) != chosen);
        QCOMPARE(box.MOV->picture().kind(), Picture::Kind::None);
        steps(false);
        QTemporaryDir dir;
        const QString saved = dir.filePath(QStringLiteral("hover.ski"));
        program.dialogs->answerFile(saved);
        QVERIFY(box.Button2Click());
        steps(true);
        box.LoadSkinFile(saved);
        QCOMPARE(image(box.MOU), chosen);
        QVERIFY(box.MOV->picture().bitmap());

        // Another component, or off: empty.
        box.SelectComponent(0);
        QCOMPARE(box.MOU->picture().kind(), Picture::Kind::None);
        box.SelectComponent(Close);
        box.hover().HoverCheck->setChecked(false);
        QCOMPARE(box.MOU->picture().kind(), Picture::Kind::None);
        QCOMPARE(box.MOV->picture().kind(), Picture::Kind::None);
    }

    void theSkinAndItsHistoryNeverSeeThePictureUnderThePointer()
    {
        // The same choices with the pointer away and on the button.
        const auto run = [](bool hovering, QImage& shot, std::string& text) {
            TestProgram program;
            TFBox& box = program.FBox();
            Choose(program, Close, box.MP2, Small);
            box.hover().HoverCheck->setChecked(true);
            PointAt(program, hovering ? program.F().BClose : nullptr);
            // The check box is a view option: no step, nothing unsaved.
            QCOMPARE(box.history().stack().count(), 1);
            Choose(program, Close, box.MP1, Big);
            box.history().stack().undo();
            QCOMPARE(program.F().BClose->picture().kind(), Picture::Kind::Bitmap);
            box.history().stack().redo();
            QCOMPARE(program.F().BClose->picture().width(), 320);
            box.SaveStateToDocument();
            text = program.text();
            PointAt(program, nullptr);
            box.SaveStateToDocument();
            QCOMPARE(program.text(), text);
            box.history().stack().undo();
            shot = Preview(program);
        };
        QImage away, hovered;
        std::string awayText, hoveredText;
        run(false, away, awayText);
        run(true, hovered, hoveredText);
        QCOMPARE(hoveredText, awayText);
        QCOMPARE(hovered, away);
    }

    void aDragIsNotInterrupted()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        Choose(program, Close, box.MP2, Small);
        box.hover().HoverCheck->setChecked(true);
        PointAt(program, nullptr);
        const QSize own = program.F().PClose->size();
        PointAt(program, program.F().BClose);
        QWindow* window = program.F().windowHandle();
        const QPoint from = program.F().PClose->mapTo(&program.F(), QPoint(5, 5));
        QTest::mousePress(window, Qt::LeftButton, {}, from);
        QVERIFY(program.F().Move->isActive());
        // Whatever the pointer crosses (here, it leaves the button), the
        // picture stays until the release.
        const QPoint to = from - QPoint(200, -150);
        QTest::mouseMove(window, to);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(program.F().BClose, &leave);
        QCOMPARE(program.F().PClose->size(), QSize(64, 48));
        QTest::mouseRelease(window, Qt::LeftButton, {}, to);
        QVERIFY(!program.F().Move->isActive());
        PointAt(program, nullptr);
        QCOMPARE(program.F().PClose->size(), own);
        box.SaveStateToDocument();
        QCOMPARE(program.doc().readInteger("PClose", "L", 0), program.F().PClose->x());
    }
};

FSB_PROGRAM_TEST_MAIN(HoverTest)
#include "test_hover.moc"
