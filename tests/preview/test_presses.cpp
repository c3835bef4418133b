// Presses in the preview: every component selects itself and follows the
// pointer until the button that pressed it is released; pages and the inner
// picture area move their enclosing control; the background moves the window.
// The presses go through the window, as the window system delivers them.

#include "preview/InteractiveMove.h"
#include "preview/PreviewWindow.h"
#include "preview/SelectionFrame.h"
#include "support/TestProgram.h"
#include "widgets/BandPanel.h"
#include "widgets/ListView.h"
#include "widgets/Memo.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/PictureBox.h"
#include "widgets/SpinEdit.h"
#include "widgets/StaticText.h"

#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolTip>
#include <QWindow>

#include <algorithm>
#include <array>

using namespace fabulor;

namespace {

// The program with a pointer that presses through the preview window. Alt
// is held throughout, which keeps dragged controls from snapping to their
// neighbours (test_placing): here they follow the pointer to the pixel.
struct Program : testing::TestProgram {
    QWindow* window() { return F().windowHandle(); }

    // A point of a widget in window coordinates.
    QPoint at(QWidget* widget, QPoint local) { return widget->mapTo(&F(), local); }
    QPoint centreOf(QWidget* widget) { return at(widget, widget->rect().center()); }

    void press(QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(window(), button, Qt::AltModifier, p);
    }
    void moveTo(QPoint p) { QTest::mouseEvent(QTest::MouseMove, window(), Qt::NoButton, Qt::AltModifier, p); }
    void release(QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseRelease(window(), button, Qt::AltModifier, p);
    }
    void drag(QPoint from, QPoint by, Qt::MouseButton button = Qt::LeftButton)
    {
        press(from, button);
        moveTo(from + by);
        release(from + by, button);
    }
};

// The press target of each catalogue entry, a point in it, and the control
// that moves.
struct Row {
    const char* name;
    QWidget* (*pressed)(TF&);
    QPoint point; // in the pressed widget; null: its centre
    int page;     // page of PC1 to show first; -1: page 0 inside the standard frame
    int index;
    QWidget* (*moved)(TF&);
};

#define FSB_W(expr) ([](TF& f) -> QWidget* { return (expr); })

const std::array<Row, 27> Rows{{
    {"page control frame", FSB_W(f.PC1), {1, 1}, -1, 0, FSB_W(f.PC1)},
    {"page Sytuacje", FSB_W(f.Sytuacje), {180, 140}, 0, 0, FSB_W(f.PC1)},
    {"page Przedm", FSB_W(f.Przedm), {10, 10}, 3, 0, FSB_W(f.PC1)},
    {"description", FSB_W(f.Op1->viewport()), {}, 0, 1, FSB_W(f.Op1)},
    {"picture frame", FSB_W(f.PRys), {2, 100}, 0, 2, FSB_W(f.PRys)},
    {"inner picture area", FSB_W(f.Rys), {}, 0, 2, FSB_W(f.PRys)},
    {"close", FSB_W(f.BClose), {}, 0, 3, FSB_W(f.PClose)},
    {"minimise", FSB_W(f.BMini), {}, 0, 4, FSB_W(f.PMini)},
    {"menu", FSB_W(f.BMenu), {}, 0, 5, FSB_W(f.PMenu)},
    {"path 1", FSB_W(f.B1), {}, 0, 6, FSB_W(f.P1)},
    {"path 2", FSB_W(f.B2), {}, 0, 7, FSB_W(f.P2)},
    {"path 3", FSB_W(f.B3), {}, 0, 8, FSB_W(f.P3)},
    {"path 4", FSB_W(f.B4), {}, 0, 9, FSB_W(f.P4)},
    {"up", FSB_W(f.BG), {}, 1, 10, FSB_W(f.PG)},
    {"down", FSB_W(f.BD), {}, 1, 11, FSB_W(f.PD)},
    {"left", FSB_W(f.BL), {}, 1, 12, FSB_W(f.PL)},
    {"right", FSB_W(f.BP), {}, 1, 13, FSB_W(f.PP)},
    {"end", FSB_W(f.BEnd), {}, 2, 14, FSB_W(f.PEnd)},
    {"ok", FSB_W(f.BItem), {}, 3, 15, FSB_W(f.PItem)},
    {"warning", FSB_W(f.BUwaga), {}, 0, 16, FSB_W(f.PUwaga)},
    {"move strip", FSB_W(f.PMove), {}, 0, 17, FSB_W(f.PMove)},
    {"path label 1", FSB_W(f.L1), {}, 0, 18, FSB_W(f.L1)},
    {"path label 2", FSB_W(f.L2), {}, 0, 19, FSB_W(f.L2)},
    {"path label 3", FSB_W(f.L3), {}, 0, 20, FSB_W(f.L3)},
    {"path label 4", FSB_W(f.L4), {}, 0, 21, FSB_W(f.L4)},
    {"message label", FSB_W(f.LM), {}, 0, 22, FSB_W(f.LM)},
    {"item list", FSB_W(f.LB->viewport()), {}, 0, 23, FSB_W(f.LB)},
}};

#undef FSB_W

} // namespace

class PressesTest : public QObject {
    Q_OBJECT
private slots:
    void everyComponentSelectsAndMovesItsControl_data()
    {
        QTest::addColumn<int>("row");
        for (std::size_t i = 0; i < Rows.size(); ++i)
            QTest::newRow(Rows[i].name) << int(i);
    }
    void everyComponentSelectsAndMovesItsControl()
    {
        QFETCH(int, row);
        const Row& r = Rows[std::size_t(row)];
        Program p;
        QVERIFY(QTest::qWaitForWindowExposed(&p.F()));
        p.F().PC1->setActivePageIndex(std::max(r.page, 0));
        if (r.page < 0) p.F().PC1->setClientBorderWidth(4);
        QWidget* pressed = r.pressed(p.F());
        QWidget* moved = r.moved(p.F());
        const QPoint from = r.point.isNull() ? p.centreOf(pressed) : p.at(pressed, r.point);
        QCOMPARE(p.F().childAt(from), pressed); // the press lands where the row says
        const QPoint before = moved->pos();

        p.drag(from, {3, 2});
        QCOMPARE(p.FBox().currentComponent(), r.index);
        QCOMPARE(p.FBox().PCTRL->currentWidget(), p.FBox().Comps);
        QCOMPARE(moved->pos(), before + QPoint(3, 2));
        QVERIFY(!p.F().Move->isActive());
        QCOMPARE(p.F().pos(), QPoint(191, 206));
        QCOMPARE(p.F().Selection->target(), moved);
    }

    void draggingTheCloseButtonThirtyPixelsLeft()
    {
        Program p;
        QVERIFY(QTest::qWaitForWindowExposed(&p.F()));
        TF& F = p.F();
        const QPoint from = p.centreOf(F.BClose);
        p.press(from);
        QCOMPARE(p.FBox().currentComponent(), 3);
        QCOMPARE(p.FBox().PCTRL->currentWidget(), p.FBox().Comps);
        QVERIFY(p.FBox().Rysunek->isVisibleTo(p.FBox().Comps));
        QVERIFY(!p.FBox().Rozmiar->isVisibleTo(p.FBox().Comps));

        p.moveTo(from - QPoint(15, 0));
        p.moveTo(from - QPoint(30, 0));
        QCOMPARE(F.PClose->pos(), QPoint(434, 16));
        // While dragging, the place shows next to the pointer.
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QStringLiteral("Top: 16  Left: 434"));
        const int m = SelectionFrame::Margin;
        QCOMPARE(F.Selection->geometry(), F.PClose->geometry().adjusted(-m, -m, m, m));

        p.release(from - QPoint(30, 0));
        QCOMPARE(F.PClose->pos(), QPoint(434, 16));
        QCOMPARE(F.BClose->pos(), QPoint(0, 0));
        QTRY_VERIFY(!QToolTip::isVisible());
        // Nothing follows the move: the spin edits and the document wait.
        QCOMPARE(p.FBox().Top->text(), QStringLiteral("0"));
        QCOMPARE(p.FBox().Left->text(), QStringLiteral("0"));
        std::vector<std::string> lines;
        p.builder->document()->getStrings(lines);
        QVERIFY(lines.empty());
        QCOMPARE(p.FBox().ComponentLeft(3), 434);

        // Moving the pointer afterwards moves nothing.
        p.moveTo(from);
        QCOMPARE(F.PClose->pos(), QPoint(434, 16));
    }

    void aPressWithoutMovementOnlySelects()
    {
        Program p;
        QVERIFY(QTest::qWaitForWindowExposed(&p.F()));
        QTRY_VERIFY(!QToolTip::isVisible());
        const QPoint from = p.centreOf(p.F().BMini);
        p.press(from);
        p.release(from);
        QCOMPARE(p.FBox().currentComponent(), 4);
        QCOMPARE(p.F().PMini->pos(), QPoint(430, 16));
        QVERIFY(!QToolTip::isVisible());
    }

    void aDragOnAPageMovesTheWholePageControl()
    {
        Program p;
        QVERIFY(QTest::qWaitForWindowExposed(&p.F()));
        TF& F = p.F();
        F.PC1->setActivePageIndex(1);
        const QPoint onScreenBefore = p.at(F.PG, {0, 0});
        p.drag(p.at(F.Kierunki, {10, 10}), {15, 10});
        QCOMPARE(p.FBox().currentComponent(), 0);
        QCOMPARE(p.FBox().componentChooser()->currentText(),
                 QStringLiteral("Page Control - Syt., Kier., Inw., Koniec"));
        QCOMPARE(F.PC1->pos(), QPoint(39, 154));
        QCOMPARE(F.PC1->activePageIndex(), 1); // a press never changes the page
        QCOMPARE(F.PG->pos(), QPoint(85, 40));
        QCOMPARE(F.PD->pos(), QPoint(85, 80));
        QCOMPARE(F.PL->pos(), QPoint(45, 80));
        QCOMPARE(F.PP->pos(), QPoint(125, 80));
        QCOMPARE(p.at(F.PG, {0, 0}), onScreenBefore + QPoint(15, 10));
    }

    void rightPressOnThePictureAreaSelectsWithoutMoving()
    {
        Program p;
        QVERIFY(QTest::qWaitForWindowExposed(&p.F()));
        TF& F = p.F();
        p.drag(p.centreOf(F.Rys), {20, 20}, Qt::RightButton);
        QCOMPARE(p.FBox().currentComponent(), 2);
        QCOMPARE(p.FBox().PCTRL->currentWidget(), p.FBox().Comps);
        QCOMPARE(F.PRys->pos(), QPoint(248, 48));

        p.drag(p.centreOf(F.Rys), {-20, 5});
        QCOMPARE(F.PRys->pos(), QPoint(228, 53));
        QCOMPARE(F.Rys->geometry(), QRect(4, 4, 233, 241));
    }

    void anyButtonMovesAButtonUntilThatButtonIsReleased()
    {
        Program p;
        QVERIFY(QTest::qWaitForWindowExposed(&p.F()));
        TF& F = p.F();
        const QPoint from = p.centreOf(F.BMenu);
        p.press(from, Qt::RightButton);
        p.moveTo(from + QPoint(0, 40));
        QCOMPARE(F.PMenu->pos(), QPoint(396, 56));
        // Another button coming and going does not end the move.
        p.press(from + QPoint(0, 40), Qt::LeftButton);
        p.release(from + QPoint(0, 40), Qt::LeftButton);
        QVERIFY(F.Move->isActive());
        p.moveTo(from + QPoint(10, 40));
        QCOMPARE(F.PMenu->pos(), QPoint(406, 56));
        p.release(from + QPoint(10, 40), Qt::RightButton);
        QVERIFY(!F.Move->isActive());
        QCOMPARE(F.PMenu->pos(), QPoint(406, 56));
    }

    void aRightPressOnTheTextBoxOpensNoMenu()
    {
        Program p;
        QVERIFY(QTest::qWaitForWindowExposed(&p.F()));
        TF& F = p.F();
        const QPoint before = F.Op1->pos();
        p.drag(p.centreOf(F.Op1->viewport()), {6, 4}, Qt::RightButton);
        QVERIFY(!QApplication::activePopupWidget());
        QCOMPARE(F.Op1->pos(), before + QPoint(6, 4));
        QCOMPARE(p.FBox().currentComponent(), 1);
    }

    void theTextBoxTakesTypingAndStillMoves()
    {
        Program p;
        TF& F = p.F();
        F.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&F));
        QVERIFY(!F.Op1->editor());
        // A press gives the box the focus, as a press on any text box does,
        // and selects and drags it all the same.
        const QPoint before = F.Op1->pos();
        p.drag(p.centreOf(F.Op1->viewport()), {5, 3});
        QCOMPARE(F.Op1->pos(), before + QPoint(5, 3));
        QCOMPARE(p.FBox().currentComponent(), 1);
        QVERIFY(F.Op1->editor());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(F.Op1->editor()));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Nowy "));
        QCOMPARE(F.Op1->toPlainText(), QStringLiteral("Nowy Tu znajduje się opis"));

        // The editor lies over the text, yet a press on it still reaches the box.
        p.drag(p.centreOf(F.Op1->viewport()), {-5, -3});
        QCOMPARE(F.Op1->pos(), before);
    }

    void aDoubleClickSelectsAndLeavesThePlace()
    {
        Program p;
        QVERIFY(QTest::qWaitForWindowExposed(&p.F()));
        TF& F = p.F();
        QTest::mouseDClick(p.window(), Qt::LeftButton, {}, p.centreOf(F.BUwaga));
        QCOMPARE(p.FBox().currentComponent(), 16);
        QCOMPARE(F.PUwaga->pos(), QPoint(25, 305));
        QVERIFY(!F.Move->isActive());
    }

    void thePointerStaysInsideTheParent()
    {
        Program p;
        QVERIFY(QTest::qWaitForWindowExposed(&p.F()));
        TF& F = p.F();
        const QPoint from = p.at(F.BClose, {5, 5});
        p.press(from);
        p.moveTo({-500, -300});
        // The grabbed point stops at the window's corner: the button hangs
        // out of the window but can still be taken back.
        QCOMPARE(F.PClose->pos(), QPoint(-5, -5));
        p.moveTo({2000, 2000});
        QCOMPARE(F.PClose->pos(), F.rect().bottomRight() - QPoint(5, 5));
        p.release({2000, 2000});
        QVERIFY(F.PClose->geometry().intersects(F.rect()));

        // Inside a page, the page is the limit.
        F.PC1->setActivePageIndex(1);
        const QPoint onButton = p.at(F.BG, {0, 0});
        p.press(onButton);
        p.moveTo(onButton + QPoint(-400, 0));
        QCOMPARE(F.PG->pos(), QPoint(0, 40));
        p.release(onButton + QPoint(-400, 0));
    }

    void theMoveStripMovesItselfNotTheWindow()
    {
        Program p;
        QVERIFY(QTest::qWaitForWindowExposed(&p.F()));
        TF& F = p.F();
        p.drag(p.at(F.PMove, {100, 10}), {12, 30});
        QCOMPARE(F.PMove->pos(), QPoint(36, 46));
        QCOMPARE(F.pos(), QPoint(191, 206));
        QCOMPARE(p.FBox().currentComponent(), 17);
    }

    void aLeftDragOnTheBackgroundMovesTheWindow()
    {
        Program p;
        QVERIFY(QTest::qWaitForWindowExposed(&p.F()));
        TF& F = p.F();
        const QPoint from = p.at(F.Skin, {300, 320});
        QCOMPARE(F.childAt(from), F.Skin);
        p.press(from);
        p.moveTo(from + QPoint(-40, 25));
        // The window followed: the pointer is back over the same spot of it.
        QCOMPARE(F.pos(), QPoint(151, 231));
        p.release(from);
        QCOMPARE(F.pos(), QPoint(151, 231));
        QVERIFY(!F.Move->isActive());
        // Nothing selected, the settings window as it was.
        QCOMPARE(p.FBox().PCTRL->currentWidget(), p.FBox().Plik);
        QCOMPARE(p.FBox().currentComponent(), 0);
        QVERIFY(F.Selection->isHidden());
        QCOMPARE(F.PClose->pos(), QPoint(464, 16));
    }

    void aRightPressOnTheBackgroundDoesNothing()
    {
        Program p;
        QVERIFY(QTest::qWaitForWindowExposed(&p.F()));
        TF& F = p.F();
        p.drag(p.at(F.Skin, {300, 320}), {-40, 25}, Qt::RightButton);
        QCOMPARE(F.pos(), QPoint(191, 206));
        QCOMPARE(p.FBox().PCTRL->currentWidget(), p.FBox().Plik);
        QVERIFY(!F.Move->isActive());
    }
};

FSB_PROGRAM_TEST_MAIN(PressesTest)

#include "test_presses.moc"
