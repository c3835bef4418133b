// The skin check places components without a preview. Its plain layout model
// must put every component exactly where the preview puts it after loading
// the same skin, or the placement and legibility rules judge the wrong boxes.

#include "../check/CheckSkins.h"

#include "check/SkinLayout.h"
#include "check/SystemFonts.h"
#include "editor/SettingsWindow.h"
#include "preview/PreviewControls.h"
#include "support/ClaimingJpeg.h"
#include "support/TestProgram.h"
#include "widgets/PageControl.h"
#include "widgets/WindowGeometry.h"

#include <QTest>

using namespace fabulor;
using fabulor::testing::TestProgram;

namespace {

// Loads the skin into the preview as a skin file would be, then compares.
void CompareWithPreview(const IniStore& skin)
{
    TestProgram p;
    p.doc() = skin;
    p.FBox().LoadStateFromDocument();

    const SkinLayout layout = BuildSkinLayout(skin, SystemCheckEnvironment());
    TF& f = p.F();
    // The skin's W x H is the window's outer size, frame included.
    QCOMPARE(layout.window, outerSize(&f));
    QCOMPARE(layout.pageArea, f.PC1->pageArea().translated(f.PC1->pos()));
    for (int index = 0; index < int(ComponentCount); ++index) {
        QWidget* control = ComponentControl(f, index);
        const QRect shown(control->mapTo(&f, QPoint(0, 0)), control->size());
        if (layout.boxes[std::size_t(index)] != shown)
            QFAIL(qPrintable(QStringLiteral("%1: model %2,%3 %4x%5, preview %6,%7 %8x%9")
                                 .arg(QString::fromUtf8(SkinComponents()[std::size_t(index)].section))
                                 .arg(layout.boxes[std::size_t(index)].x())
                                 .arg(layout.boxes[std::size_t(index)].y())
                                 .arg(layout.boxes[std::size_t(index)].width())
                                 .arg(layout.boxes[std::size_t(index)].height())
                                 .arg(shown.x())
                                 .arg(shown.y())
                                 .arg(shown.width())
                                 .arg(shown.height())));
    }
}

} // namespace

class CheckLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void defaultSkin() { CompareWithPreview(IniStore()); }

    // Buttons whose pictures do not fit in the skin's picture memory take
    // the size of their built-in pictures.
    void picturesPastTheirMemory() { CompareWithPreview(testing::LargestPicturesSkin()); }

    void movedComponentsAndOtherPictureSizes()
    {
        IniStore skin;
        skin.writeString("Skin", "W", "700");
        skin.writeString("Skin", "H", "420");
        skin.writeString("PC1", "L", "40");
        skin.writeString("PC1", "T", "150");
        skin.writeString("PC1", "S", "250");
        skin.writeString("PC1", "Border", "3");
        skin.writeString("P1", "L", "20");
        skin.writeString("P1", "T", "9");
        skin.writeString("PEnd", "L", "5");
        skin.writeString("PClose", "L", "600");
        skin.writeString("PClose", "MP1", testing::JpegHex(40, 31, Qt::red));
        skin.writeString("P2", "MP1", testing::JpegHex(52, 18, Qt::blue));
        skin.writeString("P3", "MP1", "FFD8FF00"); // does not decode: its built-in picture
        skin.writeString("PMove", "S", "300");
        skin.writeString("LB", "W", "200");
        skin.writeString("LM", "L", "90");
        skin.writeString("LM", "T", "380");
        skin.writeString("LM", "FName", "DejaVu Serif");
        skin.writeString("LM", "FSize", "12");
        skin.writeString("L1", "FSize", "11");
        skin.writeString("L3", "FSize", "0"); // drawn at the first path label's size
        skin.writeString("L4", "FName", "DejaVu Sans Mono");
        CompareWithPreview(skin);
    }

    void shapedByMask()
    {
        IniStore skin = testing::CleanShapedSkin();
        skin.writeString("Skin", "Maska", testing::MaskHex({500, 300}, QRect(0, 0, 400, 300)));
        skin.writeString("PMenu", "L", "350");
        CompareWithPreview(skin);
    }

    // Numbers near the ends of int are held as the editors hold them, by
    // the preview and the model alike, so no edge overflows.
    void numbersNearTheEndsOfInt_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("the window's size") << QStringList{"[Skin]", "W=-2147483648", "H=2147483647"};
        QTest::newRow("a button's place") << QStringList{"[PClose]", "L=2147483647", "T=-2147483648"};
        QTest::newRow("a box's place and size")
            << QStringList{"[LB]", "L=2147483647", "T=-2147483648", "S=2147483647", "W=-2147483648"};
        QTest::newRow("the page control's, and a button on its page") << QStringList{
            "[PC1]", "L=-2147483648", "T=-2147483648", "S=2147483647", "W=2147483647", "Border=-2147483648",
            "[P1]",  "L=2147483647",  "T=2147483647"};
    }
    void numbersNearTheEndsOfInt()
    {
        QFETCH(QStringList, lines);
        std::vector<std::string> text;
        for (const QString& line : lines)
            text.push_back(line.toStdString());
        IniStore skin;
        skin.setStrings(text);
        CompareWithPreview(skin);
    }
};

FSB_PROGRAM_TEST_MAIN(CheckLayoutTest)
#include "test_checklayout.moc"
