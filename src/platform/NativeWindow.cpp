#include "platform/NativeWindow.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>

namespace mvk::platform {

bool nativeWindowArea(uint32_t id, QRect& area) {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr || id == 0)
        return false;
    // An id that names no window answers with an error and no reply.
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr);
    if (geometry == nullptr)
        return false;
    const xcb_window_t root = geometry->root;
    const QSize size(geometry->width, geometry->height);
    std::free(geometry);
    // A window manager reparents the window into its frame: its own position is relative to
    // that frame, so the position comes from a translation to the root.
    xcb_translate_coordinates_reply_t* position = xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, id, root, 0, 0), nullptr);
    if (position == nullptr)
        return false;
    area = QRect(QPoint(position->dst_x, position->dst_y), size);
    std::free(position);
    return true;
}

} // namespace mvk::platform
