#include "WindowGeometry.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace fabulor {
namespace {

constexpr char RequestedOuterSize[] = "fabulorRequestedOuterSize";
constexpr char HasOuterSizeKeeper[] = "fabulorHasOuterSizeKeeper";

void resizeInner(QWidget* window, QSize outer)
{
    const QSize inner = outer - frameExtra(window);
    // A window cannot be smaller than nothing; a skin may still ask for it.
    const QSize size(std::max(inner.width(), 0), std::max(inner.height(), 0));
    // A window the user may not resize keeps its minimum and maximum equal.
    if (window->minimumSize() == window->maximumSize())
        window->setFixedSize(size);
    else
        window->resize(size);
}

// The frame of a window is known only once the window system shows it, so an
// outer size asked for before that is asked for again when the window
// appears, and once more after the window system has settled it.
class OuterSizeKeeper : public QObject {
public:
    explicit OuterSizeKeeper(QWidget* window) : QObject(window) { window->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            auto* window = static_cast<QWidget*>(watched);
            reapply(window);
            QTimer::singleShot(0, this, [this, window] { reapply(window); });
        }
        return false;
    }

private:
    static void reapply(QWidget* window)
    {
        const QVariant requested = window->property(RequestedOuterSize);
        if (requested.isValid())
            resizeInner(window, requested.toSize());
        window->setProperty(RequestedOuterSize, QVariant());
    }
};

} // namespace

QSize frameExtra(const QWidget* window)
{
    const QSize extra = window->frameGeometry().size() - window->geometry().size();
    return extra.expandedTo(QSize(0, 0));
}

QSize outerSize(const QWidget* window)
{
    const QVariant requested = window->property(RequestedOuterSize);
    if (requested.isValid())
        return requested.toSize();
    return window->size() + frameExtra(window);
}

void setOuterSize(QWidget* window, QSize outer)
{
    resizeInner(window, outer);
    if (!window->isVisible()) {
        if (!window->property(HasOuterSizeKeeper).toBool()) {
            new OuterSizeKeeper(window);
            window->setProperty(HasOuterSizeKeeper, true);
        }
        window->setProperty(RequestedOuterSize, outer);
    }
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
