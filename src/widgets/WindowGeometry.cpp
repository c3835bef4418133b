#include "WindowGeometry.h"

#include <QEvent>
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

// The frame of a window is known only once the window manager has put it
// around the window, which may be later than the code that sizes it: when it
// is first shown, or shown again after its decoration changed. Qt sends no
// event when the frame arrives, so an outer size asked for while a decorated
// window has no frame yet stays pending: it is applied again when the window
// appears or moves, and watched for a short while until the frame is there,
// until somebody else resizes the window.
class OuterSizeKeeper : public QObject {
public:
    explicit OuterSizeKeeper(QWidget* window) : QObject(window), m_window(window)
    {
        window->installEventFilter(this);
        m_frameWatch.setInterval(FrameWatchInterval);
        connect(&m_frameWatch, &QTimer::timeout, this, &OuterSizeKeeper::watchForFrame);
    }

    static OuterSizeKeeper* of(QWidget* window)
    {
        for (QObject* child : window->children())
            if (auto* keeper = dynamic_cast<OuterSizeKeeper*>(child)) return keeper;
        return new OuterSizeKeeper(window);
    }

    void request(QSize outer)
    {
        m_requested = outer;
        apply();
        startFrameWatch();
    }

    std::optional<QSize> pending() const { return m_requested; }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (!m_requested) return false;
        if (event->type() == QEvent::Move) {
            // The window manager may add the frame, and move the window for
            // it, only after the window is shown.
            apply();
        } else if (event->type() == QEvent::Show) {
            apply();
            startFrameWatch();
        } else if (event->type() == QEvent::Resize && m_window->size() != m_applied) {
            m_requested.reset(); // resized by somebody else: theirs is the size now
            m_frameWatch.stop();
        }
        return false;
    }

private:
    static constexpr int FrameWatchInterval = 20; // ms
    static constexpr int FrameWatchTicks = 100;   // 2 s: a window manager answers long before

    // A shown window that should get a frame but has none yet.
    bool awaitsFrame() const
    {
        return m_window && m_window->isVisible() &&
               !m_window->windowFlags().testFlag(Qt::FramelessWindowHint) && frameExtra(m_window).isNull();
    }

    void startFrameWatch()
    {
        if (!awaitsFrame()) return;
        m_ticksLeft = FrameWatchTicks;
        m_frameWatch.start();
    }

    void watchForFrame()
    {
        if (!m_requested || !m_window || --m_ticksLeft < 0) {
            m_frameWatch.stop(); // without a window manager no frame ever comes
            return;
        }
        if (!awaitsFrame()) {
            m_frameWatch.stop();
            apply();
        }
    }

    void apply()
    {
        // Known before the resize: its Resize event comes while it runs.
        m_applied = innerSizeFor(*m_requested - frameExtra(m_window));
        resizeInner(m_window, m_applied);
    }

    QPointer<QWidget> m_window;
    std::optional<QSize> m_requested;
    QSize m_applied;
    QTimer m_frameWatch;
    int m_ticksLeft = 0;
};

} // namespace

QSize frameExtra(const QWidget* window)
{
    // Asked of the window itself: QWidget::frameGeometry() keeps the last
    // frame it knew when the window manager takes the frame away, so a window
    // whose decoration was just dropped would still count its old frame.
    const QWindow* handle = window->windowHandle();
    if (!handle || !window->isWindow()) return QSize(0, 0);
    const QMargins margins = handle->frameMargins();
    return QSize(margins.left() + margins.right(), margins.top() + margins.bottom()).expandedTo(QSize(0, 0));
}

QRect outerRect(const QWidget* window)
{
    const QWindow* handle = window->windowHandle();
    if (!handle || !window->isWindow()) return window->geometry();
    return window->geometry().marginsAdded(handle->frameMargins());
}

QSize outerSize(const QWidget* window)
{
    for (QObject* child : window->children())
        if (auto* keeper = dynamic_cast<OuterSizeKeeper*>(child); keeper && keeper->pending())
            return *keeper->pending();
    return window->size() + frameExtra(window);
}

void setOuterSize(QWidget* window, QSize outer)
{
    OuterSizeKeeper::of(window)->request(outer);
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
