#pragma once
// Snapping of a dragged control: its edges and centre lines catch those of
// the other components beside it and of the area it lies in when they come
// within a few pixels, so that controls line up without hunting for pixels.
// Plain geometry, in the coordinates of the control's parent.

#include <QPoint>
#include <QRect>

#include <span>
#include <vector>

namespace fabulor {

// How near, in pixels, a line has to come to catch the dragged control.
inline constexpr int SnapDistance = 5;

// A line the dragged control has been caught by.
struct SnapGuide {
    // Qt::Vertical: the line runs down at column at, from row from to row
    // to; Qt::Horizontal: it runs across at row at, from column from to to.
    Qt::Orientation orientation = Qt::Vertical;
    int at = 0;
    int from = 0;
    int to = 0;
    bool operator==(const SnapGuide&) const = default;
};

struct Snapped {
    QPoint position;               // where the control's top-left corner comes to rest
    std::vector<SnapGuide> guides; // the lines it now lies on; none where nothing caught it
};

// Where a control that the pointer puts at moving comes to rest. On each
// axis the nearest line within distance wins: the left, right and centre of
// moving (top, bottom, centre across) against the same lines of others and
// of area, the parent's client area; edges catch edges (side by side or
// flush), centres catch centres. Each line the result lies on gets a guide;
// a guide drawn on an edge lies on the control's own outermost pixels.
Snapped Snap(const QRect& moving, std::span<const QRect> others, const QRect& area,
             int distance = SnapDistance);

} // namespace fabulor
