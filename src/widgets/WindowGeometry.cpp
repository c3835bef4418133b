#include "WindowGeometry.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <optional>

namespace fabulor {
namespace {

void resizeInner(QWidget* window, QSize inner)
{
    // A window cannot be smaller than nothing; a skin may still ask for it.
    const QSize size(std::max(inner.width(), 0), std::max(inner.height(), 0));
    // A window the user may not resize keeps its minimum and maximum equal.
    if (window->minimumSize() == window->maximumSize())
        window->setFixedSize(size);
    else
        window->resize(size);
}

// The frame of a window is known only once the window system has shown it
// with its decoration, which may be later than the code that sizes it: when
// it is first shown, or shown again after its decoration changed. An outer
// size asked for while the frame may still be unknown stays pending and is
// asked for again when the window appears and once more after the window
// system has settled it, until somebody else resizes the window.
class OuterSizeKeeper : public QObject {
public:
    explicit OuterSizeKeeper(QWidget* window) : QObject(window), m_window(window)
    {
        window->installEventFilter(this);
    }

    static OuterSizeKeeper* of(QWidget* window)
    {
        for (QObject* child : window->children())
            if (auto* keeper = dynamic_cast<OuterSizeKeeper*>(child))
                return keeper;
        return new OuterSizeKeeper(window);
    }

    void request(QSize outer)
    {
        m_requested = outer;
        apply();
    }

    std::optional<QSize> pending() const { return m_requested; }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (!m_requested)
            return false;
        if (event->type() == QEvent::Move) {
            // The window system may add the frame, and move the window for it,
            // only after the window is shown.
            apply();
        } else if (event->type() == QEvent::Show) {
            apply();
            QTimer::singleShot(0, this, [this] {
                if (m_requested)
                    apply();
            });
        } else if (event->type() == QEvent::Resize && m_window->size() != m_applied) {
            m_requested.reset(); // resized by somebody else: theirs is the size now
        }
        return false;
    }

private:
    void apply()
    {
        m_applied = *m_requested - frameExtra(m_window);
        m_applied = m_applied.expandedTo(QSize(0, 0));
        resizeInner(m_window, m_applied);
    }

    QPointer<QWidget> m_window;
    std::optional<QSize> m_requested;
    QSize m_applied;
};

} // namespace

QSize frameExtra(const QWidget* window)
{
    const QSize extra = window->frameGeometry().size() - window->geometry().size();
    return extra.expandedTo(QSize(0, 0));
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
