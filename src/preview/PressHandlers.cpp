// The preview's press handlers: a press on a component makes it the current
// one in the settings window and drags it to a new place; a press on the
// background drags the whole window.

#include "preview/InteractiveMove.h"
#include "preview/PreviewWindow.h"
#include "widgets/ListView.h"
#include "widgets/Memo.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/PictureBox.h"
#include "widgets/StaticText.h"

#include <QMouseEvent>
#include <QWindow>

#include <array>

namespace fabulor {
namespace {

// Which handler a press on a widget runs. Presses on the pages of the page
// control and on the inner picture area go to the enclosing control's
// handler; the text box and the item list take presses in their viewports.
struct PressRoute {
    QWidget* (*widget)(TF&);
    void (TF::*handler)(QWidget*, QMouseEvent*);
};

#define FSB_ROUTE(expr, handler)                                                                             \
    {                                                                                                        \
        [](TF& f) -> QWidget* { return expr; }, &TF::handler                                                 \
    }

const std::array<PressRoute, 32>& PressRoutes()
{
    static const std::array<PressRoute, 32> routes{{
        FSB_ROUTE(f.PC1, PC1MouseDown),
        FSB_ROUTE(f.Sytuacje, PC1MouseDown),
        FSB_ROUTE(f.Kierunki, PC1MouseDown),
        FSB_ROUTE(f.Koniec, PC1MouseDown),
        FSB_ROUTE(f.Przedm, PC1MouseDown),
        FSB_ROUTE(f.Op1, P1MouseDown),
        FSB_ROUTE(f.Op1->viewport(), P1MouseDown),
        FSB_ROUTE(f.PRys, PRysMouseDown),
        FSB_ROUTE(f.Rys, PRysMouseDown),
        FSB_ROUTE(f.BClose, BCloseMouseDown),
        FSB_ROUTE(f.BMini, BMiniMouseDown),
        FSB_ROUTE(f.BMenu, BMenuMouseDown),
        FSB_ROUTE(f.B1, B1MouseDown),
        FSB_ROUTE(f.B2, B2MouseDown),
        FSB_ROUTE(f.B3, B3MouseDown),
        FSB_ROUTE(f.B4, B4MouseDown),
        FSB_ROUTE(f.BG, BGMouseDown),
        FSB_ROUTE(f.BD, BDMouseDown),
        FSB_ROUTE(f.BL, BLMouseDown),
        FSB_ROUTE(f.BP, BPMouseDown),
        FSB_ROUTE(f.BEnd, BEndMouseDown),
        FSB_ROUTE(f.BItem, BItemMouseDown),
        FSB_ROUTE(f.BUwaga, BUwagaMouseDown),
        FSB_ROUTE(f.PMove, PMoveMouseDown),
        FSB_ROUTE(f.L1, L1MouseDown),
        FSB_ROUTE(f.L2, L2MouseDown),
        FSB_ROUTE(f.L3, L3MouseDown),
        FSB_ROUTE(f.L4, L4MouseDown),
        FSB_ROUTE(f.LM, LMMouseDown),
        FSB_ROUTE(f.LB, LBMouseDown),
        FSB_ROUTE(f.LB->viewport(), LBMouseDown),
        FSB_ROUTE(f.Skin, SkinMouseDown),
    }};
    return routes;
}

#undef FSB_ROUTE

} // namespace

void TF::hookPresses()
{
    Move = new InteractiveMove(this);
    for (const PressRoute& route : PressRoutes())
        if (QWidget* widget = route.widget(*this)) widget->installEventFilter(this);
    // A button's panel is covered by its picture; should a press land on the
    // panel itself, it must not reach the page below and move the page control.
    for (Panel* button : {P1, P2, P3, P4, PG, PD, PL, PP, PEnd, PItem, PClose, PMini, PMenu, PUwaga})
        button->setAttribute(Qt::WA_NoMousePropagation);
}

bool TF::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::ContextMenu)
        return QWidget::eventFilter(watched, event);
    for (const PressRoute& route : PressRoutes()) {
        QWidget* widget = route.widget(*this);
        if (!widget || widget != watched) continue;
        // A right press moves like any other, so no control offers a menu.
        if (type == QEvent::ContextMenu) return true;
        // The second press of a double click counts as a press like the first.
        (this->*route.handler)(widget, static_cast<QMouseEvent*>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TF::selectAndMove(int index, QWidget* moved, QWidget* sender, QMouseEvent* event)
{
    if (SelectComponent) SelectComponent(index);
    Move->startControl(moved, sender, *event);
}

void TF::PC1MouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(0, PC1, sender, event);
}
void TF::P1MouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(1, Op1, sender, event);
}

void TF::PRysMouseDown(QWidget* sender, QMouseEvent* event)
{
    if (SelectComponent) SelectComponent(2);
    if (event->button() != Qt::LeftButton) return;
    Move->startControl(PRys, sender, *event);
}

void TF::BCloseMouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(3, PClose, sender, event);
}
void TF::BMiniMouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(4, PMini, sender, event);
}
void TF::BMenuMouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(5, PMenu, sender, event);
}
void TF::B1MouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(6, P1, sender, event);
}
void TF::B2MouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(7, P2, sender, event);
}
void TF::B3MouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(8, P3, sender, event);
}
void TF::B4MouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(9, P4, sender, event);
}
void TF::BGMouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(10, PG, sender, event);
}
void TF::BDMouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(11, PD, sender, event);
}
void TF::BLMouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(12, PL, sender, event);
}
void TF::BPMouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(13, PP, sender, event);
}
void TF::BEndMouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(14, PEnd, sender, event);
}
void TF::BItemMouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(15, PItem, sender, event);
}
void TF::BUwagaMouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(16, PUwaga, sender, event);
}
void TF::PMoveMouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(17, PMove, sender, event);
}
void TF::L1MouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(18, L1, sender, event);
}
void TF::L2MouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(19, L2, sender, event);
}
void TF::L3MouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(20, L3, sender, event);
}
void TF::L4MouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(21, L4, sender, event);
}
void TF::LMMouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(22, LM, sender, event);
}
void TF::LBMouseDown(QWidget* sender, QMouseEvent* event)
{
    selectAndMove(23, LB, sender, event);
}

void TF::SkinMouseDown(QWidget* sender, QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    // The window system moves the window where it can, as it does when its
    // title bar is dragged; elsewhere the window follows the pointer here.
    if (QWindow* handle = windowHandle(); handle && handle->startSystemMove()) return;
    Move->startWindow(this, sender, *event);
}

} // namespace fabulor
