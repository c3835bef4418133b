// Undo and redo: every kind of change the user makes is one step; undoing it
// gives back byte for byte the document captured before it, every editor of
// the settings window as it was, and the preview as it looked; redoing it
// gives back the state after it. Runs of one field's edits merge.

#include "editor/Catalogue.h"
#include "editor/SettingsWindow.h"
#include "preview/InteractiveMove.h"
#include "preview/PreviewWindow.h"
#include "preview/SelectionFrame.h"
#include "support/ComparePictures.h"
#include "support/TestProgram.h"
#include "widgets/ColourPicker.h"
#include "widgets/FileNameEdit.h"
#include "widgets/FontPicker.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/PictureBox.h"
#include "widgets/SizePicker.h"
#include "widgets/SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>
#include <QWindow>

#include <functional>

using namespace fabulor;
using fabulor::testing::TestProgram;

namespace {

// What the user can see and what a save would write.
struct State {
    std::string document;
    QStringList editors;
    QImage preview;
};

State Capture(TestProgram& program)
{
    TFBox& box = program.FBox();
    box.ensurePropertiesTab();
    box.SaveStateToDocument();
    State state{program.text(), {}, {}};
    for (const SpinEdit* edit : box.findChildren<SpinEdit*>())
        state.editors << edit->objectName() + '=' + edit->text();
    for (const ColourPicker* picker : box.findChildren<ColourPicker*>())
        state.editors << picker->objectName() + '=' + QString::number(picker->value(), 16);
    for (const QComboBox* combo : box.findChildren<QComboBox*>())
        state.editors << combo->objectName() + '=' + combo->currentText();
    for (const QCheckBox* check : box.findChildren<QCheckBox*>())
        state.editors << check->objectName() + '=' + (check->isChecked() ? "1" : "0");
    for (const FileNameEdit* edit : box.findChildren<FileNameEdit*>())
        state.editors << edit->objectName() + '=' + edit->text();
    // The selection frame marks the chosen component; it is no part of the skin.
    program.F().Selection->hide();
    // Layouts settle in posted events, as they do before anything is painted.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    state.preview = program.F().grab().toImage();
    program.F().Selection->show();
    return state;
}

void CompareStates(TestProgram& program, const State& expected, bool leavesShape = false)
{
    State actual = Capture(program);
    // A window that leaves its shape is made anew with its frame, whose size
    // the offscreen platform no longer reports, and loses the focus it had;
    // as when the user switches the skin off. What the skin holds must agree.
    if (leavesShape && QGuiApplication::platformName() == QLatin1String("offscreen")) {
        QCOMPARE(actual.document, expected.document);
        QCOMPARE(actual.editors, expected.editors);
        return;
    }
    QCOMPARE(actual.document, expected.document);
    QCOMPARE(actual.editors, expected.editors);
    QCOMPARE(actual.preview.size(), expected.preview.size());
    if (actual.preview != expected.preview && qEnvironmentVariableIsSet("FSB_DUMP")) {
        actual.preview.save("/tmp/actual.png");
        expected.preview.save("/tmp/expected.png");
    }
    // Exactly: the same drawing on the same machine gives the same pixels,
    // whichever routines Qt picks for the processor.
    FSB_COMPARE_PICTURES(actual.preview, expected.preview, 0);
}

QString SaveImage(const QTemporaryDir& dir, const QString& name, QColor colour, QSize size,
                  const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath(name);
    return image.save(path, format, 90) ? path : QString();
}

QString SaveMask(const QTemporaryDir& dir)
{
    QImage mask(400, 300, QImage::Format_RGB888);
    mask.fill(Qt::black);
    QPainter(&mask).fillRect(QRect(20, 20, 360, 260), Qt::white);
    const QString path = dir.filePath("mask.bmp");
    return mask.save(path, "BMP") ? path : QString();
}

void Choose(TestProgram& program, FileNameEdit* edit, const QString& file)
{
    program.dialogs->answerFile(file);
    QTest::mouseClick(edit->browseButton(), Qt::LeftButton);
}

void Type(SpinEdit* edit, const QString& text)
{
    edit->lineEdit()->selectAll();
    QTest::keyClicks(edit->lineEdit(), text);
}

void Drag(TestProgram& program, QWidget* pressed, QPoint by)
{
    QWindow* window = program.F().windowHandle();
    const QPoint from = pressed->mapTo(&program.F(), pressed->rect().center());
    QTest::mousePress(window, Qt::LeftButton, {}, from);
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(window, from + by * step / 4);
    QTest::mouseRelease(window, Qt::LeftButton, {}, from + by);
}

struct Edit {
    const char* name;
    int component; // selected first; -1: none
    std::function<void(TestProgram&, const QTemporaryDir&)> change;
    const char* undoText;
    // Made first, and not measured.
    std::function<void(TestProgram&)> prepare = {};
    bool undoLeavesShape = false;
};

void UseSkin(TestProgram& program)
{
    program.FBox().CheckBox2->setChecked(true);
}

const std::vector<Edit>& Edits()
{
    static const std::vector<Edit> edits{
        {"drag of a button", 3,
         [](TestProgram& p, const QTemporaryDir&) {
             Drag(p, p.F().BClose, {-40, 30});
         },
         "przesunięcie PClose"},
        {"drag of the page control", 0,
         [](TestProgram& p, const QTemporaryDir&) {
             Drag(p, p.F().Sytuacje, {30, -20});
         },
         "przesunięcie PC1"},
        {"typed top", 23, [](TestProgram& p, const QTemporaryDir&) { Type(p.FBox().Top, "120"); },
         "położenie LB"},
        {"stepped width", 1, [](TestProgram& p, const QTemporaryDir&) { p.FBox().Szer->stepUp(); },
         "rozmiar OP1"},
        {"window width", -1, [](TestProgram& p, const QTemporaryDir&) { Type(p.FBox().FW, "500"); },
         "rozmiar okna"},
        {"border", -1, [](TestProgram& p, const QTemporaryDir&) { p.FBox().R_border->stepUp(); },
         "ramka PRys"},
        {"colour", -1, [](TestProgram& p, const QTemporaryDir&) { p.FBox().O_color->setValue(0x000000FFu); },
         "kolor OP1"},
        {"inner colour", -1,
         [](TestProgram& p, const QTemporaryDir&) { p.FBox().R_color->setValue(0x0000FF00u); },
         "kolor rysunku PRys"},
        {"font", -1,
         [](TestProgram& p, const QTemporaryDir&) {
             p.FBox().B_font->setFontName(QStringLiteral("DejaVu Serif"));
         },
         "czcionka LB"},
        {"font size of the path labels", -1,
         [](TestProgram& p, const QTemporaryDir&) { p.FBox().D_fontsize->setSize(14); },
         "rozmiar czcionki L1"},
        {"font colour", -1,
         [](TestProgram& p, const QTemporaryDir&) { p.FBox().K_fontcolor->setValue(0x00FF0000u); },
         "kolor czcionki LM"},
        {"flatness", -1, [](TestProgram& p, const QTemporaryDir&) { p.FBox().O_Flat->click(); },
         "płaskość OP1"},
        {"flat scroll bars", -1, [](TestProgram& p, const QTemporaryDir&) { p.FBox().B_flatscroll->click(); },
         "płaskie scrollbary LB"},
        {"mouse-out picture", 6,
         [](TestProgram& p, const QTemporaryDir& dir) {
             Choose(p, p.FBox().MP1, SaveImage(dir, "out.jpg", Qt::red, {30, 28}, "JPG"));
         },
         "obrazek MouseOut P1"},
        {"mouse-over picture", 6,
         [](TestProgram& p, const QTemporaryDir& dir) {
             Choose(p, p.FBox().MP2, SaveImage(dir, "over.jpg", Qt::blue, {30, 28}, "JPG"));
         },
         "obrazek Mouse Over P1"},
        {"skin picture", -1,
         [](TestProgram& p, const QTemporaryDir& dir) {
             Choose(p, p.FBox().Skin, SaveImage(dir, "skin.jpg", Qt::darkCyan, {400, 300}, "JPG"));
         },
         "obraz skóry", UseSkin},
        {"mask", -1,
         [](TestProgram& p, const QTemporaryDir& dir) { Choose(p, p.FBox().Maska, SaveMask(dir)); }, "maska",
         UseSkin, true},
        {"use of the skin", -1, [](TestProgram& p, const QTemporaryDir&) { p.FBox().CheckBox2->click(); },
         "Użyj skóry"},
    };
    return edits;
}

} // namespace

class HistoryTest : public QObject {
    Q_OBJECT
private slots:
    void everyKindOfChangeIsOneExactStep_data()
    {
        QTest::addColumn<int>("row");
        for (std::size_t row = 0; row < Edits().size(); ++row)
            QTest::newRow(Edits()[row].name) << int(row);
    }

    void everyKindOfChangeIsOneExactStep()
    {
        QFETCH(int, row);
        const Edit& edit = Edits()[std::size_t(row)];
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        TestProgram program;
        TFBox& box = program.FBox();
        box.ensurePropertiesTab();
        if (edit.component >= 0) box.SelectComponent(edit.component);
        QUndoStack& history = box.history().stack();
        if (edit.prepare) {
            edit.prepare(program);
            history.clear();
        }

        const State before = Capture(program);
        edit.change(program, dir);
        QCOMPARE(history.count(), 1);
        QCOMPARE(history.undoText(), QString::fromUtf8(edit.undoText));
        QVERIFY(!history.isClean());
        const State after = Capture(program);
        QVERIFY(after.document != before.document || after.preview != before.preview);

        history.undo();
        CompareStates(program, before, edit.undoLeavesShape);
        QCOMPARE(history.index(), 0);
        history.redo();
        CompareStates(program, after);
        history.undo();
        CompareStates(program, before, edit.undoLeavesShape);
    }

    // A drag is one step however many moves it takes; a press that does not
    // move is none.
    void aDragIsOneStepAndAClickNone()
    {
        TestProgram program;
        QUndoStack& history = program.FBox().history().stack();
        Drag(program, program.F().BMini, {0, 0});
        QCOMPARE(history.count(), 0);
        Drag(program, program.F().BMini, {-50, 40});
        const QPoint afterFirst = program.F().PMini->pos();
        Drag(program, program.F().BMini, {10, 10});
        QCOMPARE(history.count(), 2);
        history.undo();
        QCOMPARE(program.F().PMini->pos(), afterFirst);
        history.undo();
        QCOMPARE(program.F().PMini->pos(), QPoint(430, 16));
    }

    // Keystrokes in one field within the pause are one step; the same keys
    // with no pause allowed are one step each; another field starts anew.
    void typingMergesWithinThePause()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        box.ensurePropertiesTab();
        QUndoStack& history = box.history().stack();
        box.SelectComponent(3);
        box.Button4Click();
        QCOMPARE(history.count(), 0); // fetching the place changes no skin

        Type(box.Left, "200");
        QCOMPARE(history.count(), 1);
        QCOMPARE(program.F().PClose->x(), 200);
        Type(box.Top, "30");
        QCOMPARE(history.count(), 2);
        history.undo();
        history.undo();
        QCOMPARE(program.F().PClose->pos(), QPoint(464, 16));
        QCOMPARE(box.Left->text(), QStringLiteral("464"));
        QVERIFY(history.isClean());

        box.history().setMergePause(std::chrono::milliseconds(-1));
        Type(box.Left, "321");
        // Selecting all and typing: a change per key.
        QCOMPARE(history.count(), 3);
        history.undo();
        QCOMPARE(program.F().PClose->x(), 32);
    }

    // Typing a value back to what it was leaves no step to take back.
    void typingBackLeavesNoStep()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        box.ensurePropertiesTab();
        box.SelectComponent(0);
        box.Button3Click();
        Type(box.Szer, "300");
        QCOMPARE(box.history().stack().count(), 1);
        Type(box.Szer, "209");
        QCOMPARE(box.history().stack().count(), 0);
        QVERIFY(box.history().stack().isClean());
    }

    // The undo and redo keys wait while a component is dragged: the drag's
    // step starts from the state at the press, which a step taken back or
    // done again meanwhile would leave behind.
    void historyKeysWaitForTheDragToEnd()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        box.ensurePropertiesTab();
        QUndoStack& history = box.history().stack();
        box.SelectComponent(3);
        const std::string start = Capture(program).document;
        // Where no other control, nor the settings window, covers it.
        Type(box.Top, "320");
        Type(box.Left, "450");
        history.undo();
        QCOMPARE(history.index(), 1);

        QWindow* window = program.F().windowHandle();
        const QPoint from = program.F().BClose->mapTo(&program.F(), program.F().BClose->rect().center());
        // Alt held: the control follows the pointer exactly, with no snapping.
        QTest::mousePress(window, Qt::LeftButton, Qt::AltModifier, from);
        QTest::mouseEvent(QTest::MouseMove, window, Qt::NoButton, Qt::AltModifier, from + QPoint(10, 10));
        QTest::keyClick(&program.F(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(history.index(), 1);
        QTest::keyClick(&program.F(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(history.index(), 1);
        QCOMPARE(program.F().PClose->pos(), QPoint(474, 330));
        QTest::mouseRelease(window, Qt::LeftButton, Qt::AltModifier, from + QPoint(20, -30));
        QCOMPARE(history.count(), 2);

        history.undo();
        QCOMPARE(program.F().PClose->pos(), QPoint(464, 320));
        history.undo();
        QCOMPARE(Capture(program).document, start);
    }

    // The mask and the skin picture are stored after a capture. Right after
    // start-up that capture brings every section into the empty document;
    // undoing the picture takes back its key and leaves the sections where
    // the capture put them, so a save writes them in the skin's order.
    void undoLeavesTheCapturedSectionsInPlace_data()
    {
        QTest::addColumn<bool>("mask");
        QTest::newRow("mask") << true;
        QTest::newRow("skin picture") << false;
    }
    void undoLeavesTheCapturedSectionsInPlace()
    {
        QFETCH(bool, mask);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        TestProgram program;
        TestProgram untouched;
        TFBox& box = program.FBox();
        box.ensurePropertiesTab();
        for (TestProgram* each : {&program, &untouched})
            UseSkin(*each);
        if (mask)
            Choose(program, box.Maska, SaveMask(dir));
        else
            Choose(program, box.Skin, SaveImage(dir, "skin.jpg", Qt::darkCyan, {400, 300}, "JPG"));
        QCOMPARE(box.history().stack().count(), 2);
        const std::string after = Capture(program).document;

        box.history().stack().undo();
        QCOMPARE(Capture(program).document, Capture(untouched).document);
        box.history().stack().redo();
        QCOMPARE(Capture(program).document, after);
    }

    // A button picture stored in the empty document brings its section
    // alone; undo takes the section back with the key.
    void undoDropsASectionTheStepBroughtAlone()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        TestProgram program;
        TFBox& box = program.FBox();
        box.ensurePropertiesTab();
        box.SelectComponent(6);
        Choose(program, box.MP1, SaveImage(dir, "out.jpg", Qt::red, {30, 28}, "JPG"));
        const std::string stored = program.text();
        QVERIFY(stored.starts_with("[P1]\r\nMP1="));
        box.history().stack().undo();
        QCOMPARE(program.text(), std::string());
        box.history().stack().redo();
        QCOMPARE(program.text(), stored);
    }

    // A skin that uses its mask keeps no window size. Switched off, a save
    // writes the size; switched back by undo, the skin holds no size again,
    // as before the switch.
    void undoingTheSwitchTakesBackTheSavedSize()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath("shaped.ski");
        {
            TestProgram maker;
            UseSkin(maker);
            Choose(maker, maker.FBox().Maska, SaveMask(dir));
            maker.dialogs->answerFile(path);
            QVERIFY(maker.FBox().Button2Click());
        }
        TestProgram program;
        TFBox& box = program.FBox();
        box.ensurePropertiesTab();
        program.dialogs->answerFile(path);
        box.Button1Click();
        QVERIFY(box.CheckBox2->isChecked());
        const std::string loaded = Capture(program).document;
        const auto skinSection = [](const std::string& text) {
            return text.substr(0, text.find("\r\n\r\n"));
        };
        QCOMPARE(skinSection(loaded).find("\r\nW="), std::string::npos);

        box.CheckBox2->click();
        program.dialogs->answerFile(path);
        QVERIFY(box.Button2Click());
        const std::string saved = program.text();
        QVERIFY(skinSection(saved).find("\r\nW=") != std::string::npos);
        box.history().stack().undo();
        QCOMPARE(Capture(program).document, loaded);
        box.history().stack().redo();
        QCOMPARE(Capture(program).document, saved);
    }

    // A new step after an undo drops what could have been redone.
    void aNewStepDropsTheRedo()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        box.ensurePropertiesTab();
        box.O_color->setValue(0x00008000u);
        box.history().stack().undo();
        QVERIFY(box.history().stack().canRedo());
        box.P_color->setValue(0x00800000u);
        QVERIFY(!box.history().stack().canRedo());
        QCOMPARE(box.history().stack().undoText(), QStringLiteral("kolor PC1"));
    }
};

FSB_PROGRAM_TEST_MAIN(HistoryTest)
#include "test_history.moc"
