#include "MainWindowFinder.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace qvn::host::blender {

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t result = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return result;
}

// The 32-bit values of a window's property (a window list, a process id).
std::vector<uint32_t> values(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                             xcb_atom_t type) {
    std::vector<uint32_t> result;
    if (property == XCB_ATOM_NONE)
        return result;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, type, 0, 4096), nullptr);
    if (reply != nullptr && reply->format == 32) {
        const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply));
        result.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return result;
}

std::vector<xcb_window_t> rootChildren(xcb_connection_t* connection, xcb_window_t root) {
    std::vector<xcb_window_t> result;
    xcb_query_tree_reply_t* reply =
        xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr);
    if (reply != nullptr) {
        const xcb_window_t* children = xcb_query_tree_children(reply);
        result.assign(children, children + xcb_query_tree_children_length(reply));
    }
    std::free(reply);
    return result;
}

} // namespace

uint32_t MainWindowFinder::blenderWindow() {
    if (qGuiApp == nullptr || QGuiApplication::platformName() != QLatin1String("xcb"))
        return 0;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr)
        return 0;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (screen == nullptr)
        return 0;
    std::set<uint32_t> own;
    for (QWindow* window : QGuiApplication::allWindows())
        if (window->handle() != nullptr)
            own.insert(static_cast<uint32_t>(window->winId()));
    const xcb_atom_t pidAtom = atom(connection, "_NET_WM_PID");
    std::vector<uint32_t> candidates =
        values(connection, screen->root, atom(connection, "_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
    if (candidates.empty())
        for (const xcb_window_t window : rootChildren(connection, screen->root))
            candidates.push_back(window);
    const auto pid = static_cast<uint32_t>(getpid());
    for (const uint32_t window : candidates) {
        if (own.count(window) > 0)
            continue;
        const std::vector<uint32_t> owner = values(connection, window, pidAtom, XCB_ATOM_CARDINAL);
        if (!owner.empty() && owner.front() == pid)
            return window;
    }
    return 0;
}

} // namespace qvn::host::blender
