#include "WindowGeometry.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#ifdef FSB_HAVE_XCB
#include <xcb/xcb.h>
#endif

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

#ifdef FSB_HAVE_XCB
// What an X window manager says of the frames it makes: each window's
// _NET_FRAME_EXTENTS (left, right, top, bottom), set once the frame is
// there. Qt reads it too, but only when the window is next configured; and
// before the window manager has set it, Qt measures the window that ours was
// put in, which may still be half made (1 x 1, giving sides below zero, or a
// pixel off).
class FrameExtents {
public:
    // nullopt where there is nobody to ask: not X, or a window manager that
    // does not say.
    static std::optional<FrameExtents> ask()
    {
        auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
        if (!connection) return std::nullopt;
        static const xcb_atom_t extents = atom(connection, "_NET_FRAME_EXTENTS");
        // Asked again until a window manager says it supports them: it may
        // start after the program.
        static bool said = false;
        if (!said) said = supported(connection, extents);
        if (!said) return std::nullopt;
        return FrameExtents(connection, extents);
    }

    // What it says of the window now; nothing yet for a window it has not
    // framed.
    std::optional<QMargins> of(const QWindow& window) const
    {
        const auto id = static_cast<xcb_window_t>(window.winId());
        const Reply reply(
            xcb_get_property_reply(m_connection,
                                   xcb_get_property(m_connection, 0, id, m_extents, XCB_ATOM_CARDINAL, 0, 4),
                                   nullptr),
            &std::free);
        if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
            return std::nullopt;
        std::uint32_t sides[4];
        std::memcpy(sides, xcb_get_property_value(reply.get()), sizeof sides);
        const auto side = [](std::uint32_t value) { return int(std::min<std::uint32_t>(value, 0x7FFF)); };
        return QMargins(side(sides[0]), side(sides[2]), side(sides[1]), side(sides[3]));
    }

private:
    using Reply = std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)>;

    FrameExtents(xcb_connection_t* connection, xcb_atom_t extents)
        : m_connection(connection), m_extents(extents)
    {}

    static xcb_atom_t atom(xcb_connection_t* connection, const char* name)
    {
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(
                connection, xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name), nullptr),
            &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    // Whether the root window's _NET_SUPPORTED names them.
    static bool supported(xcb_connection_t* connection, xcb_atom_t extents)
    {
        if (extents == XCB_ATOM_NONE) return false;
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        if (!screen) return false;
        static const xcb_atom_t supportedAtom = atom(connection, "_NET_SUPPORTED");
        const Reply reply(xcb_get_property_reply(connection,
                                                 xcb_get_property(connection, 0, screen->root, supportedAtom,
                                                                  XCB_ATOM_ATOM, 0, 4096),
                                                 nullptr),
                          &std::free);
        if (!reply || reply->format != 32) return false;
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
        const int count = xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_atom_t));
        return std::find(atoms, atoms + count, extents) != atoms + count;
    }

    xcb_connection_t* m_connection;
    xcb_atom_t m_extents;
};
#endif

bool OffScreen()
{
    return QGuiApplication::platformName() == QLatin1String("offscreen");
}

// The frame around a window as far as it is known now. A window that asks
// for no frame has none, whatever Qt still holds: Qt reads the frame again
// only when the window is next configured, so just after the decoration
// went it still reports the old one. A decorated window has the frame the
// window manager says it has put around it, none known before it says so.
// Where it cannot say, Qt's own measure is taken once it is plausible.
std::optional<QMargins> knownFrame(const QWidget* window)
{
    const QWindow* handle = window->windowHandle();
    if (!handle || !window->isWindow() || window->windowFlags().testFlag(Qt::FramelessWindowHint))
        return QMargins();
    // Offscreen windows have the frame Qt makes up for them, known at once.
    if (OffScreen()) return handle->frameMargins();
#ifdef FSB_HAVE_XCB
    if (const std::optional<FrameExtents> extents = FrameExtents::ask()) return extents->of(*handle);
#endif
    const QMargins margins = handle->frameMargins();
    if (margins.isNull() || std::min({margins.left(), margins.top(), margins.right(), margins.bottom()}) < 0)
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
// So the outer size asked for is the state: it is applied with the frame
// known then, at once where the window is hidden or on the screen, else once
// the window manager has put it there, and again when it moves or gets its
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
            // Offscreen a shown window is there at once.
            m_onScreen = OffScreen();
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
    // A window manager answers within milliseconds, but on a busy machine it
    // may take seconds; without one no frame ever comes, and the window is
    // taken as it is after this long.
    static constexpr int WatchTicks = 500; // 10 s

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
        if (!m_window) return;
        const bool timeUp = --m_ticksLeft < 0;
        // The place does not wait for the frame: the content's place is the
        // same with any frame around it.
        if (m_place && m_window->isVisible() && (m_onScreen || timeUp)) {
            const QPoint place = *m_place;
            m_place.reset();
            // On the screen the window is there already, unless the window
            // manager put it elsewhere; where Qt was told a place inside the
            // frame, asking again puts Qt's idea right too.
            if (m_window->geometry().topLeft() != place)
                m_window->setGeometry(QRect(place, m_window->size()));
        }
        if (!settled() && !timeUp) return;
        m_watch.stop();
        applySize();
    }

    void applySize()
    {
        if (!m_outer || !m_window) return;
        // While the window manager is taking a shown window in, it may
        // overrule a resize asked for meanwhile, and Qt is not told: the
        // size waits until the window is on the screen.
        if (m_window->isVisible() && !m_onScreen) return;
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

bool frameKnown(const QWidget* window)
{
    return knownFrame(window).has_value();
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
