// The preview's pictures and the memory they take: one skin's decoded
// pictures get 512 MiB together, and those past it show as pictures that do
// not decode. In the editor's own windows the pixels are decoded behind the
// windows, only for what is drawn, and a progress window lets the user give
// up waiting.

#include "document/DocumentText.h"
#include "editor/Catalogue.h"
#include "editor/HoverPreview.h"
#include "editor/PictureLoading.h"
#include "editor/SettingsWindow.h"
#include "graphics/PictureBudget.h"
#include "pictures/BuiltInPictures.h"
#include "preview/PreviewWindow.h"
#include "support/ClaimingJpeg.h"
#include "support/LoadSkin.h"
#include "support/TestProgram.h"
#include "widgets/PictureBox.h"

#include <QCheckBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

using namespace fabulor;
using namespace fabulor::testing;

namespace {

constexpr int Close = 3;
constexpr int Mini = 4;
constexpr int Up = 10; // on the directions page, which does not show at first

PictureBox* Image(TestProgram& program, int index)
{
    return ButtonForIndex(index)->image(program.F());
}

QSize BuiltInSize(int index)
{
    Picture picture;
    LoadBuiltInPicture(picture, ButtonForIndex(index)->schema->builtInPicture);
    return {picture.width(), picture.height()};
}

bool Undecoded(const PictureBox* box)
{
    return box->picture().jpeg() && !box->picture().jpeg()->decoded();
}

// The editor's own windows, with nothing decoded until the test lets it.
void InBackground(TestProgram& program)
{
    program.FBox().pictures().loadPicturesInBackground(true);
    program.FBox().pictures().Pictures->hold(true);
}

} // namespace

class PictureLoadingTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    // 26 pictures of 256 MiB each: the first two mouse-out pictures fill the
    // memory, every other button shows its built-in picture, and the skin
    // keeps all of them. A second load starts from nothing again.
    void picturesPastTheSkinsMemoryShowAsPicturesThatDoNotDecode()
    {
        TestProgram program;
        InBackground(program);
        const IniStore skin = LargestPicturesSkin();
        for (int load = 0; load < 2; ++load) {
            Load(program, m_dir, DocumentText(skin));
            for (const int index : {Close, Mini}) {
                QVERIFY(Image(program, index)->picture().jpeg());
                QCOMPARE(Image(program, index)->size(), QSize(16384, 16384));
            }
            for (int index = Mini + 1; index <= LastButtonIndex; ++index) {
                QCOMPARE(Image(program, index)->picture().kind(), Picture::Kind::Bitmap);
                QCOMPARE(Image(program, index)->size(), BuiltInSize(index));
            }
            QCOMPARE(program.FBox().pictures().pictureBudget()->used(), MaxSkinPictureBytes);
            QCOMPARE(program.text(), DocumentText(skin));
        }
    }

    void theWindowsComeFirstAndOnlyWhatIsDrawnIsDecoded()
    {
        TestProgram program;
        InBackground(program);
        IniStore skin;
        skin.writeString("PClose", "MP1", HexOf(ClaimingJpeg(4096, 4096, 'c')));
        skin.writeString("PG", "MP1", HexOf(ClaimingJpeg(4096, 4096, 'g')));
        // Milliseconds of work: drawn with its window, as ever.
        skin.writeString("PMini", "MP1", HexOf(ClaimingJpeg(1024, 1024, 'm')));
        Load(program, m_dir, DocumentText(skin));
        program.F().grab(); // drawn as the window shows
        QCOMPARE(Image(program, Close)->size(), QSize(4096, 4096));
        QVERIFY(Undecoded(Image(program, Close)));
        QVERIFY(program.FBox().pictures().Pictures->busy());
        QVERIFY(!Undecoded(Image(program, Mini)));

        program.FBox().pictures().Pictures->hold(false);
        QTRY_VERIFY(!program.FBox().pictures().Pictures->busy());
        QVERIFY(!Undecoded(Image(program, Close)));
        QVERIFY(!Image(program, Up)->isVisible());
        QVERIFY(Undecoded(Image(program, Up)));
        // What lies beyond the data is the decoder's mid grey.
        const QRgb shown = Image(program, Close)->grab(QRect(0, 0, 600, 600)).toImage().pixel(500, 500);
        QVERIFY2(qAbs(qRed(shown) - 128) <= 2 && qRed(shown) == qGreen(shown) &&
                     qGreen(shown) == qBlue(shown),
                 qPrintable(QString::number(shown, 16)));
    }

    // Loading another skin while the pictures of the last one wait: theirs
    // are never decoded.
    void aPictureReplacedWhileItWaitsIsNotDecoded()
    {
        TestProgram program;
        InBackground(program);
        IniStore skin;
        skin.writeString("PClose", "MP1", HexOf(ClaimingJpeg(4096, 4096, 'a')));
        Load(program, m_dir, DocumentText(skin));
        program.F().grab();
        const JpegPicture waiting = *Image(program, Close)->picture().jpeg();
        skin.writeString("PClose", "MP1", HexOf(ClaimingJpeg(4096, 4096, 'b')));
        Load(program, m_dir, DocumentText(skin));
        program.F().grab();

        program.FBox().pictures().Pictures->hold(false);
        QTRY_VERIFY(!program.FBox().pictures().Pictures->busy());
        QVERIFY(!Undecoded(Image(program, Close)));
        QVERIFY(!waiting.decoded());
    }

    void cancellingGivesUpEveryPictureNotDecodedYet()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        InBackground(program);
        box.pictures().Pictures->setProgressDelay(std::chrono::milliseconds(0));
        IniStore skin;
        for (const char* section : {"PClose", "PMini", "PG"})
            skin.writeString(section, "MP1", HexOf(ClaimingJpeg(4096, 4096, section[1])));
        Load(program, m_dir, DocumentText(skin));
        program.F().grab();
        QTRY_VERIFY(box.pictures().Pictures->progressWindow() &&
                    box.pictures().Pictures->progressWindow()->isVisible());
        QProgressDialog* progress = box.pictures().Pictures->progressWindow();
        QCOMPARE(progress->labelText(), QStringLiteral("Wczytywanie obrazków skórki: 1 z 2…"));
        QPushButton* cancel = progress->findChild<QPushButton*>();
        QVERIFY(cancel);
        QCOMPARE(cancel->text(), QStringLiteral("Anuluj"));
        const std::string text = program.text();

        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(!box.pictures().Pictures->busy());
        QVERIFY(!box.pictures().Pictures->progressWindow());
        for (const int index : {Close, Mini, Up}) {
            QCOMPARE(Image(program, index)->picture().kind(), Picture::Kind::Bitmap);
            QCOMPARE(Image(program, index)->size(), BuiltInSize(index));
        }
        // Nothing of the skin changed: no step, nothing to save.
        QCOMPARE(program.text(), text);
        QCOMPARE(box.history().stack().count(), 0);
        QVERIFY(box.history().stack().isClean());

        // Read from the skin again, the picture loads again.
        box.pictures().Pictures->hold(false);
        box.SelectComponent(Close);
        box.BRefrClick();
        QCOMPARE(Image(program, Close)->size(), QSize(4096, 4096));
        program.F().grab();
        QTRY_VERIFY(!box.pictures().Pictures->busy());
        QVERIFY(!Undecoded(Image(program, Close)));
    }

    // The band's two boxes show the current button's pictures 49 pixels
    // wide: a picture of 16384 x 16384 is decoded for them at an eighth of
    // its size, and its pixels are not kept.
    void theBandsBoxesNeverDecodeALargePictureWhole()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        InBackground(program);
        IniStore skin;
        skin.writeString("PClose", "MP1", LargestJpegHex('o'));
        skin.writeString("PClose", "MP2", LargestJpegHex('v'));
        Load(program, m_dir, DocumentText(skin));
        box.SelectComponent(Close);
        box.hover().HoverCheck->setChecked(true);
        QCOMPARE(box.MOU->picture().kind(), Picture::Kind::Bitmap);
        QCOMPARE(box.MOV->picture().kind(), Picture::Kind::Bitmap);
        QVERIFY(Undecoded(Image(program, Close)));
        // The mouse-over picture counts against the skin's memory too.
        QCOMPARE(box.pictures().pictureBudget()->used(), MaxSkinPictureBytes);
        QCOMPARE(box.hover().decodeCount(), 1);
    }
};

FSB_PROGRAM_TEST_MAIN(PictureLoadingTest)
#include "test_pictureloading.moc"
