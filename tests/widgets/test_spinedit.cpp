// The spin edit: what typing may enter, how any text reads, stepping with
// and without limits, and the change signal on every text change.

#include "widgets/SpinEdit.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <limits>

using namespace fabulor;

class SpinEditTest : public QObject {
    Q_OBJECT
private slots:
    void startsAtZero()
    {
        SpinEdit edit;
        QCOMPARE(edit.text(), QStringLiteral("0"));
        QCOMPARE(edit.value(), 0);
        edit.stepUp(); // one at a time
        QCOMPARE(edit.value(), 1);
        edit.setValue(-100000); // and no limits
        QCOMPARE(edit.value(), -100000);
    }

    void partsAreMadeWhenFirstShownAndKeepTheValue()
    {
        QWidget page;
        page.resize(200, 50);
        auto* edit = new SpinEdit(&page);
        edit->setGeometry(8, 8, 65, 21);
        edit->setAccessibleName(QStringLiteral("Szer"));
        edit->nameParts();
        edit->show(); // marked to show, its page still hidden
        QSignalSpy changed(edit, &SpinEdit::changed);
        edit->setLimits(0, 100);
        edit->setIncrement(5);
        edit->setValue(250);
        edit->stepDown();
        QCOMPARE(edit->value(), 95);
        QCOMPARE(changed.count(), 2);
        QVERIFY(!edit->hasParts());

        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QVERIFY(edit->hasParts());
        QVERIFY(edit->lineEdit()->isVisible() && edit->downButton()->isVisible());
        QCOMPARE(edit->lineEdit()->text(), QStringLiteral("95"));
        QCOMPARE(edit->lineEdit()->width() + edit->upButton()->width(), edit->width());
        QCOMPARE(edit->upButton()->accessibleName(), QStringLiteral("Szer: zwiększ"));
        QCOMPARE(changed.count(), 2); // making the parts changes nothing
        QTest::keyClick(edit->lineEdit(), Qt::Key_Up);
        QCOMPARE(edit->value(), 100);
        QCOMPARE(changed.count(), 3);
    }

    void typingTakesDigitsAndSignsOnly_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("digits") << "125"
                                << "125" << 125;
        QTest::newRow("minus") << "-20"
                               << "-20" << -20;
        QTest::newRow("plus") << "+7"
                              << "+7" << 7;
        QTest::newRow("letters refused") << "1a2b"
                                         << "12" << 12;
        QTest::newRow("space and point refused") << "3 .5"
                                                 << "35" << 35;
        QTest::newRow("hex marker refused") << "$1F"
                                            << "1" << 1;
        QTest::newRow("sign alone") << "-"
                                    << "-" << 0;
        QTest::newRow("sign after digits") << "5-"
                                           << "5-" << 0;
        QTest::newRow("two signs") << "+-3"
                                   << "+-3" << 0;
        QTest::newRow("beyond 32 bits") << "99999999999"
                                        << "99999999999" << 0;
        QTest::newRow("leading zeros") << "007"
                                       << "007" << 7;
    }
    void typingTakesDigitsAndSignsOnly()
    {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(int, value);
        SpinEdit edit;
        edit.lineEdit()->clear();
        QTest::keyClicks(edit.lineEdit(), typed);
        QCOMPARE(edit.text(), text);
        QCOMPARE(edit.value(), value);
    }

    void emptyTextReadsAsZero()
    {
        SpinEdit edit;
        edit.setValue(40);
        QSignalSpy changed(&edit, &SpinEdit::changed);
        QTest::keyClick(edit.lineEdit(), Qt::Key_Backspace);
        QTest::keyClick(edit.lineEdit(), Qt::Key_Backspace);
        QCOMPARE(edit.text(), QString());
        QCOMPARE(edit.value(), 0);
        QCOMPARE(changed.count(), 2); // every change of the text, not just the last
    }

    void pastedTextMustBeANumberToo()
    {
        SpinEdit edit;
        edit.lineEdit()->clear();
        edit.lineEdit()->insert(QStringLiteral("12px"));
        QCOMPARE(edit.text(), QString());
        edit.lineEdit()->insert(QStringLiteral("-12"));
        QCOMPARE(edit.value(), -12);
    }

    void shortcutsAreNotRefused()
    {
        SpinEdit edit;
        edit.setValue(15);
        QTest::keyClick(edit.lineEdit(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(edit.lineEdit()->selectedText(), QStringLiteral("15"));
    }

    void settingFromCodeSignalsOnlyRealChanges()
    {
        SpinEdit edit;
        QSignalSpy changed(&edit, &SpinEdit::changed);
        edit.setValue(0);
        QCOMPARE(changed.count(), 0);
        edit.setValue(-35);
        QCOMPARE(edit.text(), QStringLiteral("-35"));
        QCOMPARE(changed.count(), 1);
        edit.setValue(-35);
        QCOMPARE(changed.count(), 1);
        // "+5" reads as 5 but is other text: writing 5 replaces it.
        edit.lineEdit()->setText(QStringLiteral("+5"));
        changed.clear();
        edit.setValue(5);
        QCOMPARE(edit.text(), QStringLiteral("5"));
        QCOMPARE(changed.count(), 1);
    }

    void buttonsAndArrowKeysStepFreelyWithoutLimits()
    {
        SpinEdit edit;
        edit.setIncrement(5);
        QSignalSpy changed(&edit, &SpinEdit::changed);
        QTest::mouseClick(edit.upButton(), Qt::LeftButton);
        QCOMPARE(edit.value(), 5);
        QTest::mouseClick(edit.downButton(), Qt::LeftButton);
        QTest::mouseClick(edit.downButton(), Qt::LeftButton);
        QCOMPARE(edit.value(), -5);
        QTest::keyClick(edit.lineEdit(), Qt::Key_Down);
        QCOMPARE(edit.value(), -10);
        QTest::keyClick(edit.lineEdit(), Qt::Key_Up);
        QTest::keyClick(edit.lineEdit(), Qt::Key_Up);
        QTest::keyClick(edit.lineEdit(), Qt::Key_Up);
        QCOMPARE(edit.text(), QStringLiteral("5"));
        QCOMPARE(changed.count(), 7);
        // Text that is not a number steps from 0.
        edit.lineEdit()->setText(QStringLiteral("-"));
        edit.stepUp();
        QCOMPARE(edit.text(), QStringLiteral("5"));
    }

    void steppingStopsAtTheEndsOfTheIntegerRange()
    {
        SpinEdit edit;
        edit.setIncrement(5);
        edit.setValue(std::numeric_limits<int>::max() - 2);
        edit.stepUp();
        QCOMPARE(edit.value(), std::numeric_limits<int>::max());
        edit.setValue(std::numeric_limits<int>::min());
        edit.stepDown();
        QCOMPARE(edit.value(), std::numeric_limits<int>::min());
    }

    void limitsHoldForButtonsAndCodeButNotWhileTyping()
    {
        SpinEdit edit;
        edit.setLimits(0, 10);
        edit.setIncrement(3);
        edit.setValue(20);
        QCOMPARE(edit.text(), QStringLiteral("10"));
        edit.stepUp();
        QCOMPARE(edit.value(), 10);
        edit.setValue(1);
        edit.stepDown();
        QCOMPARE(edit.value(), 0);

        edit.lineEdit()->clear();
        QTest::keyClicks(edit.lineEdit(), QStringLiteral("25"));
        QCOMPARE(edit.text(), QStringLiteral("25"));
        QCOMPARE(edit.value(), 25);

        // Leaving the edit pulls the value back to the nearest limit.
        QSignalSpy changed(&edit, &SpinEdit::changed);
        QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(edit.lineEdit(), &focusOut);
        QCOMPARE(edit.text(), QStringLiteral("10"));
        QCOMPARE(changed.count(), 1);

        edit.lineEdit()->setText(QStringLiteral("-4"));
        QCoreApplication::sendEvent(edit.lineEdit(), &focusOut);
        QCOMPARE(edit.text(), QStringLiteral("0"));

        // A value inside the limits is left as typed.
        edit.lineEdit()->setText(QStringLiteral("+7"));
        changed.clear();
        QCoreApplication::sendEvent(edit.lineEdit(), &focusOut);
        QCOMPARE(edit.text(), QStringLiteral("+7"));
        QCOMPARE(changed.count(), 0);
    }

    void widerUseFromZeroToFiveThousand()
    {
        SpinEdit edit;
        edit.setLimits(0, 5000);
        edit.setIncrement(5);
        edit.setValue(4998);
        edit.stepUp();
        QCOMPARE(edit.value(), 5000);
        edit.lineEdit()->clear();
        QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(edit.lineEdit(), &focusOut);
        QCOMPARE(edit.text(), QString()); // empty reads as 0, which is inside
    }
};

QTEST_MAIN(SpinEditTest)
#include "test_spinedit.moc"
