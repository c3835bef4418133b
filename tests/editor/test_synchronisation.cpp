// Capture and apply between the skin document and the preview window.

#include "editor/SettingsWindow.h"
#include "pictures/TransparentForm.h"
#include "skinfile/SkinEntry.h"
#include "support/LoadSkin.h"
#include "support/TestData.h"
#include "support/TestProgram.h"
#include "widgets/ColourPicker.h"
#include "widgets/ListView.h"
#include "widgets/Memo.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/PictureBox.h"
#include "widgets/SpinEdit.h"
#include "widgets/StaticText.h"
#include "widgets/WindowGeometry.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace fabulor;
using fabulor::testing::Load;
using fabulor::testing::TestProgram;

namespace {

std::string ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

std::string Hex(const std::string& bytes)
{
    return QByteArray::fromStdString(bytes).toHex().toUpper().toStdString();
}

} // namespace

class SynchronisationTest : public QObject {
    Q_OBJECT
private slots:
    void startUpAppliesTheDefaultSkin()
    {
        TestProgram program;
        TF& F = program.F();
        QCOMPARE(outerSize(&F), QSize(623, 364));
        QCOMPARE(F.PC1->clientBorderWidth(), 0);
        QCOMPARE(F.Op1->geometry(), QRect(24, 49, 209, 88));
        QCOMPARE(F.Op1->font().family(), QStringLiteral("Arial"));
        QCOMPARE(F.Op1->font().pointSize(), 10);
        QCOMPARE(F.L3->font().pointSize(), 8);
        QCOMPARE(F.LB->colour(), Colour(0x00FFFFFF));
        QVERIFY(!F.Mask->active());
        // Every button shows its built-in picture and takes its size.
        QCOMPARE(F.BClose->picture().width(), 27);
        QCOMPARE(F.PEnd->size(), QSize(86, 25));
        QCOMPARE(F.PItem->size(), QSize(86, 25));
        QCOMPARE(F.PUwaga->size(), QSize(17, 17));
        // Nothing but the apply has touched the document: it is still empty.
        QVERIFY(program.text().empty());
    }

    void captureAfterApplyIsAFixedPoint()
    {
        TestProgram program;
        const std::string text =
            "[Skin]\r\nEn=0\r\nW=700\r\nH=420\r\n\r\n"
            "[PC1]\r\nS=300\r\nW=100\r\nT=150\r\nL=30\r\nBorder=3\r\nColor=clSilver\r\n\r\n"
            "[OP1]\r\nS=200\r\nW=80\r\nT=40\r\nL=20\r\nFlat=1\r\nColor=$00123456\r\nFColor=clNone\r\n"
            "FName=Liberation Serif\r\nFSize=12\r\n\r\n"
            "[PRys]\r\nS=230\r\nW=240\r\nT=50\r\nL=250\r\nBorder=6\r\nRColor=clRed\r\nColor=clBtnFace\r\n\r\n"
            "[PClose]\r\nT=10\r\nL=400\r\n\r\n[PMini]\r\nT=11\r\nL=401\r\n\r\n[PMenu]\r\nT=12\r\nL="
            "402\r\n\r\n"
            "[P1]\r\nT=1\r\nL=2\r\n\r\n[P2]\r\nT=3\r\nL=4\r\n\r\n[P3]\r\nT=5\r\nL=6\r\n\r\n[P4]\r\nT=7\r\nL="
            "8\r\n\r\n"
            "[PG]\r\nT=9\r\nL=10\r\n\r\n[PD]\r\nT=11\r\nL=12\r\n\r\n[PL]\r\nT=13\r\nL=14\r\n\r\n"
            "[PP]\r\nT=15\r\nL=16\r\n\r\n[PEnd]\r\nT=17\r\nL=18\r\n\r\n[PItem]\r\nT=19\r\nL=20\r\n\r\n"
            "[PUwaga]\r\nT=-5\r\nL=-6\r\n\r\n"
            "[PMove]\r\nS=300\r\nW=20\r\nT=5\r\nL=6\r\n\r\n"
            "[L1]\r\nT=13\r\nL=43\r\nFColor=clBlue\r\nFName=Liberation Sans\r\nFSize=9\r\n\r\n"
            "[L2]\r\nT=43\r\nL=44\r\nFColor=clBlue\r\nFName=DejaVu Sans\r\nFSize=11\r\n\r\n"
            "[L3]\r\nT=73\r\nL=45\r\nFColor=clBlue\r\nFName=Arial\r\nFSize=7\r\n\r\n"
            "[L4]\r\nT=103\r\nL=46\r\nFColor=clBlue\r\nFName=Arial\r\nFSize=14\r\n\r\n"
            "[LM]\r\nT=300\r\nL=60\r\nFColor=$00010203\r\nFName=Arial\r\nFSize=16\r\n\r\n"
            "[LB]\r\nS=90\r\nW=200\r\nT=40\r\nL=500\r\nFlat=1\r\nColor=clInfoBk\r\nFColor=clMaroon\r\n"
            "FName=Arial\r\nFSize=20\r\n\r\n";
        QTemporaryDir dir;
        Load(program, dir, text);
        QVERIFY(program.dialogs->errors.isEmpty());
        QCOMPARE(program.text(), text); // as loaded

        program.FBox().SaveStateToDocument();
        QCOMPARE(program.text(), text); // capture changes nothing

        TF& F = program.F();
        QCOMPARE(F.PC1->size(), QSize(300, 100)); // "W" is the height outside "Skin"
        QCOMPARE(outerSize(&F), QSize(700, 420));
        QCOMPARE(F.Op1->frameShape(), QFrame::NoFrame);
        QVERIFY(program.FBox().O_Flat->isChecked());
        QCOMPARE(F.PUwaga->pos(), QPoint(-6, -5));
    }

    void pathLabelsTakeTheColourOfTheFirst()
    {
        TestProgram program;
        QTemporaryDir dir;
        Load(program, dir, "[L1]\r\nFColor=clBlue\r\n[L2]\r\nFColor=clRed\r\n");
        for (StaticText* label : {program.F().L1, program.F().L2, program.F().L3, program.F().L4})
            QCOMPARE(label->fontColour(), Colour(0x00FF0000));
        program.FBox().SaveStateToDocument();
        QCOMPARE(program.doc().readString("L2", "FColor", ""), std::string("clBlue"));
    }

    void shapeSwitchedOnWithoutAMaskKeepsTheSize()
    {
        TestProgram program;
        setOuterSize(&program.F(), QSize(640, 400));
        QTemporaryDir dir;
        Load(program, dir, "[Skin]\r\nEn=1\r\nW=100\r\nH=100\r\nMaska=\r\n");
        QVERIFY(program.FBox().CheckBox2->isChecked());
        QVERIFY(!program.F().Mask->active());
        QCOMPARE(outerSize(&program.F()), QSize(640, 400));
        QVERIFY(program.dialogs->errors.isEmpty());
    }

    void maskInTheDocumentShapesTheWindow()
    {
        TestProgram program;
        const std::string mask = ReadFile(testing::TestData::Mask400x300);
        QVERIFY(!mask.empty());
        QTemporaryDir dir;
        Load(program, dir, "[Skin]\r\nEn=1\r\nW=10\r\nH=10\r\nMaska=" + Hex(mask) + "\r\n");
        QVERIFY(program.F().Mask->active());
        QCOMPARE(program.F().size(), QSize(400, 300));
        QVERIFY(!program.F().mask().isEmpty());
        QCOMPARE(program.FBox().FW->value(), 400); // the editors show the window, not "W"

        // Switched off, the window keeps the shape's outer size, not the
        // file's "W" and "H"; switched on again, the mask the skin brought
        // shapes it again, though no mask file is named.
        program.FBox().CheckBox2->click();
        QVERIFY(!program.F().Mask->active());
        QCOMPARE(outerSize(&program.F()), QSize(400, 300));
        program.FBox().CheckBox2->click();
        QVERIFY(program.F().Mask->active());
        QCOMPARE(program.F().size(), QSize(400, 300));
        QVERIFY(!program.F().mask().isEmpty());

        // Back to a plain window: "W" and "H" apply again, the mask is ignored.
        Load(program, dir, "[Skin]\r\nEn=0\r\nW=500\r\nH=350\r\nMaska=" + Hex(mask) + "\r\n");
        QVERIFY(!program.F().Mask->active());
        QCOMPARE(outerSize(&program.F()), QSize(500, 350));
        QVERIFY(program.F().mask().isEmpty());
    }

    void windowSizeIsHeldToTheSizeEditorsLimits()
    {
        // A file asking for a window of 100000 pixels gets the largest the
        // editors allow, not a window (and backing store) of that size.
        TestProgram program;
        QTemporaryDir dir;
        Load(program, dir, "[Skin]\r\nEn=0\r\nW=100000\r\nH=-20\r\n");
        QCOMPARE(outerSize(&program.F()), QSize(5000, 0));
        QCOMPARE(program.FBox().FW->value(), 5000);
        QCOMPARE(program.FBox().FH->value(), 0);
        QVERIFY(program.dialogs->errors.isEmpty());
    }

    void buttonPicturesComeFromTheDocument()
    {
        TestProgram program;
        const std::string jpeg = ReadFile(testing::TestData::Jpeg320x240);
        const std::string bmp = ReadFile(testing::TestData::Bitmap64x48);
        QVERIFY(!jpeg.empty() && !bmp.empty());
        QTemporaryDir dir;
        Load(program, dir, "[PItem]\r\nMP1=" + Hex(jpeg) + "\r\n[PClose]\r\nMP1=" + Hex(bmp) + "\r\n");
        QCOMPARE(program.F().PItem->size(), QSize(320, 240));
        QVERIFY(program.F().BItem->picture().jpeg());
        // Not a JPEG picture: the built-in one shows, the bytes stay stored.
        QVERIFY(program.F().BClose->picture().bitmap());
        QCOMPARE(program.F().PClose->size(), QSize(27, 25));
        program.FBox().SaveStateToDocument();
        QCOMPARE(program.doc().readString("PClose", "MP1", ""), Hex(bmp));
    }

    void invalidColourStopsApplyHalfway()
    {
        TestProgram program;
        program.FBox().ensurePropertiesTab();
        program.FBox().R_pcolor->setValue(0x00000080); // maroon, chosen in the editor
        program.F().PMove->move(1, 2);
        QTemporaryDir dir;
        Load(program, dir, "[PC1]\r\nS=111\r\n[PRys]\r\nColor=red\r\n[PMove]\r\nL=300\r\n");
        QCOMPARE(program.dialogs->errors, QStringList{"'red' is not a valid integer value."});
        QCOMPARE(program.F().PC1->width(), 111);            // applied before the failure
        QCOMPARE(program.F().PRys->colour(), Colour(0x80)); // the failing step keeps its state
        QCOMPARE(program.F().PMove->pos(), QPoint(1, 2));   // nothing after it is applied
        QCOMPARE(program.doc().readString("PRys", "Color", ""), std::string("red")); // the document stays
    }

    void fontNamesAreCutTo31Characters()
    {
        TestProgram program;
        QTemporaryDir dir;
        Load(program, dir, "[LM]\r\nFName=ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij\r\n[OP1]\r\nFName=\r\n");
        QCOMPARE(program.F().LM->font().family(), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcde"));
        QCOMPARE(program.F().Op1->font().family(), QStringLiteral("Arial")); // empty keeps the name
        program.FBox().SaveStateToDocument();
        QCOMPARE(program.doc().readString("LM", "FName", ""), std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZabcde"));
    }

    void captureWritesNoSizeWhileShaped()
    {
        TestProgram program;
        program.FBox().SaveStateToDocument();
        program.doc().writeInteger("Skin", "W", 1);
        program.FBox().CheckBox2->setChecked(true);
        program.FBox().SaveStateToDocument();
        QCOMPARE(program.doc().readString("Skin", "En", ""), std::string("1"));
        QCOMPARE(program.doc().readInteger("Skin", "W", 0), 1); // stale, left alone
    }
};

FSB_PROGRAM_TEST_MAIN(SynchronisationTest)
#include "test_synchronisation.moc"
