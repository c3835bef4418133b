#include "DialogPlacement.h"

#include "widgets/WindowGeometry.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <functional>

namespace fabulor {
namespace {

// Keeps a window where its target puts it until the window system has
// settled it: the window manager frames a window only after it is mapped,
// and Qt sends no event when the frame arrives. Meanwhile the window system
// may report sizes and places of its own for a moment (the size the window
// was created with, before its layout; the place the window manager would
// have chosen), so each of them gets the window placed again. The target is
// asked again each time, with the window's outer size as it is known then.
// Placed with its frame known, on the screen and where the target says, the
// window is left alone: from then on its place is the user's.
class Placing : public QObject {
public:
    using Target = std::function<QRect(QSize outer)>;

    explicit Placing(QWidget& window) : QObject(&window), m_window(&window)
    {
        window.installEventFilter(this);
        m_watch.setInterval(20);
        connect(&m_watch, &QTimer::timeout, this, [this] {
            if (place() || --m_ticksLeft < 0) m_watch.stop();
        });
    }

    // One for each window: placing it again replaces the target.
    static Placing& of(QWidget& window)
    {
        for (QObject* child : window.children())
            if (auto* placing = dynamic_cast<Placing*>(child)) return *placing;
        return *new Placing(window);
    }

    void setTarget(Target target) { m_target = std::move(target); }

    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Show:
            // The frame comes within milliseconds, or seconds on a busy
            // machine; without a window manager it never does.
            m_ticksLeft = 500; // 10 s
            place();
            m_watch.start();
            break;
        case QEvent::Move:
        case QEvent::Resize:
            if (m_watch.isActive() && !m_placing) place();
            break;
        case QEvent::Hide:
            m_watch.stop();
            break;
        default:
            break;
        }
        return false;
    }

private:
    // Puts the window where the target says; whether it is settled there:
    // its frame known, on the screen, and where the target says already.
    bool place()
    {
        if (!m_window || !m_target) return true;
        const bool framed = frameKnown(m_window);
        const QRect outer = outerRect(m_window);
        const QRect client = m_window->geometry();
        const QRect target = m_target(outer.size());
        // Placed by its client area, which is where Qt and every window
        // manager agree to put a window; the frame goes around it.
        const QPoint clientAt = target.topLeft() + (client.topLeft() - outer.topLeft());
        if (client.topLeft() == clientAt) {
            const QWindow* handle = m_window->windowHandle();
            return framed && handle && handle->isExposed();
        }
        m_placing = true;
        m_window->setGeometry(QRect(clientAt, client.size()));
        m_placing = false;
        return false;
    }

    QPointer<QWidget> m_window;
    Target m_target;
    QTimer m_watch;
    int m_ticksLeft = 0;
    bool m_placing = false;
};

QPointer<QWidget>& LastActiveWindow()
{
    static QPointer<QWidget> last;
    return last;
}

} // namespace

QWidget* WorkingWindow()
{
    if (QWidget* active = QApplication::activeWindow()) return active;
    return LastActiveWindow();
}

void TrackWorkingWindow()
{
    static const bool tracking = [] {
        QObject::connect(qApp, &QGuiApplication::focusWindowChanged, qApp, [](QWindow*) {
            if (QWidget* active = QApplication::activeWindow()) LastActiveWindow() = active;
        });
        return true;
    }();
    Q_UNUSED(tracking);
}

void PlaceAboveAll(QDialog& dialog, QWidget* over)
{
    // The settings window stays on top of all others: a dialog on the same
    // layer, mapped after it, opens above it.
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    Placing::of(dialog).setTarget([over = QPointer<QWidget>(over ? over->window() : nullptr),
                                   box = QPointer<QDialog>(&dialog)](QSize size) {
        QRect target(QPoint(), size);
        QScreen* screen = over ? over->screen() : box ? box->screen() : nullptr;
        if (over)
            target.moveCenter(outerRect(over).center());
        else if (screen)
            target.moveCenter(screen->availableGeometry().center());
        // Wholly on the screen, title bar first where it is too big.
        return screen ? KeptWithin(target, screen->availableGeometry()) : target;
    });
}

void PlaceBeside(QWidget& window, QWidget& beside)
{
    Placing::of(window).setTarget(
        [placed = QPointer<QWidget>(&window), beside = QPointer<QWidget>(beside.window())](QSize size) {
            if (!beside || !placed) return QRect(placed ? outerRect(placed).topLeft() : QPoint(), size);
            // Kept apart from it by a gap that shows they are two windows.
            constexpr int Gap = 8;
            const QRect besideOuter = outerRect(beside);
            if (QScreen* screen = beside->screen())
                return BesideWithin(besideOuter, size, screen->availableGeometry(), Gap);
            return QRect(QPoint(besideOuter.left(), besideOuter.bottom() + 1 + Gap), size);
        });
}

QRect KeptWithin(QRect outer, QRect area)
{
    outer.moveLeft(std::max(area.left(), std::min(outer.left(), area.left() + area.width() - outer.width())));
    outer.moveTop(std::max(area.top(), std::min(outer.top(), area.top() + area.height() - outer.height())));
    return outer;
}

QRect BesideWithin(QRect beside, QSize size, QRect area, int gap)
{
    QRect placed(QPoint(beside.left(), beside.top() + beside.height() + gap), size);
    const QRect above(QPoint(beside.left(), beside.top() - gap - size.height()), size);
    if (placed.top() + placed.height() > area.top() + area.height() && above.top() >= area.top())
        placed = above;
    return KeptWithin(placed, area);
}

} // namespace fabulor
