// The "Właściwości" tab: each handler re-applies its whole group, and apply
// shows every value in its mirror editor with the editors' limits.

#include "editor/SettingsWindow.h"
#include "skinfile/SkinEntry.h"
#include "support/LoadSkin.h"
#include "support/TestProgram.h"
#include "widgets/ColourPicker.h"
#include "widgets/FontPicker.h"
#include "widgets/ListView.h"
#include "widgets/Memo.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/SideTabWidget.h"
#include "widgets/SizePicker.h"
#include "widgets/SpinEdit.h"
#include "widgets/StaticText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <map>

using namespace fabulor;
using fabulor::testing::Load;
using fabulor::testing::TestProgram;

namespace {

// Flat bars are drawn by a style sheet of their own; the usual bars have none.
bool hasFlatScrollBars(const ListView* list)
{
    return !list->verticalScrollBar()->styleSheet().isEmpty() &&
           !list->horizontalScrollBar()->styleSheet().isEmpty();
}

constexpr Colour clRed = 0x000000FF;
constexpr Colour clBlue = 0x00FF0000;

std::string EntryText(const QString& path)
{
    TZipKit zip;
    MemoryStream stream = LoadSkinEntry(QFile::encodeName(path).toStdString(), zip);
    const auto bytes = stream.bytes();
    return std::string(bytes.begin(), bytes.end());
}

// Every section's "FSize" line, exactly as the skin text holds it.
std::map<std::string, std::string> FontSizeLines(const std::string& text)
{
    std::map<std::string, std::string> lines;
    std::string section;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        if (line.starts_with('[') && line.ends_with(']'))
            section = line.substr(1, line.size() - 2);
        else if (line.starts_with("FSize="))
            lines[section] = line;
        start = end + 2;
    }
    return lines;
}

// The sections with a font size, with the components drawn from them.
struct FontSection {
    const char* name;
    QWidget* (*control)(TF&);
};
const FontSection fontSections[] = {
    {"OP1", [](TF& F) -> QWidget* { return F.Op1; }}, {"L1", [](TF& F) -> QWidget* { return F.L1; }},
    {"L2", [](TF& F) -> QWidget* { return F.L2; }},   {"L3", [](TF& F) -> QWidget* { return F.L3; }},
    {"L4", [](TF& F) -> QWidget* { return F.L4; }},   {"LM", [](TF& F) -> QWidget* { return F.LM; }},
    {"LB", [](TF& F) -> QWidget* { return F.LB; }},
};

// A choice in a colour picker's list, as the user makes it.
void Choose(ColourPicker* picker, int index)
{
    picker->setCurrentIndex(index);
    emit picker->activated(index);
}

} // namespace

class AppearanceTest : public QObject {
    Q_OBJECT
private slots:
    void startsOnTheMessageSubPageWithTheDefaultsShown()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        // Made when the tab is first shown, not before.
        QVERIFY(!box.propertiesTabBuilt());
        box.PCTRL->setCurrentWidget(box.Prop);
        QVERIFY(box.propertiesTabBuilt());
        QVERIFY(box.history().stack().isClean());
        QCOMPARE(box.history().stack().count(), 0);
        QCOMPARE(box.PageControl1->currentWidget(), box.TabSheet6);
        QCOMPARE(box.PageControl1->tabButton(4)->text(), QStringLiteral("Label \"Droga nr [x]\""));
        QCOMPARE(box.P_border->value(), 0);
        QCOMPARE(box.R_border->value(), 4);
        QCOMPARE(box.P_color->value(), Colour(0x00DFDFDF));
        QCOMPARE(box.K_fontsize->value(), 8);
        QCOMPARE(box.B_fontsize->value(), 10);
        QCOMPARE(box.O_color->value(), Colour(0x00FFFFFF));
        QCOMPARE(box.D_fontcolor->value(), Colour(0));
    }

    // Until "Właściwości" exists the preview alone holds its values: a skin
    // captured then is the one captured with the editors, and making them
    // later changes nothing in the preview, also after the user moved and
    // resized components.
    void theSkinIsTheSameBeforeAndAfterThePropertiesTabIsMade()
    {
        TestProgram eager;
        eager.FBox().ensurePropertiesTab();
        eager.FBox().SaveStateToDocument();

        TestProgram lazy;
        lazy.FBox().SelectComponent(0);
        lazy.FBox().Szer->setValue(333);
        lazy.F().LB->move(40, 50);
        QVERIFY(!lazy.FBox().propertiesTabBuilt());
        lazy.FBox().SaveStateToDocument();
        const std::string before = lazy.text();
        lazy.FBox().ensurePropertiesTab();
        lazy.FBox().SaveStateToDocument();
        QCOMPARE(lazy.text(), before);
        QCOMPARE(lazy.F().LB->pos(), QPoint(40, 50));
        eager.FBox().SelectComponent(0);
        eager.FBox().Szer->setValue(333);
        eager.F().LB->move(40, 50);
        eager.FBox().SaveStateToDocument();
        QCOMPARE(lazy.text(), eager.text());
    }

    void eachHandlerReappliesItsWholeGroup()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        box.ensurePropertiesTab();
        TF& F = program.F();

        // A colour chosen for the page control also re-applies the border.
        box.P_border->setValue(6);
        F.PC1->setClientBorderWidth(2);
        Choose(box.P_color, 9); // Red
        QCOMPARE(F.PC1->colour(), clRed);
        QCOMPARE(F.PC1->clientBorderWidth(), 6);

        // Ticking "Płaski" removes the description's frame and re-applies its colour.
        F.Op1->setColour(clBlue);
        box.O_Flat->setChecked(true);
        QCOMPARE(F.Op1->frameShape(), QFrame::NoFrame);
        QCOMPARE(F.Op1->colour(), box.O_color->value());
        box.O_Flat->setChecked(false);
        QCOMPARE(F.Op1->frameShape(), QFrame::Panel);

        // The list's colour is served by its click handler; flat scroll bars too.
        box.B_flatscroll->setChecked(true);
        QVERIFY(hasFlatScrollBars(F.LB));
        Choose(box.B_color, 12); // Blue
        QCOMPARE(F.LB->colour(), clBlue);
        QVERIFY(hasFlatScrollBars(F.LB));

        // The picture frame: border and both colours together.
        box.R_border->setValue(9);
        QCOMPARE(F.PRys->borderWidth(), 9);
        Choose(box.R_pcolor, 0); // Black
        QCOMPARE(F.PRys->colour(), Colour(0));
        QCOMPARE(F.Rys->colour(), box.R_color->value());
    }

    void pathLabelFontGoesToAllFourLabels()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        box.ensurePropertiesTab();
        box.D_font->setFontName(QStringLiteral("DejaVu Sans"));
        box.D_fontsize->setSize(12);
        for (StaticText* label : {program.F().L1, program.F().L2, program.F().L3, program.F().L4}) {
            QCOMPARE(label->font().family(), QStringLiteral("DejaVu Sans"));
            QCOMPARE(label->font().pointSize(), 12);
            QCOMPARE(label->size(), QSize(QFontMetrics(label->font()).horizontalAdvance(label->text()),
                                          QFontMetrics(label->font()).height()));
        }
    }

    void clearedSizeKeepsTheSizeAndNeverReachesTheSkin()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        box.ensurePropertiesTab();
        QLineEdit* edit = box.K_fontsize->lineEdit();
        const auto clear = [edit] {
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Backspace);
        };
        box.K_fontsize->setSize(14);
        QCOMPARE(program.F().LM->font().pointSize(), 14);
        clear();
        QCOMPARE(box.K_fontsize->value(), -1);
        QCOMPARE(program.F().LM->font().pointSize(), 14);
        box.SaveStateToDocument();
        QCOMPARE(program.doc().readString("LM", "FSize", ""), std::string("14"));

        // Nor does it replace a size from the skin that Qt cannot draw.
        QTemporaryDir dir;
        Load(program, dir, "[LM]\r\nFSize=-3\r\n");
        clear();
        QCOMPARE(program.F().LM->font().pointSize(), 10);
        box.SaveStateToDocument();
        QCOMPARE(program.doc().readString("LM", "FSize", ""), std::string("-3"));
    }

    void sizesTheSkinHoldsComeBackByteForByte_data()
    {
        // Sizes for "OP1", "L1", "L2", "L3", "L4", "LM", "LB".
        QTest::addColumn<QStringList>("sizes");
        QTest::newRow("zero") << QStringList{"0", "0", "0", "0", "0", "0", "0"};
        QTest::newRow("minus one") << QStringList{"-1", "-1", "-1", "-1", "-1", "-1", "-1"};
        QTest::newRow("negative") << QStringList{"-5", "-5", "-5", "-5", "-5", "-5", "-5"};
        QTest::newRow("thousand") << QStringList{"1000", "1000", "1000", "1000", "1000", "1000", "1000"};
        QTest::newRow("mixed") << QStringList{"1000", "0", "-1", "-5", "1000", "-2147483648", "0"};
        QTest::newRow("drawable") << QStringList{"12", "9", "30", "7", "14", "16", "999"};
    }
    void sizesTheSkinHoldsComeBackByteForByte()
    {
        QFETCH(QStringList, sizes);
        std::string text;
        for (std::size_t i = 0; i < std::size(fontSections); ++i)
            text += "[" + std::string(fontSections[i].name) +
                    "]\r\nFSize=" + sizes.at(qsizetype(i)).toStdString() + "\r\n\r\n";
        TestProgram program;
        QTemporaryDir dir;
        Load(program, dir, text);
        QVERIFY(program.dialogs->errors.isEmpty());

        // On screen every size is a readable one: the size pickers' 10 for the
        // components they mirror, the first label's for the other path labels.
        TF& F = program.F();
        for (const FontSection& section : fontSections)
            QVERIFY2(section.control(F)->font().pointSize() > 0, section.name);
        const auto shown = [](const QString& size) {
            const int points = size.toInt();
            return points >= 1 && points <= 999 ? points : 10;
        };
        QCOMPARE(F.Op1->font().pointSize(), shown(sizes.at(0)));
        QCOMPARE(F.L1->font().pointSize(), shown(sizes.at(1)));
        QCOMPARE(F.LM->font().pointSize(), shown(sizes.at(5)));
        QCOMPARE(F.LB->font().pointSize(), shown(sizes.at(6)));
        for (int i : {2, 3, 4}) {
            const int points = sizes.at(i).toInt();
            QCOMPARE(fontSections[i].control(F)->font().pointSize(),
                     points >= 1 ? points : F.L1->font().pointSize());
        }

        const QString path = dir.filePath(QStringLiteral("saved.ski"));
        program.dialogs->answerFile(path);
        QTest::mouseClick(program.FBox().Button2, Qt::LeftButton);
        QVERIFY(program.dialogs->errors.isEmpty());
        QCOMPARE(FontSizeLines(EntryText(path)), FontSizeLines(text));
    }

    void typedSizesAreSavedAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<std::string>("saved");
        QTest::newRow("zero") << "0" << std::string("0");
        QTest::newRow("negative") << "-5" << std::string("-5");
        QTest::newRow("minus one") << "-1" << std::string("-1");
        QTest::newRow("thousand") << "1000" << std::string("1000");
        QTest::newRow("plus sign") << "+7" << std::string("7");
    }
    void typedSizesAreSavedAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(std::string, saved);
        TestProgram program;
        TFBox& box = program.FBox();
        box.ensurePropertiesTab();
        TF& F = program.F();
        std::map<std::string, int> before;
        for (const FontSection& section : fontSections)
            before[section.name] = section.control(F)->font().pointSize();

        for (SizePicker* sizes : {box.O_fontsize, box.D_fontsize, box.K_fontsize, box.B_fontsize}) {
            sizes->lineEdit()->selectAll();
            QTest::keyClicks(sizes->lineEdit(), typed);
            QCOMPARE(sizes->currentText(), typed);
        }
        // A size Qt can draw is drawn as typed; any other leaves the drawn size.
        const int points = typed.toInt();
        for (const FontSection& section : fontSections)
            QCOMPARE(section.control(F)->font().pointSize(), points >= 1 ? points : before[section.name]);

        box.SaveStateToDocument();
        for (const FontSection& section : fontSections)
            QCOMPARE(program.doc().readString(section.name, "FSize", ""), saved);
    }

    void borderSpinEditClampsWhenFocusLeaves()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        box.ensurePropertiesTab();
        box.PCTRL->setCurrentWidget(box.Prop);
        box.PageControl1->setCurrentWidget(box.TabSheet4);
        QApplication::setActiveWindow(&box);
        box.R_border->lineEdit()->setFocus();
        QVERIFY(box.R_border->lineEdit()->hasFocus());
        box.R_border->lineEdit()->selectAll();
        QTest::keyClicks(box.R_border->lineEdit(), QStringLiteral("15"));
        QCOMPARE(program.F().PRys->borderWidth(), 15); // typed values apply at once
        box.R_color->setFocus();
        QCOMPARE(box.R_border->value(), 10);
        QCOMPARE(program.F().PRys->borderWidth(), 10);
    }

    void applyShowsEveryValueWithTheEditorsLimits()
    {
        TestProgram program;
        QTemporaryDir dir;
        Load(program, dir,
             "[PC1]\r\nBorder=15\r\nColor=clSilver\r\n[PRys]\r\nBorder=-3\r\n"
             "[OP1]\r\nFSize=0\r\nColor=$00123456\r\n[L1]\r\nFSize=1000\r\nFColor=clBlue\r\n"
             "[L2]\r\nFSize=1000\r\nFColor=clRed\r\n[L3]\r\nFSize=30\r\n[LM]\r\nFSize=-4\r\nFColor=clRed\r\n"
             "[LB]\r\nFSize=2000\r\nFName=DejaVu Sans\r\n");
        QVERIFY(program.dialogs->errors.isEmpty());
        TFBox& box = program.FBox();
        box.ensurePropertiesTab();
        TF& F = program.F();
        QCOMPARE(F.PC1->clientBorderWidth(), 10);
        QCOMPARE(box.P_border->value(), 10);
        QCOMPARE(F.PRys->borderWidth(), 0);
        QCOMPARE(box.R_border->value(), 0);
        QCOMPARE(box.P_color->value(), Colour(0x00C0C0C0));
        QCOMPARE(box.O_color->value(), Colour(0x00123456));
        QCOMPARE(F.Op1->colour(), Colour(0x00123456));
        // Sizes the size pickers cannot hold end as 10...
        QCOMPARE(F.Op1->font().pointSize(), 10);
        QCOMPARE(F.L1->font().pointSize(), 10);
        QCOMPARE(F.LM->font().pointSize(), 10);
        QCOMPARE(F.LB->font().pointSize(), 10);
        QCOMPARE(box.D_fontsize->value(), 10);
        // ...while the other path labels keep the sizes read for them.
        QCOMPARE(F.L2->font().pointSize(), 1000);
        QCOMPARE(F.L3->font().pointSize(), 30);
        QCOMPARE(F.L4->font().pointSize(), 8);
        for (StaticText* label : {F.L1, F.L2, F.L3, F.L4})
            QCOMPARE(label->fontColour(), clBlue);
        QCOMPARE(box.K_fontcolor->value(), clRed);
        QCOMPARE(box.B_font->text(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(F.LB->font().family(), QStringLiteral("DejaVu Sans"));
    }

    void bordersEndWithinLimitsAlsoWhenTheEditorShowedTheLimitAlready()
    {
        TestProgram program;
        QTemporaryDir dir;
        Load(program, dir,
             "[PC1]\r\nBorder=15\r\nColor=$00010203\r\n[PRys]\r\nBorder=-3\r\nColor=$00040506\r\n");
        Load(program, dir,
             "[PC1]\r\nBorder=12\r\nColor=$00070809\r\n[PRys]\r\nBorder=-7\r\nColor=$000A0B0C\r\n");
        QCOMPARE(program.F().PC1->clientBorderWidth(), 10);
        QCOMPARE(program.F().PRys->borderWidth(), 0);
        program.FBox().SaveStateToDocument();
        QCOMPARE(program.doc().readInteger("PC1", "Border", -1), 10);
        QCOMPARE(program.doc().readInteger("PRys", "Border", -1), 0);
    }

    void fontNamesKeepTheirBytes()
    {
        TestProgram program;
        QTemporaryDir dir;
        Load(program, dir, "[LM]\r\nFName=Caf\xE9 Sans\r\n");
        program.FBox().SaveStateToDocument();
        QCOMPARE(program.doc().readString("LM", "FName", ""), std::string("Caf\xE9 Sans"));
    }

    void unknownFontLeavesThePickerEmptyAndTheNameInPlace()
    {
        TestProgram program;
        QTemporaryDir dir;
        Load(program, dir, "[LM]\r\nFName=No Such Font Anywhere\r\n");
        QCOMPARE(program.F().LM->font().family(), QStringLiteral("No Such Font Anywhere"));
        QCOMPARE(program.FBox().K_font->text(), QString());
        program.FBox().SaveStateToDocument();
        QCOMPARE(program.doc().readString("LM", "FName", ""), std::string("No Such Font Anywhere"));
    }

    void flatScrollBarsAreNotPartOfTheSkin()
    {
        TestProgram program;
        program.FBox().ensurePropertiesTab();
        program.FBox().B_flatscroll->setChecked(true);
        QTemporaryDir dir;
        Load(program, dir, "[LB]\r\nFlat=1\r\n");
        QVERIFY(program.FBox().B_flatscroll->isChecked());
        QVERIFY(hasFlatScrollBars(program.F().LB));
        QVERIFY(program.FBox().B_flat->isChecked());
        QCOMPARE(program.F().LB->frameShape(), QFrame::NoFrame);
    }
};

FSB_PROGRAM_TEST_MAIN(AppearanceTest)
#include "test_appearance.moc"
