#include "WindowGeometry.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <optional>

namespace fabulor {
namespace {

// A skin may ask for less than the frame (or for nothing at all), but a
// window with no pixels is taken off the screen by the window system, and
// when it comes back the window manager gives it the keyboard focus: the
// digits still being typed into a size editor would land in it. One pixel
// keeps it on the screen; the size asked for stays the skin's size.
QSize innerSizeFor(QSize inner)
{
    return QSize(std::max(inner.width(), 1), std::max(inner.height(), 1));
}

void resizeInner(QWidget* window, QSize size)
{
    // A window the user may not resize keeps its minimum and maximum equal.
    if (window->minimumSize() == window->maximumSize())
        window->setFixedSize(size);
    else
        window->resize(size);
}

QSize sizeOf(QMargins margins)
{
    return QSize(margins.left() + margins.right(), margins.top() + margins.bottom()).expandedTo(QSize(0, 0));
}

// The frame around a window as far as it is known now. A window that asks
// for no frame has none, whatever Qt still holds: Qt reads the frame again
// only when the window is next configured, so just after the decoration
// went it still reports the old one. A decorated window whose frame has not
// come yet has no known frame. Windows off any screen (offscreen) never get
// one.
std::optional<QMargins> knownFrame(const QWidget* window)
{
    const QWindow* handle = window->windowHandle();
    if (!handle || !window->isWindow() || window->windowFlags().testFlag(Qt::FramelessWindowHint))
        return QMargins();
    const QMargins margins = handle->frameMargins();
    if (margins.isNull() && QGuiApplication::platformName() != QLatin1String("offscreen"))
        return std::nullopt;
    return margins;
}

QMargins frameNow(const QWidget* window)
{
    return knownFrame(window).value_or(QMargins());
}

// Keeps a top-level window's outer size and place through what the window
// manager does late. Its frame is known only once the window manager has
// put it around the window, which may be well after the code that sizes the
// window has run: when the window is first shown, or shown again after its
// decoration changed (Qt takes the window off the screen for that and shows
// it again). Qt sends no event when the frame arrives.
//
// So the outer size asked for is the state: it is applied at once with the
// frame known then, and again when the window appears, moves or gets its
// frame, until somebody else resizes the window. And a window shown again
// comes back with its content where it was when it was hidden: while the
// window manager frames a window it has just shown, Qt may be told a place
// inside the new frame for the window's place on the screen, and keep it.
class GeometryKeeper : public QObject {
public:
    explicit GeometryKeeper(QWidget* window) : QObject(window), m_window(window)
    {
        window->installEventFilter(this);
        m_watch.setInterval(WatchInterval);
        connect(&m_watch, &QTimer::timeout, this, &GeometryKeeper::watch);
    }

    static GeometryKeeper* find(const QWidget* window)
    {
        for (QObject* child : window->children())
            if (auto* keeper = dynamic_cast<GeometryKeeper*>(child)) return keeper;
        return nullptr;
    }

    static GeometryKeeper* of(QWidget* window)
    {
        if (GeometryKeeper* keeper = find(window)) return keeper;
        return new GeometryKeeper(window);
    }

    void request(QSize outer)
    {
        m_outer = outer;
        applySize();
        if (!settled()) startWatch();
    }

    std::optional<QSize> wanted() const { return m_outer; }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_window) {
            // Its QWindow: told when the window system has put it on the
            // screen, after the window manager has taken it in.
            const QWindow* handle = m_window ? m_window->windowHandle() : nullptr;
            if (event->type() == QEvent::Expose && watched == handle && handle->isExposed())
                m_onScreen = true;
            return false;
        }
        switch (event->type()) {
        case QEvent::Hide:
            // Hidden by the program (to change its decoration, say): its place
            // is where its content is now. Hidden again before it settled, it
            // keeps the place it was coming back to.
            if (!event->spontaneous() && !m_place) m_place = m_window->geometry().topLeft();
            break;
        case QEvent::Show:
            // Qt still counts the window as on the screen from before it was
            // hidden; only an exposure from now on says that it is there again.
            m_onScreen = false;
            if (QWindow* handle = m_window->windowHandle()) handle->installEventFilter(this);
            applySize();
            startWatch();
            break;
        case QEvent::Move:
            // The window manager may add the frame, and move the window for
            // it, only after the window is shown.
            applySize();
            break;
        case QEvent::Resize:
            if (m_outer && m_window->size() != m_applied) m_outer.reset(); // theirs is the size now
            break;
        default:
            break;
        }
        return false;
    }

private:
    static constexpr int WatchInterval = 20; // ms
    static constexpr int WatchTicks = 100;   // 2 s: a window manager answers long before

    // On the screen, and framed as its decoration asks.
    bool settled() const
    {
        if (!m_window || !m_window->isVisible()) return true; // nothing to wait for while hidden
        return m_onScreen && knownFrame(m_window);
    }

    void startWatch()
    {
        m_ticksLeft = WatchTicks;
        if (!m_watch.isActive()) m_watch.start();
    }

    void watch()
    {
        if (!m_window || (!settled() && --m_ticksLeft >= 0)) return;
        // Without a window manager no frame ever comes: the window is taken
        // as it is.
        m_watch.stop();
        applySize();
        if (m_place && m_window->isVisible()) {
            const QPoint place = *m_place;
            m_place.reset();
            // On the screen the window is there already, unless the window
            // manager put it elsewhere; where Qt was told a place inside the
            // frame, asking again puts Qt's idea right too.
            if (m_window->geometry().topLeft() != place)
                m_window->setGeometry(QRect(place, m_window->size()));
        }
    }

    void applySize()
    {
        if (!m_outer || !m_window) return;
        // Known before the resize: its Resize event comes while it runs.
        m_applied = innerSizeFor(*m_outer - sizeOf(frameNow(m_window)));
        if (m_window->size() != m_applied) resizeInner(m_window, m_applied);
    }

    QPointer<QWidget> m_window;
    std::optional<QSize> m_outer;
    std::optional<QPoint> m_place;
    bool m_onScreen = true;
    QSize m_applied;
    QTimer m_watch;
    int m_ticksLeft = 0;
};

} // namespace

QSize frameExtra(const QWidget* window)
{
    return sizeOf(frameNow(window));
}

QRect outerRect(const QWidget* window)
{
    return window->geometry().marginsAdded(frameNow(window));
}

QSize outerSize(const QWidget* window)
{
    if (const GeometryKeeper* keeper = GeometryKeeper::find(window); keeper && keeper->wanted())
        return *keeper->wanted();
    return window->size() + frameExtra(window);
}

void setOuterSize(QWidget* window, QSize outer)
{
    GeometryKeeper::of(window)->request(outer);
}

void setOuterWidth(QWidget* window, int width)
{
    setOuterSize(window, QSize(width, outerSize(window).height()));
}

void setOuterHeight(QWidget* window, int height)
{
    setOuterSize(window, QSize(outerSize(window).width(), height));
}

} // namespace fabulor
