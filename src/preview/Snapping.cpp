#include "preview/Snapping.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <optional>

namespace fabulor {
namespace {

// Places near the ends of int stay there rather than wrap round.
int Clamped(long long value)
{
    return int(
        std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// One axis of a rectangle; wide enough that no control's place overflows.
struct Extent {
    long long begin = 0;
    long long length = 0;
    long long end() const { return begin + length; }
};

enum class Line { Start, End, Centre };

long long At(const Extent& extent, Line line)
{
    switch (line) {
    case Line::Start:
        return extent.begin;
    case Line::End:
        return extent.end();
    case Line::Centre:
        break;
    }
    return extent.begin + extent.length / 2;
}

struct Pair {
    Line mine;
    Line theirs;
};
// Edges meet edges, lined up or side by side; centres meet centres.
constexpr Pair Pairs[] = {{Line::Start, Line::Start},
                          {Line::Start, Line::End},
                          {Line::End, Line::Start},
                          {Line::End, Line::End},
                          {Line::Centre, Line::Centre}};

// What the control may line up with, on one axis: the lines along it and
// the extent across, which the guide spans.
struct Target {
    Extent along;
    Extent across;
    bool area = false; // the parent's client area: its guides span all of it
};

// The shift that brings the nearest of moving's lines onto a target's, if
// any comes within distance.
std::optional<long long> Pull(const Extent& moving, const std::vector<Target>& targets, int distance)
{
    std::optional<long long> best;
    for (const Target& target : targets)
        for (const Pair& pair : Pairs) {
            const long long shift = At(target.along, pair.theirs) - At(moving, pair.mine);
            if (std::abs(shift) <= distance && (!best || std::abs(shift) < std::abs(*best))) best = shift;
        }
    return best;
}

void AddGuide(std::vector<SnapGuide>& guides, const SnapGuide& guide)
{
    // Two targets on one line make one guide as long as both.
    for (SnapGuide& known : guides)
        if (known.orientation == guide.orientation && known.at == guide.at) {
            known.from = std::min(known.from, guide.from);
            known.to = std::max(known.to, guide.to);
            return;
        }
    guides.push_back(guide);
}

// The guides of every line moving now shares with a target.
void Guides(const Extent& moving, const Extent& movingAcross, const std::vector<Target>& targets,
            Qt::Orientation orientation, std::vector<SnapGuide>& guides)
{
    for (const Target& target : targets)
        for (const Pair& pair : Pairs) {
            const long long line = At(moving, pair.mine);
            if (line != At(target.along, pair.theirs)) continue;
            // On the control's own last pixel for its far edge, its first
            // for the near one.
            const long long at = pair.mine == Line::End ? line - 1 : line;
            Extent across = target.across;
            if (!target.area) {
                across.begin = std::min(movingAcross.begin, target.across.begin);
                across.length = std::max(movingAcross.end(), target.across.end()) - across.begin;
            }
            AddGuide(guides, {orientation, Clamped(at), Clamped(across.begin), Clamped(across.end() - 1)});
        }
}

Extent Horizontal(const QRect& r)
{
    return {r.x(), r.width()};
}

Extent Vertical(const QRect& r)
{
    return {r.y(), r.height()};
}

} // namespace

Snapped Snap(const QRect& moving, std::span<const QRect> others, const QRect& area, int distance)
{
    std::vector<Target> columns; // lines across x: left, right, centre
    std::vector<Target> rows;    // lines across y: top, bottom, centre
    columns.reserve(others.size() + 1);
    rows.reserve(others.size() + 1);
    columns.push_back({Horizontal(area), Vertical(area), true});
    rows.push_back({Vertical(area), Horizontal(area), true});
    for (const QRect& other : others) {
        columns.push_back({Horizontal(other), Vertical(other), false});
        rows.push_back({Vertical(other), Horizontal(other), false});
    }

    Extent x = Horizontal(moving);
    Extent y = Vertical(moving);
    if (const auto shift = Pull(x, columns, distance)) x.begin += *shift;
    if (const auto shift = Pull(y, rows, distance)) y.begin += *shift;

    Snapped snapped{QPoint(Clamped(x.begin), Clamped(y.begin)), {}};
    Guides(x, y, columns, Qt::Vertical, snapped.guides);
    Guides(y, x, rows, Qt::Horizontal, snapped.guides);
    return snapped;
}

} // namespace fabulor
