#include "WindowGeometry.h"

#include <QWidget>

#include <algorithm>

namespace fabulor {

QSize frameExtra(const QWidget* window)
{
    const QSize extra = window->frameGeometry().size() - window->geometry().size();
    return extra.expandedTo(QSize(0, 0));
}

QSize outerSize(const QWidget* window)
{
    return window->size() + frameExtra(window);
}

void setOuterSize(QWidget* window, QSize outer)
{
    const QSize inner = outer - frameExtra(window);
    // A window cannot be smaller than nothing; a skin may still ask for it.
    window->resize(std::max(inner.width(), 0), std::max(inner.height(), 0));
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
