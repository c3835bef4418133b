#pragma once
// The settings window's tabs place their widgets by hand, in pixels, as the
// window has always been laid out. Each widget is made on its parent, named
// (tests, the focus order and the accessibility layer find it by its name)
// and placed in one call.

#include <QAnyStringView>
#include <QRect>
#include <QWidget>

#include <utility>

namespace fabulor {

// A new W on parent, named name, in the box at (in parent's coordinates);
// args go to W's constructor before the parent.
template <class W, class... Args>
W* Make(QWidget* parent, QAnyStringView name, const QRect& at, Args&&... args)
{
    auto* widget = new W(std::forward<Args>(args)..., parent);
    widget->setObjectName(name);
    widget->setGeometry(at);
    return widget;
}

} // namespace fabulor
