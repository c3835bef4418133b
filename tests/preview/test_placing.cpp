// Placing components: a dragged control snaps to the lines of its neighbours
// and of its parent, with guides that show while the button is down and
// never reach the skin; the arrow keys nudge the selected component, a run
// of nudges being one step; Tab and Shift+Tab select along the catalogue;
// the selection keeps one current component.

#include "editor/SettingsWindow.h"
#include "preview/ComponentSelection.h"
#include "preview/InteractiveMove.h"
#include "preview/PreviewWindow.h"
#include "preview/SelectionFrame.h"
#include "preview/SnapGuides.h"
#include "preview/Snapping.h"
#include "support/TestProgram.h"
#include "widgets/BandPanel.h"
#include "widgets/ListView.h"
#include "widgets/Memo.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/PictureBox.h"
#include "widgets/SpinEdit.h"
#include "widgets/StaticText.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolTip>
#include <QUndoStack>
#include <QWindow>

#include <climits>
#include <vector>

using namespace fabulor;
using fabulor::testing::TestProgram;

Q_DECLARE_METATYPE(std::vector<QRect>)

namespace {

const QRect Area(0, 0, 600, 400);

struct Program : TestProgram {
    QWindow* window() { return F().windowHandle(); }
    QPoint centreOf(QWidget* widget) { return widget->mapTo(&F(), widget->rect().center()); }

    // Presses widget, and drags the control it moves so that, were nothing
    // to catch it, its top-left corner would come to rest at to; the
    // button stays down.
    void dragTowards(QWidget* pressed, QWidget* moved, QPoint to, Qt::KeyboardModifiers modifiers = {})
    {
        pointer = centreOf(pressed);
        QTest::mousePress(window(), Qt::LeftButton, modifiers, pointer);
        const QPoint by = to - moved->pos();
        for (int step = 1; step <= 3; ++step)
            moveTo(pointer + by * step / 3, modifiers);
    }
    void moveTo(QPoint p, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseEvent(QTest::MouseMove, window(), Qt::NoButton, modifiers, p);
        last = p;
    }
    void release(Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseRelease(window(), Qt::LeftButton, modifiers, last);
    }

    // Hides the components of the window other than keep, so that only
    // the lines a case names can catch a drag.
    void keepOnly(std::initializer_list<QWidget*> keep)
    {
        for (QWidget* c : std::initializer_list<QWidget*>{F().PC1, F().Op1, F().PRys, F().PClose, F().PMini,
                                                          F().PMenu, F().PUwaga, F().PMove, F().LM, F().LB})
            c->setVisible(std::find(keep.begin(), keep.end(), c) != keep.end());
    }

    bool guidesShown() { return F().Move->guides() && F().Move->guides()->isVisible(); }
    std::vector<SnapGuide> guides() { return F().Move->guides()->guides(); }

    void key(int key, Qt::KeyboardModifiers modifiers = {}, QWidget* to = nullptr)
    {
        QTest::keyClick(to ? to : &F(), Qt::Key(key), modifiers);
    }

    QPoint pointer;
    QPoint last;
};

bool Has(const std::vector<SnapGuide>& guides, const SnapGuide& guide)
{
    return std::find(guides.begin(), guides.end(), guide) != guides.end();
}

} // namespace

class PlacingTest : public QObject {
    Q_OBJECT
private slots:
    // The geometry alone: which line catches a control, and where.
    void snapping_data()
    {
        QTest::addColumn<QRect>("moving");
        QTest::addColumn<std::vector<QRect>>("others");
        QTest::addColumn<QPoint>("expected");
        const QRect a(50, 50, 40, 40);
        QTest::newRow("nothing near")
            << QRect(100, 100, 20, 10) << std::vector{QRect(300, 300, 40, 40)} << QPoint(100, 100);
        QTest::newRow("left to left, 4 away") << QRect(54, 150, 20, 10) << std::vector{a} << QPoint(50, 150);
        QTest::newRow("5 away still catches")
            << QRect(55, 150, 8, 10) << std::vector{QRect(50, 50, 60, 30)} << QPoint(50, 150);
        QTest::newRow("6 away does not")
            << QRect(56, 150, 8, 10) << std::vector{QRect(50, 50, 60, 30)} << QPoint(56, 150);
        QTest::newRow("side by side, no gap, no overlap")
            << QRect(93, 120, 20, 10) << std::vector{a} << QPoint(90, 120);
        QTest::newRow("right to right") << QRect(72, 120, 20, 10) << std::vector{a} << QPoint(70, 120);
        QTest::newRow("top to bottom, from above")
            << QRect(200, 28, 20, 20) << std::vector{QRect(150, 50, 40, 40)} << QPoint(200, 30);
        QTest::newRow("centre to centre")
            << QRect(213, 120, 20, 10) << std::vector{QRect(200, 50, 40, 40)} << QPoint(210, 120);
        QTest::newRow("the parent's edges")
            << QRect(3, 388, 20, 10) << std::vector<QRect>{} << QPoint(0, 390);
        QTest::newRow("the parent's centre")
            << QRect(291, 190, 20, 20) << std::vector<QRect>{} << QPoint(290, 190);
        QTest::newRow("the nearer of two lines")
            << QRect(104, 300, 20, 10) << std::vector{QRect(100, 50, 40, 40), QRect(106, 250, 40, 40)}
            << QPoint(106, 300);
        QTest::newRow("each axis its own line") << QRect(93, 47, 20, 10) << std::vector{a} << QPoint(90, 50);
        QTest::newRow("near the end of int")
            << QRect(QPoint(INT_MAX - 22, 100), QSize(20, 10))
            << std::vector{QRect(QPoint(INT_MAX - 20, 300), QSize(10, 10))} << QPoint(INT_MAX - 20, 100);
    }
    void snapping()
    {
        QFETCH(QRect, moving);
        QFETCH(std::vector<QRect>, others);
        QFETCH(QPoint, expected);
        QCOMPARE(Snap(moving, others, Area).position, expected);
    }

    // A guide lies on the control's own outermost pixels and spans it and
    // what caught it; two targets on one line make one guide.
    void guidesShowEachLineCaught()
    {
        const QRect a(50, 50, 40, 40);
        Snapped s = Snap(QRect(93, 52, 20, 10), std::vector{a}, Area);
        QCOMPARE(s.position, QPoint(90, 50));
        QCOMPARE(s.guides.size(), std::size_t(2));
        QVERIFY(Has(s.guides, {Qt::Vertical, 90, 50, 89}));
        QVERIFY(Has(s.guides, {Qt::Horizontal, 50, 50, 109}));

        s = Snap(QRect(72, 120, 20, 10), std::vector{a}, Area);
        QCOMPARE(s.guides, (std::vector<SnapGuide>{{Qt::Vertical, 89, 50, 129}}));

        s = Snap(QRect(3, 150, 20, 10), {}, Area);
        QCOMPARE(s.guides, (std::vector<SnapGuide>{{Qt::Vertical, 0, 0, 399}}));

        s = Snap(QRect(53, 120, 20, 10), std::vector{a, QRect(50, 200, 40, 30)}, Area);
        QCOMPARE(s.guides, (std::vector<SnapGuide>{{Qt::Vertical, 50, 50, 229}}));

        QVERIFY(Snap(QRect(100, 100, 20, 10), std::vector{QRect(300, 300, 40, 40)}, Area).guides.empty());
    }

    // A drag near a neighbour's edge ends on it; the guide shows while the
    // button is down, a capture meanwhile holds the skin alone, and the
    // release leaves no guide behind.
    void aDragSnapsToANeighbourWithAGuide()
    {
        Program p;
        QVERIFY(QTest::qWaitForWindowExposed(&p.F()));
        TF& F = p.F();
        p.keepOnly({F.PClose, F.PMenu});
        F.PMenu->move(200, 100);
        F.PClose->move(300, 200);
        QCOMPARE(F.PClose->size(), F.PMenu->size());
        const int w = F.PMenu->width();
        const int h = F.PMenu->height();

        p.dragTowards(F.BClose, F.PClose, {200 + w + 3, 102});
        QCOMPARE(F.PClose->pos(), QPoint(200 + w, 100));
        QCOMPARE(QToolTip::text(), QStringLiteral("Top: 100  Left: %1").arg(200 + w));
        QVERIFY(p.guidesShown());
        QCOMPARE(F.Move->guides()->parentWidget(), &F);
        QCOMPARE(F.Move->guides()->geometry(), F.rect());
        // Beside it, and top, bottom and centre in line with it.
        QVERIFY(Has(p.guides(), {Qt::Vertical, 200 + w, 100, 100 + h - 1}));
        QVERIFY(Has(p.guides(), {Qt::Horizontal, 100, 200, 200 + 2 * w - 1}));
        QVERIFY(Has(p.guides(), {Qt::Horizontal, 100 + h - 1, 200, 200 + 2 * w - 1}));
        QVERIFY(Has(p.guides(), {Qt::Horizontal, 100 + h / 2, 200, 200 + 2 * w - 1}));
        QCOMPARE(p.guides().size(), std::size_t(4));

        p.FBox().SaveStateToDocument();
        const std::string during = p.text();
        QVERIFY(during.find("[PClose]\r\nT=100\r\nL=" + std::to_string(200 + w) + "\r\n") !=
                std::string::npos);

        p.release();
        QCOMPARE(F.PClose->pos(), QPoint(200 + w, 100));
        QVERIFY(!p.guidesShown());
        QVERIFY(!F.Move->isActive());
        p.FBox().SaveStateToDocument();
        QCOMPARE(p.text(), during);

        QUndoStack& history = p.FBox().history().stack();
        QCOMPARE(history.count(), 1);
        QCOMPARE(history.undoText(), QStringLiteral("przesunięcie PClose"));
        history.undo();
        QCOMPARE(F.PClose->pos(), QPoint(300, 200));
    }

    // Alt lets the control go where the pointer puts it, move by move.
    void altTurnsSnappingOff()
    {
        Program p;
        QVERIFY(QTest::qWaitForWindowExposed(&p.F()));
        TF& F = p.F();
        p.keepOnly({F.PClose, F.PMenu});
        F.PMenu->move(200, 100);
        F.PClose->move(300, 200);
        const int w = F.PMenu->width();

        p.dragTowards(F.BClose, F.PClose, {200 + w + 3, 102}, Qt::AltModifier);
        QCOMPARE(F.PClose->pos(), QPoint(200 + w + 3, 102));
        QCOMPARE(QToolTip::text(), QStringLiteral("Top: 102  Left: %1").arg(200 + w + 3));
        QVERIFY(!p.guidesShown());
        // Let go of Alt: the next move snaps.
        p.moveTo(p.last + QPoint(1, 0));
        QCOMPARE(F.PClose->pos(), QPoint(200 + w, 100));
        QVERIFY(p.guidesShown());
        // Alt again at the release: it lies where the pointer says.
        p.release(Qt::AltModifier);
        QCOMPARE(F.PClose->pos(), QPoint(200 + w + 4, 102));
        QVERIFY(!p.guidesShown());
    }

    // A press that does not move leaves the control where it lies, near a
    // line or not; a hidden component catches nothing.
    void onlyAMoveNearAVisibleComponentSnaps()
    {
        Program p;
        QVERIFY(QTest::qWaitForWindowExposed(&p.F()));
        TF& F = p.F();
        p.keepOnly({F.PClose, F.PMenu});
        F.PMenu->move(200, 100);
        const int w = F.PMenu->width();
        F.PClose->move(200 + w + 3, 102);
        const QPoint at = p.centreOf(F.BClose);
        QTest::mousePress(p.window(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(p.window(), Qt::LeftButton, {}, at);
        QCOMPARE(F.PClose->pos(), QPoint(200 + w + 3, 102));
        QVERIFY(!p.guidesShown());
        QCOMPARE(p.FBox().history().stack().count(), 0);

        F.PMenu->hide();
        F.PClose->move(300, 200);
        p.dragTowards(F.BClose, F.PClose, {200 + w + 3, 102});
        p.release();
        QCOMPARE(F.PClose->pos(), QPoint(200 + w + 3, 102));
    }

    // A button on a page lines up with what lies on that page and with the
    // page's edges; the buttons of the other pages never count.
    void onAPageOnlyThePageCounts()
    {
        Program p;
        QVERIFY(QTest::qWaitForWindowExposed(&p.F()));
        TF& F = p.F();
        QCOMPARE(F.PC1->activePageIndex(), 0);
        for (QWidget* w : std::initializer_list<QWidget*>{F.P2, F.P3, F.P4, F.L1, F.L2, F.L3, F.L4})
            w->hide();
        F.PG->move(40, 40); // on "Kierunki", behind
        F.P1->move(150, 100);
        const QSize page = F.Sytuacje->size();
        const QSize button = F.P1->size();
        // No line of the page itself lies near where the drag ends.
        QVERIFY(std::abs(page.width() / 2 - (43 + button.width() / 2)) > 5);
        QVERIFY(std::abs(page.height() / 2 - (43 + button.height() / 2)) > 5);

        p.dragTowards(F.B1, F.P1, {43, 43});
        QCOMPARE(F.P1->pos(), QPoint(43, 43));
        p.release();

        F.P2->show();
        F.P2->move(40, 80);
        F.P1->move(150, 100);
        p.dragTowards(F.B1, F.P1, {43, 43});
        QCOMPARE(F.P1->pos(), QPoint(40, 43));
        QCOMPARE(F.Move->guides()->parentWidget(), F.Sytuacje);
        QVERIFY(Has(p.guides(), {Qt::Vertical, 40, 43, 80 + F.P2->height() - 1}));
        p.release();

        p.dragTowards(F.B1, F.P1, {-3, 43});
        QCOMPARE(F.P1->pos(), QPoint(0, 43));
        p.release();
        QVERIFY(!p.guidesShown());
    }

    // Arrows move the selected component by one pixel, with Shift by ten;
    // the run is one step, and the position editors wait as after a drag.
    void nudgesAreOneStep()
    {
        Program p;
        TF& F = p.F();
        QUndoStack& history = p.FBox().history().stack();
        p.FBox().SelectComponent(3);
        const QPoint start = F.PClose->pos();
        p.key(Qt::Key_Right);
        p.key(Qt::Key_Right);
        p.key(Qt::Key_Down, Qt::ShiftModifier);
        p.key(Qt::Key_Left, Qt::ShiftModifier);
        p.key(Qt::Key_Up);
        QCOMPARE(F.PClose->pos(), start + QPoint(-8, 9));
        QCOMPARE(QToolTip::text(), QStringLiteral("Top: %1  Left: %2").arg(start.y() + 9).arg(start.x() - 8));
        QCOMPARE(history.count(), 1);
        QCOMPARE(history.undoText(), QStringLiteral("przesunięcie PClose"));
        QCOMPARE(p.FBox().Top->text(), QStringLiteral("0"));
        QCOMPARE(p.FBox().Left->text(), QStringLiteral("0"));
        QCOMPARE(p.text(), std::string());

        history.undo();
        QCOMPARE(F.PClose->pos(), start);
        history.redo();
        QCOMPARE(F.PClose->pos(), start + QPoint(-8, 9));

        // Nudged back to where it was, a run leaves nothing to take back.
        history.clear();
        p.key(Qt::Key_Left);
        p.key(Qt::Key_Right);
        QCOMPARE(history.count(), 0);
    }

    // A pause longer than the history's, or another component, starts a
    // new step.
    void pausesAndOtherComponentsStartNewSteps()
    {
        Program p;
        TF& F = p.F();
        QUndoStack& history = p.FBox().history().stack();
        p.FBox().SelectComponent(3);
        p.key(Qt::Key_Right);
        p.FBox().SelectComponent(4);
        p.key(Qt::Key_Right);
        p.FBox().SelectComponent(3);
        p.key(Qt::Key_Right);
        QCOMPARE(history.count(), 3);
        QCOMPARE(history.undoText(), QStringLiteral("przesunięcie PClose"));

        p.FBox().history().setMergePause(std::chrono::milliseconds(0));
        p.key(Qt::Key_Down);
        QTest::qWait(2);
        p.key(Qt::Key_Down);
        QCOMPARE(history.count(), 5);
        history.undo();
        QCOMPARE(F.PClose->pos(), QPoint(466, 17));
    }

    // With nothing selected the arrows do nothing and Tab selects the first
    // component; a drag under way keeps the keys from acting.
    void keysNeedASelectionAndNoDrag()
    {
        Program p;
        QVERIFY(QTest::qWaitForWindowExposed(&p.F()));
        TF& F = p.F();
        QCOMPARE(F.Selection->target(), nullptr);
        p.key(Qt::Key_Right);
        p.key(Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(p.FBox().history().stack().count(), 0);
        QCOMPARE(F.PC1->pos(), QPoint(24, 144));

        p.key(Qt::Key_Tab);
        QCOMPARE(p.FBox().currentComponent(), 0);
        QCOMPARE(F.Selection->target(), F.PC1);

        const QPoint at = p.centreOf(F.BMini);
        QTest::mousePress(p.window(), Qt::LeftButton, {}, at);
        p.key(Qt::Key_Right);
        p.key(Qt::Key_Tab);
        QCOMPARE(F.PMini->pos(), QPoint(430, 16));
        QCOMPARE(p.FBox().currentComponent(), 4);
        QTest::mouseRelease(p.window(), Qt::LeftButton, {}, at);
        QCOMPARE(p.FBox().history().stack().count(), 0);
    }

    // The keys reach the preview before the item list or the description
    // box could take them, and never leave the settings window's editors.
    void theKeysBelongToThePreviewAlone()
    {
        Program p;
        QVERIFY(QTest::qWaitForWindowExposed(&p.F()));
        TF& F = p.F();
        p.FBox().SelectComponent(3);
        F.LB->setCurrentRow(2);
        p.key(Qt::Key_Down, {}, F.LB);
        QCOMPARE(F.PClose->pos(), QPoint(464, 17));
        QCOMPARE(F.LB->currentRow(), 2);
        const QString text = F.Op1->toPlainText();
        p.key(Qt::Key_Tab, {}, F.Op1);
        QCOMPARE(p.FBox().currentComponent(), 4);
        QCOMPARE(F.Op1->toPlainText(), text);

        // In the settings window the arrows step the value, Tab moves on.
        QLineEdit* top = p.FBox().Top->lineEdit();
        p.key(Qt::Key_Up, {}, top);
        QCOMPARE(p.FBox().Top->text(), QStringLiteral("5"));
        QCOMPARE(p.FBox().history().stack().undoText(), QStringLiteral("położenie PMini"));
        p.key(Qt::Key_Tab, {}, top);
        QCOMPARE(p.FBox().currentComponent(), 4);
    }

    // Tab goes along the catalogue to the next component that can be seen,
    // round from the last to the first; Shift+Tab goes back. Each selects as
    // a press does.
    void tabSelectsAlongTheCatalogue()
    {
        Program p;
        QVERIFY(QTest::qWaitForWindowExposed(&p.F()));
        TF& F = p.F();
        TFBox& box = p.FBox();
        // The page "Sytuacje" is shown: the buttons of the others wait.
        const std::vector<int> shown{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 16, 17, 18, 19, 20, 21, 22, 23, 0};
        std::vector<int> seen;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            p.key(Qt::Key_Tab);
            seen.push_back(box.currentComponent());
        }
        QCOMPARE(seen, shown);

        p.key(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(box.currentComponent(), 23);
        QCOMPARE(F.Selection->target(), F.LB);
        QVERIFY(box.Rozmiar->isVisibleTo(box.Comps));
        QVERIFY(!box.Rysunek->isVisibleTo(box.Comps));
        p.key(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(box.currentComponent(), 22);

        F.PC1->setActivePageIndex(1);
        box.SelectComponent(5);
        box.PCTRL->setCurrentWidget(box.Plik);
        p.key(Qt::Key_Tab);
        QCOMPARE(box.currentComponent(), 10);
        QCOMPARE(box.PCTRL->currentWidget(), box.Comps);
        QCOMPARE(F.Selection->target(), F.PG);
        QVERIFY(box.Rysunek->isVisibleTo(box.Comps));
        QVERIFY(!box.Rozmiar->isVisibleTo(box.Comps));
    }

    // The selection keeps the current component first and no index twice or
    // outside the components, and tells each change once, with the current
    // component before it. The frame and the placing keys follow it, whoever
    // sets it.
    void theSelectionHasOneCurrentComponent()
    {
        ComponentSelection selection(24);
        QSignalSpy changed(&selection, &ComponentSelection::changed);
        QCOMPARE(selection.current(), -1);
        selection.setCurrent(24);
        selection.setCurrent(-1);
        selection.set({-1, 24});
        selection.clear();
        QVERIFY(selection.isEmpty());
        QCOMPARE(changed.count(), 0);

        selection.setCurrent(3);
        selection.setCurrent(3);
        selection.set({5, 3, 5, 99, 0});
        QCOMPARE(selection.selected(), QList<int>({5, 3, 0}));
        QVERIFY(selection.contains(0) && !selection.contains(4));
        selection.set({5, 0});
        selection.setCurrent(7);
        selection.clear();
        const QList<QList<QVariant>> expected{{3, -1}, {5, 3}, {5, 5}, {7, 5}, {-1, 7}};
        QCOMPARE(static_cast<const QList<QList<QVariant>>&>(changed), expected);

        Program p;
        TF& F = p.F();
        F.selectedComponents().set({5, 3});
        QCOMPARE(F.Selection->target(), F.PMenu);
        QCOMPARE(F.SelectedComponent(), 5);
        F.selectedComponents().clear();
        QCOMPARE(F.Selection->target(), nullptr);
        QCOMPARE(F.SelectedComponent(), -1);
    }
};

FSB_PROGRAM_TEST_MAIN(PlacingTest)

#include "test_placing.moc"
