// "Utwórz maskę z obrazu…": the mask maker on the "Skóra" tab, driven as the
// user drives it: picking the key colour on the picture, the tolerance, the
// shown shape, saving the mask as one step, and cancelling.

#include "editor/MaskMakerDialog.h"
#include "editor/SettingsWindow.h"
#include "graphics/Bitmap.h"
#include "pictures/Region.h"
#include "pictures/TransparentForm.h"
#include "support/TestProgram.h"
#include "widgets/FileNameEdit.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

using namespace fabulor;
using fabulor::testing::TestProgram;

namespace {

const QColor Blue(30, 60, 200);
const QColor Red(220, 40, 40);

// A blue JPEG picture with a red box: the blue is meant to go.
QString SavePicture(const QTemporaryDir& dir, QSize size = {120, 80}, QRect box = {20, 15, 60, 40})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Blue);
    QPainter(&image).fillRect(box, Red);
    const QString path = dir.filePath(QStringLiteral("skin.jpg"));
    return image.save(path, "JPG", 95) ? path : QString();
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Snapshot {
    std::string document;
    QString maskName;
    bool shaped = false;
    QRegion region;
    int steps = 0;
};

Snapshot Take(TestProgram& program)
{
    TFBox& box = program.FBox();
    box.SaveStateToDocument();
    return {program.text(), box.Maska->text(), program.F().Mask->active(), program.F().mask(),
            box.history().stack().index()};
}

void CompareSnapshots(const Snapshot& actual, const Snapshot& expected)
{
    QCOMPARE(actual.document, expected.document);
    QCOMPARE(actual.maskName, expected.maskName);
    QCOMPARE(actual.shaped, expected.shaped);
    QCOMPARE(actual.region, expected.region);
    QCOMPARE(actual.steps, expected.steps);
}

// The program with "Użyj skóry" on, the picture chosen as skin picture and
// the "Skóra" tab showing.
void UsePicture(TestProgram& program, const QString& picture)
{
    TFBox& box = program.FBox();
    box.PCTRL->setCurrentWidget(box.Skora);
    box.CheckBox2->setChecked(true);
    program.dialogs->answerFile(picture);
    QTest::mouseClick(box.Skin->browseButton(), Qt::LeftButton);
}

MaskMakerDialog* Open(TestProgram& program)
{
    QTest::mouseClick(program.FBox().maskMaker().MaskMakerButton, Qt::LeftButton);
    return program.FBox().maskMaker().MaskMaker;
}

} // namespace

class MaskMakerTest : public QObject {
    Q_OBJECT
private slots:
    void buttonNeedsTheSkinSwitchAndAJpegSkinPicture()
    {
        QTemporaryDir dir;
        TestProgram program;
        TFBox& box = program.FBox();
        box.PCTRL->setCurrentWidget(box.Skora);
        QVERIFY(!box.maskMaker().MaskMakerButton->isEnabled()); // switch off, no picture
        box.CheckBox2->setChecked(true);
        QVERIFY(!box.maskMaker().MaskMakerButton->isEnabled()); // no picture
        UsePicture(program, SavePicture(dir));
        QVERIFY(box.maskMaker().MaskMakerButton->isEnabled());
        box.CheckBox2->setChecked(false);
        QVERIFY(!box.maskMaker().MaskMakerButton->isEnabled());
        box.CheckBox2->setChecked(true);

        // A bitmap as skin picture is stored but never shown: nothing to make a mask of.
        const QString bmp = dir.filePath(QStringLiteral("skin.bmp"));
        QVERIFY(QImage(SavePicture(dir)).save(bmp, "BMP"));
        program.dialogs->answerFile(bmp);
        QTest::mouseClick(box.Skin->browseButton(), Qt::LeftButton);
        QVERIFY(!box.maskMaker().MaskMakerButton->isEnabled());
        // Undoing brings the JPEG picture back, and the button with it.
        box.history().stack().undo();
        QVERIFY(box.maskMaker().MaskMakerButton->isEnabled());
    }

    void clickPicksTheKeyAndTheShapeFollows()
    {
        QTemporaryDir dir;
        TestProgram program;
        const QString picture = SavePicture(dir);
        UsePicture(program, picture);
        MaskMakerDialog* dialog = Open(program);
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->View->size(), QSize(120, 80)); // small pictures show whole
        // Compared exactly: our own decoder's pixels, and a view that copies
        // them (sampled, not smoothed).
        const QImage decoded = dialog->picture();

        // Starts from the top-left pixel's colour: a usable mask at once.
        QCOMPARE(QColor(dialog->key().colour), QColor(decoded.pixel(0, 0)));
        QVERIFY(dialog->SaveButton->isEnabled());

        // Picking the box's red would show the background and hide the box.
        QTest::mouseClick(dialog->View, Qt::LeftButton, {}, QPoint(50, 35));
        QCOMPARE(dialog->KeyEdit->text(), QColor(decoded.pixel(50, 35)).name().toUpper());
        QVERIFY(!dialog->SaveButton->isEnabled());
        QVERIFY(dialog->Status->text().contains(QStringLiteral("Lewy górny piksel")));

        QTest::mouseClick(dialog->View, Qt::LeftButton, {}, QPoint(100, 70));
        QCOMPARE(QColor(dialog->key().colour), QColor(decoded.pixel(100, 70)));
        QVERIFY(dialog->SaveButton->isEnabled());
        // The shown shape is the red box: checkered outside, the picture inside.
        const MadeMask& shown = dialog->shownMask();
        const QRegion region = BuildRegionFromImage(shown.image);
        QVERIFY(region.contains(QRect(24, 19, 52, 32)));
        QVERIFY(!region.contains(QPoint(0, 0)));
        QVERIFY(!region.contains(QPoint(119, 79)));
        QCOMPARE(dialog->View->image().pixel(60, 35), decoded.pixel(60, 35));
        QVERIFY(dialog->View->image().pixel(2, 2) != decoded.pixel(2, 2));
    }

    void toleranceChangesTheShownShape()
    {
        QTemporaryDir dir;
        TestProgram program;
        UsePicture(program, SavePicture(dir));
        MaskMakerDialog* dialog = Open(program);
        QVERIFY(dialog);

        dialog->ToleranceSpin->setValue(0);
        QCOMPARE(dialog->ToleranceSlider->value(), 0);
        const std::uint64_t exact = dialog->shownMask().hidden;
        const QImage exactView = dialog->View->image();
        dialog->ToleranceSlider->setValue(60);
        QCOMPARE(dialog->ToleranceSpin->value(), 60);
        QCOMPARE(dialog->key().tolerance, 60);
        // The picture's compression noise is hidden now too.
        QVERIFY(dialog->shownMask().hidden > exact);
        QVERIFY(dialog->View->image() != exactView);

        // So wide that the red goes too: one colour, no shape.
        dialog->ToleranceSpin->setValue(255);
        QVERIFY(!dialog->SaveButton->isEnabled());
        QVERIFY(dialog->Status->text().contains(QStringLiteral("Cały obraz")));

        // A typed colour counts as a picked one; text that is no colour stops saving.
        dialog->ToleranceSpin->setValue(20);
        dialog->KeyEdit->selectAll();
        QTest::keyClicks(dialog->KeyEdit, QStringLiteral("#FF00FF"));
        QCOMPARE(dialog->key().colour, qRgb(255, 0, 255));
        QVERIFY(!dialog->SaveButton->isEnabled()); // the top-left pixel is not magenta
        dialog->KeyEdit->selectAll();
        QTest::keyClicks(dialog->KeyEdit, QStringLiteral("niebieski"));
        QVERIFY(!dialog->SaveButton->isEnabled());
        dialog->KeyEdit->selectAll();
        QTest::keyClicks(dialog->KeyEdit, dialog->picture().pixelColor(0, 0).name());
        QVERIFY(dialog->SaveButton->isEnabled());
    }

    void savingShapesTheWindowAndOneUndoTakesItBack()
    {
        QTemporaryDir dir;
        TestProgram program;
        TFBox& box = program.FBox();
        UsePicture(program, SavePicture(dir));
        const Snapshot before = Take(program);
        MaskMakerDialog* dialog = Open(program);
        QVERIFY(dialog);
        dialog->ToleranceSpin->setValue(40);
        QTest::mouseClick(dialog->View, Qt::LeftButton, {}, QPoint(5, 5));

        const QString made = dir.filePath(QStringLiteral("made.bmp"));
        program.dialogs->answerFile(made);
        QTest::mouseClick(dialog->SaveButton, Qt::LeftButton);
        QCOMPARE(program.dialogs->fileDialogs.size(), 2); // the skin picture's, then this
        QCOMPARE(program.dialogs->fileDialogs.back().kind, FileDialogOptions::Kind::Save);
        QCOMPARE(program.dialogs->fileDialogs.back().defaultExtension, QStringLiteral("bmp"));
        QVERIFY(program.dialogs->errors.isEmpty());
        QVERIFY(!box.maskMaker().MaskMaker);

        // The file, the document and the window all hold the new mask.
        const QByteArray bytes = ReadAll(made);
        QVERIFY(bytes.startsWith("BM"));
        QCOMPARE(QByteArray::fromStdString(program.doc().readString("Skin", "Maska", "")),
                 bytes.toHex().toUpper());
        QCOMPARE(box.Maska->text(), made);
        QVERIFY(program.F().Mask->active());
        Bitmap mask;
        ReadMaskBitmap(QFile::encodeName(made).toStdString(), mask);
        QCOMPARE(QSize(mask.width(), mask.height()), QSize(120, 80));
        const QRegion shape = BuildRegionFromMask(mask);
        QCOMPARE(program.F().mask(), shape);
        QVERIFY(shape.contains(QRect(24, 19, 52, 32)));
        QVERIFY(!shape.contains(QPoint(0, 0)));
        QCOMPARE(box.history().stack().index(), before.steps + 1);
        QCOMPARE(box.history().stack().undoText(), QStringLiteral("maska"));

        // One Ctrl+Z takes all of it back; the file stays. (The dialog goes
        // in the event loop, as it does between the user's keys.)
        QCoreApplication::processEvents();
        QTest::keyClick(&program.F(), Qt::Key_Z, Qt::ControlModifier);
        CompareSnapshots(Take(program), before);
        QVERIFY(QFile::exists(made));
        box.history().stack().redo();
        QCOMPARE(program.F().mask(), shape);
    }

    void cancellingAnywhereChangesNothing()
    {
        QTemporaryDir dir;
        TestProgram program;
        TFBox& box = program.FBox();
        UsePicture(program, SavePicture(dir));
        const Snapshot before = Take(program);
        const QString made = dir.filePath(QStringLiteral("made.bmp"));

        // Cancelling the file dialog: no file, the mask maker stays open.
        MaskMakerDialog* dialog = Open(program);
        QVERIFY(dialog);
        program.dialogs->cancelFile();
        QTest::mouseClick(dialog->SaveButton, Qt::LeftButton);
        QCOMPARE(box.maskMaker().MaskMaker, dialog);
        QVERIFY(dialog->isVisible());
        QVERIFY(!QFile::exists(made));
        CompareSnapshots(Take(program), before);

        // A file that cannot be written: its error, no step.
        program.dialogs->answerFile(dir.filePath(QStringLiteral("gone/made.bmp")));
        QTest::mouseClick(dialog->SaveButton, Qt::LeftButton);
        QCoreApplication::processEvents(); // the failure reaches the error box from a queued call
        QCOMPARE(program.dialogs->errors.size(), 1);
        QVERIFY(program.dialogs->errors.front().startsWith(QStringLiteral("Cannot open file")));
        QVERIFY(dialog->isVisible());
        CompareSnapshots(Take(program), before);

        // "Anuluj" after a pick.
        QTest::mouseClick(dialog->View, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseClick(dialog->CancelButton, Qt::LeftButton);
        QVERIFY(!box.maskMaker().MaskMaker);
        CompareSnapshots(Take(program), before);
        QCOMPARE(program.dialogs->fileDialogs.size(), 3);
    }

    void largePicturesShowScaledDownAndSaveWhole()
    {
        QTemporaryDir dir;
        TestProgram program;
        // Twice the largest shown size; the box's right half lies in the
        // picture's right half.
        const QSize size(2 * MaskMakerDialog::MaxViewSize.width(), 2 * MaskMakerDialog::MaxViewSize.height());
        UsePicture(program, SavePicture(dir, size, QRect(size.width() / 2, 100, 400, 300)));
        MaskMakerDialog* dialog = Open(program);
        QVERIFY(dialog);
        QCOMPARE(dialog->View->size(), MaskMakerDialog::MaxViewSize);
        QCOMPARE(dialog->picture().size(), size);

        // A click in the shown box picks the red of the whole picture's box.
        // View pixel 450,100 covers picture pixels 900-901, 200-201; the middle one counts.
        QTest::mouseClick(dialog->View, Qt::LeftButton, {}, QPoint(size.width() / 4 + 50, 100));
        QCOMPARE(QColor(dialog->key().colour), dialog->picture().pixelColor(size.width() / 2 + 101, 201));

        dialog->setKeyColour(dialog->picture().pixel(0, 0));
        dialog->ToleranceSpin->setValue(40);
        const QString made = dir.filePath(QStringLiteral("made.bmp"));
        program.dialogs->answerFile(made);
        QTest::mouseClick(dialog->SaveButton, Qt::LeftButton);
        Bitmap mask;
        ReadMaskBitmap(QFile::encodeName(made).toStdString(), mask);
        QCOMPARE(QSize(mask.width(), mask.height()), size);
        QCOMPARE(program.F().mask(), BuildRegionFromMask(mask));
    }
};

FSB_PROGRAM_TEST_MAIN(MaskMakerTest)
#include "test_maskmakerdialog.moc"
