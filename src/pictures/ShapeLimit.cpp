#include "pictures/ShapeLimit.h"

#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <limits>

#ifdef FSB_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace fabulor {

namespace {

// Rows times rectangles of a clip that Qt's painter may be asked to set
// aside: Qt's raster painter makes room for every rectangle of a clip on
// every row the clip covers before it paints the first pixel. 2^25 spans of
// 12 bytes are 384 MiB of address space, most of it never touched; a
// 1500 x 1500 pixel checkerboard asks for 1.7e9 of them (20 GB), and where
// the allocation fails the painter writes where it has no room.
constexpr std::size_t MaxClipSpans = std::size_t{1} << 25;

// The most rectangles a shape of the given height may have for Qt to paint
// the window through it.
std::size_t PaintableShapeRectangles(int height)
{
    return MaxClipSpans / static_cast<std::size_t>(std::max(height, 1));
}

// The window system's own limit on the rectangles of one shape.
std::size_t WindowSystemShapeRectangles()
{
#ifdef FSB_HAVE_XCB
    if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        if (xcb_connection_t* connection = x11->connection()) {
            // The length of a plain request, not the larger one BIG-REQUESTS
            // offers: X servers of this generation (Xvfb 21.1 here; Xorg
            // shares the code) read a shape request's length from its 16-bit
            // field, so a longer one sets an empty shape and the window
            // vanishes.
            if (const xcb_setup_t* setup = xcb_get_setup(connection))
                return ShapeRectanglesInRequest(setup->maximum_request_length);
            return 0;
        }
    }
#endif
    return std::numeric_limits<std::size_t>::max();
}

} // namespace

std::size_t ShapeRectanglesInRequest(std::size_t maxRequestUnits)
{
    // A SHAPE Rectangles request: 16 bytes of fixed part (4 units), then
    // 8 bytes (2 units) per rectangle.
    constexpr std::size_t HeaderUnits = 4;
    constexpr std::size_t UnitsPerRectangle = 2;
    if (maxRequestUnits <= HeaderUnits) return 0;
    return (maxRequestUnits - HeaderUnits) / UnitsPerRectangle;
}

std::size_t MostShapeRectangles(int width)
{
    // A row holds at most (width + 1) / 2 runs, so a shape of n rectangles
    // covers at least n / runsPerRow rows, and Qt's painter takes at most
    // MaxClipSpans rows times rectangles: n * n <= MaxClipSpans * runsPerRow.
    const std::size_t runsPerRow = (static_cast<std::size_t>(std::max(width, 1)) + 1) / 2;
    const auto paintable =
        static_cast<std::size_t>(std::sqrt(static_cast<double>(MaxClipSpans * runsPerRow))) + 1;
    return std::min(WindowSystemShapeRectangles(), paintable);
}

bool WindowTakesShape(const QRegion& region)
{
    const auto rectangles = static_cast<std::size_t>(region.rectCount());
    return rectangles <= WindowSystemShapeRectangles() &&
           rectangles <= PaintableShapeRectangles(region.boundingRect().height());
}

} // namespace fabulor
