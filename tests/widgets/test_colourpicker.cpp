// The colour picker: its list, the user's choices (the custom-colour dialog
// included), the code-set rules and exact values for window-system colours.

#include "support/ScriptedDialogs.h"
#include "widgets/ColourPicker.h"
#include "widgets/Colours.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>
#include <QWheelEvent>

using namespace fabulor;
using fabulor::testing::ScriptedDialogs;

namespace {

constexpr Colour clRed = 0x000000FF;
constexpr Colour clNavy = 0x00800000;
constexpr Colour clWhite = 0x00FFFFFF;
constexpr Colour clBtnFace = 0x8000000F;

// Chooses an entry as a user does: opens the list, moves to the entry and
// presses Return, which is the path every mouse or keyboard choice ends in.
void choose(QComboBox& combo, int row)
{
    combo.showPopup();
    QAbstractItemView* list = combo.view();
    list->setCurrentIndex(combo.model()->index(row, 0));
    QTest::keyClick(list, Qt::Key_Return);
}

// Records the picker's signals in the order they come.
struct Recorder {
    explicit Recorder(ColourPicker& picker)
    {
        QObject::connect(&picker, &ColourPicker::changed, [this, &picker] {
            events << QStringLiteral("changed");
            valuesAtChange.push_back(picker.value());
        });
        QObject::connect(&picker, &ColourPicker::clicked, [this] { events << QStringLiteral("clicked"); });
    }
    QStringList events;
    std::vector<Colour> valuesAtChange;
};

Colour entryColour(const ColourPicker& picker, int row)
{
    return picker.itemData(row, ColourPicker::ColourRole).value<quint32>();
}

// Exactly the colour: the swatch is filled opaque and not smoothed.
QColor swatchCentre(const ColourPicker& picker, int row)
{
    const QImage image = picker.itemIcon(row).pixmap(picker.iconSize()).toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

} // namespace

class ColourPickerTest : public QObject {
    Q_OBJECT
private slots:
    void listsTheNamedColoursThenCustomDialog()
    {
        ScriptedDialogs dialogs;
        ColourPicker picker(dialogs);
        const QStringList names{"Black",  "Maroon",      "Green",    "Olive",   "Navy",
                                "Purple", "Teal",        "Gray",     "Silver",  "Red",
                                "Lime",   "Yellow",      "Blue",     "Fuchsia", "Aqua",
                                "White",  "Money Green", "Sky Blue", "Cream",   "Medium Gray"};
        const QStringList identifiers{"clBlack",  "clMaroon",     "clGreen",   "clOlive",   "clNavy",
                                      "clPurple", "clTeal",       "clGray",    "clSilver",  "clRed",
                                      "clLime",   "clYellow",     "clBlue",    "clFuchsia", "clAqua",
                                      "clWhite",  "clMoneyGreen", "clSkyBlue", "clCream",   "clMedGray"};
        QCOMPARE(picker.count(), 21);
        for (int i = 0; i < 20; ++i) {
            QCOMPARE(picker.itemText(i), names[i]);
            QCOMPARE(QString::fromStdString(ColorToString(entryColour(picker, i))), identifiers[i]);
            QCOMPARE(swatchCentre(picker, i), toQColor(entryColour(picker, i)));
        }
        QCOMPARE(picker.itemText(20), QStringLiteral("Custom..."));
        QVERIFY(!picker.itemData(20, ColourPicker::ColourRole).isValid());
        QCOMPARE(picker.currentIndex(), 0);
        QCOMPARE(picker.value(), Colour(0));
    }

    void choosingAListedColourEmitsChangedThenClicked()
    {
        ScriptedDialogs dialogs;
        ColourPicker picker(dialogs);
        Recorder recorder(picker);
        choose(picker, 9);
        QCOMPARE(picker.value(), clRed);
        QCOMPARE(picker.currentText(), QStringLiteral("Red"));
        QCOMPARE(recorder.events, QStringList({"changed", "clicked"}));
        QCOMPARE(recorder.valuesAtChange, std::vector<Colour>{clRed});
        QVERIFY(dialogs.colourDialogInitials.empty());

        // The arrow key on the closed picker is a user choice too.
        recorder.events.clear();
        QTest::keyClick(&picker, Qt::Key_Down);
        QCOMPARE(picker.value(), Colour(0x0000FF00));
        QCOMPARE(recorder.events, QStringList({"changed", "clicked"}));

        // The wheel moves through the colours but never opens the dialog.
        const auto roll = [&picker](int delta) {
            QWheelEvent wheel(QPointF(5, 5), picker.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&picker, &wheel);
        };
        picker.setValue(0x00A4A0A0);
        recorder.events.clear();
        roll(-120);
        QCOMPARE(picker.value(), Colour(0x00A4A0A0));
        QVERIFY(dialogs.colourDialogInitials.empty());
        roll(120);
        QCOMPARE(picker.currentText(), QStringLiteral("Cream"));
        QCOMPARE(recorder.events, QStringList({"changed", "clicked"}));
    }

    void acceptedCustomColourIsInsertedAboveCustomDialog()
    {
        ScriptedDialogs dialogs;
        ColourPicker picker(dialogs);
        picker.setValue(clRed);
        Recorder recorder(picker);

        dialogs.colourAnswers.emplace_back(Colour(0x00123456));
        choose(picker, picker.count() - 1);
        QCOMPARE(dialogs.colourDialogInitials, std::vector<Colour>{clRed}); // opened on the current value
        QCOMPARE(picker.count(), 22);
        QCOMPARE(picker.itemText(20), QStringLiteral("Custom"));
        QCOMPARE(entryColour(picker, 20), Colour(0x00123456));
        QCOMPARE(picker.itemText(21), QStringLiteral("Custom..."));
        QCOMPARE(picker.currentIndex(), 20);
        QCOMPARE(picker.value(), Colour(0x00123456));
        QCOMPARE(recorder.events, QStringList({"changed", "clicked"}));
        QCOMPARE(recorder.valuesAtChange, std::vector<Colour>{0x00123456});
        QCOMPARE(swatchCentre(picker, 20), QColor(0x56, 0x34, 0x12));

        // A second custom colour goes below the first, still above "Custom...".
        dialogs.colourAnswers.emplace_back(Colour(0x00654321));
        choose(picker, picker.count() - 1);
        QCOMPARE(picker.count(), 23);
        QCOMPARE(entryColour(picker, 21), Colour(0x00654321));
        QCOMPARE(picker.currentIndex(), 21);
        QCOMPARE(picker.itemText(22), QStringLiteral("Custom..."));

        // A colour already listed is selected, not inserted again.
        recorder.events.clear();
        dialogs.colourAnswers.emplace_back(clWhite);
        choose(picker, picker.count() - 1);
        QCOMPARE(picker.count(), 23);
        QCOMPARE(picker.currentText(), QStringLiteral("White"));
        QCOMPARE(picker.value(), clWhite);
        QCOMPARE(recorder.events, QStringList({"changed", "clicked"}));
        dialogs.colourAnswers.emplace_back(Colour(0x00123456));
        choose(picker, picker.count() - 1);
        QCOMPARE(picker.count(), 23);
        QCOMPARE(picker.currentIndex(), 20);
    }

    void cancelledCustomDialogChangesNothing()
    {
        ScriptedDialogs dialogs;
        ColourPicker picker(dialogs);
        picker.setValue(clBtnFace);
        const int entry = picker.currentIndex();
        Recorder recorder(picker);

        dialogs.colourAnswers.emplace_back(std::nullopt);
        choose(picker, picker.count() - 1);
        QCOMPARE(dialogs.colourDialogInitials, std::vector<Colour>{clBtnFace});
        QCOMPARE(picker.value(), clBtnFace);
        QCOMPARE(picker.currentIndex(), entry);
        QCOMPARE(picker.currentText(), QStringLiteral("Custom"));
        QCOMPARE(picker.count(), 22);
        QVERIFY(recorder.events.isEmpty());
    }

    void listedColourSetFromCodeEmitsChanged()
    {
        ScriptedDialogs dialogs;
        ColourPicker picker(dialogs);
        Recorder recorder(picker);
        picker.setValue(clNavy);
        QCOMPARE(picker.currentText(), QStringLiteral("Navy"));
        QCOMPARE(recorder.events, QStringList({"changed"}));
        QCOMPARE(recorder.valuesAtChange, std::vector<Colour>{clNavy});
        // The same value again still announces itself, so a handler always
        // re-applies its group after a value is set from code.
        picker.setValue(clNavy);
        QCOMPARE(recorder.events, QStringList({"changed", "changed"}));
        QCOMPARE(picker.count(), 21);
    }

    void unlistedColourSetFromCodeIsInsertedSilently()
    {
        ScriptedDialogs dialogs;
        ColourPicker picker(dialogs);
        Recorder recorder(picker);
        picker.setValue(0x00A6CAF0);
        QVERIFY(recorder.events.isEmpty());
        QCOMPARE(picker.count(), 22);
        QCOMPARE(picker.currentIndex(), 20);
        QCOMPARE(picker.currentText(), QStringLiteral("Custom"));
        QCOMPARE(picker.value(), Colour(0x00A6CAF0));
        // Once listed, the colour is a listed one like the others.
        picker.setValue(0);
        picker.setValue(0x00A6CAF0);
        QCOMPARE(picker.count(), 22);
        QCOMPARE(picker.currentIndex(), 20);
        QCOMPARE(recorder.events, QStringList({"changed", "changed"}));
    }

    void specialColoursKeepTheirExactValue_data()
    {
        QTest::addColumn<Colour>("colour");
        QTest::newRow("clBtnFace") << Colour(0x8000000F);
        QTest::newRow("clWindow") << Colour(0x80000005);
        QTest::newRow("clMenuBar") << Colour(0x8000001E);
        QTest::newRow("clNone") << Colour(0x1FFFFFFF);
        QTest::newRow("clDefault") << Colour(0x20000000);
        QTest::newRow("plain, low bytes of clNone") << Colour(0x00FFFFFF);
    }
    void specialColoursKeepTheirExactValue()
    {
        QFETCH(Colour, colour);
        ScriptedDialogs dialogs;
        ColourPicker picker(dialogs);
        picker.setValue(colour);
        QCOMPARE(picker.value(), colour);
        QCOMPARE(entryColour(picker, picker.currentIndex()), colour);
        QCOMPARE(swatchCentre(picker, picker.currentIndex()), toQColor(colour));
        // The tip names it as the skin file will.
        QVERIFY(picker.toolTip().contains(QString::fromStdString(ColorToString(colour))));
        // Coming back after another colour finds the same entry.
        picker.setValue(clRed);
        picker.setValue(colour);
        QCOMPARE(picker.value(), colour);
        dialogs.colourAnswers.emplace_back(std::nullopt);
        choose(picker, picker.count() - 1);
        QCOMPARE(picker.value(), colour);
    }

    void windowSystemSwatchesFollowThePalette()
    {
        ScriptedDialogs dialogs;
        ColourPicker picker(dialogs);
        picker.setValue(clBtnFace);
        const int entry = picker.currentIndex();
        const QPalette original = QApplication::palette();
        QPalette changed = original;
        changed.setColor(QPalette::Active, QPalette::Button, QColor(12, 200, 34));
        QApplication::setPalette(changed);
        QCoreApplication::processEvents();
        QCOMPARE(swatchCentre(picker, entry), QColor(12, 200, 34));
        QApplication::setPalette(original);
        QCoreApplication::processEvents();
        QCOMPARE(swatchCentre(picker, entry), original.color(QPalette::Active, QPalette::Button));
        QCOMPARE(picker.value(), clBtnFace);
    }
};

QTEST_MAIN(ColourPickerTest)
#include "test_colourpicker.moc"
