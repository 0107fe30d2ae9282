#pragma once
// Blender's main window as an X window id, for the core to make its windows transient
// children of it.
#include <cstdint>

namespace qvn::host::blender {

class MainWindowFinder {
public:
    // The first top-level window of the X display Qt uses that belongs to this process and is
    // not one of Qt's own windows (its _NET_WM_PID is ours), found through the
    // window manager's client list, else the root's children. 0 without an X display (a
    // headless Blender, another Qt platform) or when none is found.
    static uint32_t blenderWindow();
};

} // namespace qvn::host::blender
