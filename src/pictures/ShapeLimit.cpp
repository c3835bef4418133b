#include "pictures/ShapeLimit.h"

#include <QGuiApplication>

#include <limits>

#ifdef FSB_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace fabulor {

std::size_t ShapeRectanglesInRequest(std::size_t maxRequestUnits)
{
    // A SHAPE Rectangles request: 16 bytes of fixed part (4 units), one more
    // unit for the length field of the BIG-REQUESTS form that long requests
    // need, then 8 bytes (2 units) per rectangle.
    constexpr std::size_t HeaderUnits = 4 + 1;
    constexpr std::size_t UnitsPerRectangle = 2;
    if (maxRequestUnits <= HeaderUnits) return 0;
    return (maxRequestUnits - HeaderUnits) / UnitsPerRectangle;
}

std::size_t MaxShapeRectangles()
{
#ifdef FSB_HAVE_XCB
    if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        if (xcb_connection_t* connection = x11->connection()) {
            // The server's own limit, with BIG-REQUESTS where it offers them;
            // xcb asks once and then remembers it.
            return ShapeRectanglesInRequest(xcb_get_maximum_request_length(connection));
        }
    }
#endif
    return std::numeric_limits<std::size_t>::max();
}

} // namespace fabulor
