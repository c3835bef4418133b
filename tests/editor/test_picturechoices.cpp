// Button pictures, the mask and the skin picture, and the window size tab:
// chosen files are stored before they are decoded, and decoding failures
// fall back quietly.

#include "editor/SettingsWindow.h"
#include "pictures/TransparentForm.h"
#include "skinfile/SkinEntry.h"
#include "support/TestData.h"
#include "support/TestProgram.h"
#include "widgets/FileNameEdit.h"
#include "widgets/Panel.h"
#include "widgets/PictureBox.h"
#include "widgets/SpinEdit.h"
#include "widgets/WindowGeometry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <sys/stat.h>

using namespace fabulor;
using fabulor::testing::TestProgram;

namespace {

const QString Jpeg = testing::TestData::Jpeg320x240;
const QString Bmp = testing::TestData::Bitmap64x48;
const QString Mask400x300 = testing::TestData::Mask400x300;
const QString AllBlack = testing::DataFile(u"bmp/im_all_black_24bit.bmp");

std::string Hex(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toHex().toUpper().toStdString();
}

// Chooses a file in an edit's dialog (or cancels it) through its browse button.
void Choose(TestProgram& program, FileNameEdit* edit, const QString& file)
{
    if (file.isNull())
        program.dialogs->cancelFile();
    else
        program.dialogs->answerFile(file);
    QTest::mouseClick(edit->browseButton(), Qt::LeftButton);
}

} // namespace

class PicturesTest : public QObject {
    Q_OBJECT
private slots:
    void jpegMouseOutPictureIsStoredAndShown()
    {
        TestProgram program;
        program.FBox().SelectComponent(15); // "Przycisk [OK]"
        Choose(program, program.FBox().MP1, Jpeg);
        QCOMPARE(program.doc().readString("PItem", "MP1", ""), Hex(Jpeg));
        QVERIFY(program.F().BItem->picture().jpeg());
        QCOMPARE(program.F().PItem->size(), QSize(320, 240));
        QCOMPARE(program.FBox().MP1->text(), Jpeg);
        // The boxes in the band stay empty.
        QCOMPARE(program.FBox().MOU->picture().kind(), Picture::Kind::None);
    }

    void bitmapMouseOutPictureIsStoredButTheBuiltInShows()
    {
        TestProgram program;
        program.FBox().SelectComponent(3); // "Przycisk [Zamknij]"
        Choose(program, program.FBox().MP1, Bmp);
        QCOMPARE(program.doc().readString("PClose", "MP1", ""), Hex(Bmp));
        QVERIFY(program.F().BClose->picture().bitmap());
        QCOMPARE(program.F().PClose->size(), QSize(27, 25));
    }

    void mouseOverPictureOnlyChangesTheDocument()
    {
        TestProgram program;
        program.FBox().SelectComponent(4);
        const QSize before = program.F().PMini->size();
        Choose(program, program.FBox().MP2, Jpeg);
        QCOMPARE(program.doc().readString("PMini", "MP2", ""), Hex(Jpeg));
        QCOMPARE(program.doc().readString("PMini", "MP1", "none"), std::string("none"));
        QCOMPARE(program.F().PMini->size(), before);
    }

    void nothingIsStoredWithoutAButtonOrForTheWarningsMouseOver()
    {
        TestProgram program;
        // Right after start-up the chooser is at entry 0: no button.
        Choose(program, program.FBox().MP1, Jpeg);
        Choose(program, program.FBox().MP2, Jpeg);
        QVERIFY(program.text().empty());

        program.FBox().SelectComponent(16); // "Rysunek [Uwaga]"
        program.FBox().LoadButtonImages(true, QString(), Jpeg);
        QCOMPARE(program.doc().readString("PUwaga", "MP2", "none"), std::string("none"));
    }

    void cancellingRereadsTheNameTheEditHolds()
    {
        TestProgram program;
        program.FBox().SelectComponent(15);
        Choose(program, program.FBox().MP1, QString()); // empty edit: nothing happens
        QVERIFY(program.text().empty());

        Choose(program, program.FBox().MP1, Jpeg);
        program.FBox().SelectComponent(14); // "Przycisk [Koniec]"
        Choose(program, program.FBox().MP1, QString());
        QCOMPARE(program.doc().readString("PEnd", "MP1", ""), Hex(Jpeg)); // the old name, the new button

        // A name that no longer exists: the built-in picture, the document unchanged.
        QTemporaryDir dir;
        const QString gone = dir.filePath(QStringLiteral("gone.jpg"));
        QVERIFY(QFile::copy(Jpeg, gone));
        Choose(program, program.FBox().MP1, gone);
        QVERIFY(QFile::remove(gone));
        program.doc().writeString("PEnd", "MP1", "AB");
        Choose(program, program.FBox().MP1, QString());
        QVERIFY(program.F().BEnd->picture().bitmap());
        QCOMPARE(program.F().PEnd->size(), QSize(86, 25));
        QCOMPARE(program.doc().readString("PEnd", "MP1", ""), std::string("AB"));
    }

    void refreshShowsWhatTheDocumentHolds()
    {
        TestProgram program;
        program.FBox().SelectComponent(15);
        program.doc().writeString("PItem", "MP1", Hex(Jpeg));
        QTest::mouseClick(program.FBox().BRefr, Qt::LeftButton);
        QVERIFY(program.F().BItem->picture().jpeg());
        program.doc().writeString("PItem", "MP1", "");
        QTest::mouseClick(program.FBox().BRefr, Qt::LeftButton);
        QVERIFY(program.F().BItem->picture().bitmap());
    }

    void maskShapesTheWindow()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        box.CheckBox2->setChecked(true);
        QVERIFY(box.Panel1->isEnabled());
        Choose(program, box.Maska, Mask400x300);
        QCOMPARE(program.doc().readString("Skin", "Maska", ""), Hex(Mask400x300));
        QCOMPARE(program.doc().readString("Skin", "En", ""), std::string("1")); // captured first
        QVERIFY(program.F().Mask->active());
        QCOMPARE(program.F().size(), QSize(400, 300));
        QVERIFY(program.F().windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!program.F().mask().isEmpty());

        // Unchecking brings the title bar and the full rectangle back, in the
        // outer size the shape had: the size tab was never shown.
        box.CheckBox2->setChecked(false);
        QVERIFY(!box.Panel1->isEnabled());
        QVERIFY(!(program.F().windowFlags() & Qt::FramelessWindowHint));
        QVERIFY(program.F().mask().isEmpty());
        QCOMPARE(outerSize(&program.F()), QSize(400, 300));
    }

    void oneColourMaskGivesNoRegion()
    {
        TestProgram program;
        program.FBox().CheckBox2->setChecked(true);
        Choose(program, program.FBox().Maska, AllBlack);
        QVERIFY(program.F().Mask->active());
        QVERIFY(program.F().mask().isEmpty());
    }

    void maskThatIsNoBitmapIsStoredAndChangesNothing()
    {
        TestProgram program;
        program.FBox().CheckBox2->setChecked(true);
        const QSize before = outerSize(&program.F());
        Choose(program, program.FBox().Maska, Jpeg);
        QCOMPARE(program.doc().readString("Skin", "Maska", ""), Hex(Jpeg));
        QVERIFY(!program.F().Mask->active());
        QCOMPARE(outerSize(&program.F()), before);
        QVERIFY(program.dialogs->errors.isEmpty());
    }

    void checkingWithANonBitmapMaskNamedShowsTheError()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        box.Maska->setText(Jpeg);
        QTest::mouseClick(box.CheckBox2, Qt::LeftButton, {}, QPoint(4, box.CheckBox2->height() / 2));
        QCoreApplication::processEvents(); // the failure reaches the error box from a queued call
        QCOMPARE(program.dialogs->errors, QStringList{"Bitmap image is not valid."});
        QVERIFY(box.CheckBox2->isChecked());
        QVERIFY(box.Panel1->isEnabled());
        QVERIFY(!program.F().Mask->active());

        // The box still works afterwards: unchecking runs its handler.
        box.CheckBox2->setChecked(false);
        QVERIFY(!box.Panel1->isEnabled());
    }

    void namedPipeIsNoPicture()
    {
        TestProgram program;
        QTemporaryDir dir;
        const QString pipe = dir.filePath(QStringLiteral("pipe.jpg"));
        QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        program.FBox().CheckBox2->setChecked(true);
        program.FBox().Skin->setText(pipe);
        Choose(program, program.FBox().Skin, QString()); // cancelled: the edit's name is used
        QCOMPARE(program.doc().readString("Skin", "Skin", "none"), std::string("none"));
        program.FBox().SelectComponent(15);
        Choose(program, program.FBox().MP1, pipe);
        QVERIFY(program.F().BItem->picture().bitmap());
    }

    void skinPictureIsStoredAndShownOnlyWhenItDecodes()
    {
        TestProgram program;
        program.FBox().CheckBox2->setChecked(true);
        Choose(program, program.FBox().Skin, Jpeg);
        QCOMPARE(program.doc().readString("Skin", "Skin", ""), Hex(Jpeg));
        QVERIFY(program.F().Skin->picture().jpeg());
        Choose(program, program.FBox().Skin, Bmp);
        QCOMPARE(program.doc().readString("Skin", "Skin", ""), Hex(Bmp));
        QVERIFY(program.F().Skin->picture().jpeg()); // the old picture stays
    }

    // The background fills the window whatever the picture's size, so a
    // press anywhere off the components lands on it (and moves the window).
    void skinPictureBoxFillsTheWindow()
    {
        TestProgram program;
        TF& F = program.F();
        program.FBox().CheckBox2->setChecked(true);
        Choose(program, program.FBox().Skin, Jpeg); // 320 x 240
        QCOMPARE(F.Skin->picture().width(), 320);
        QCOMPARE(F.Skin->geometry(), F.rect());
        QCOMPARE(F.childAt(600, 350), F.Skin);
        program.FBox().PCTRL->setCurrentWidget(program.FBox().Rozm);
        program.FBox().FW->setValue(800);
        QCOMPARE(outerSize(&F).width(), 800);
        QCOMPARE(F.Skin->geometry(), F.rect());
    }

    void sizeTabShowsAndSetsTheWindowSize()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        box.PCTRL->setCurrentWidget(box.Rozm);
        QCOMPARE(box.FW->value(), 623);
        QCOMPARE(box.FH->value(), 364);
        QCOMPARE(outerSize(&program.F()), QSize(623, 364));

        QApplication::setActiveWindow(&box);
        box.FW->lineEdit()->setFocus();
        box.FW->lineEdit()->selectAll();
        QList<int> widths;
        for (const QChar digit : QStringLiteral("6000")) {
            QTest::keyClick(box.FW->lineEdit(), digit.toLatin1());
            widths << outerSize(&program.F()).width();
        }
        QCOMPARE(widths, (QList<int>{6, 60, 600, 6000}));
        box.FH->lineEdit()->setFocus(); // leaving the field brings it within 5000
        QCOMPARE(box.FW->value(), 5000);
        QCOMPARE(outerSize(&program.F()).width(), 5000);

        box.FH->lineEdit()->selectAll();
        QTest::keyClick(box.FH->lineEdit(), Qt::Key_Delete);
        QCOMPARE(outerSize(&program.F()).height(), 0); // the skin's height
        QCOMPARE(program.F().height(), 1);             // the window stays on the screen
    }
};

FSB_PROGRAM_TEST_MAIN(PicturesTest)
#include "test_picturechoices.moc"
