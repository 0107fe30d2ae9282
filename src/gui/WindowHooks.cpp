#include "gui/WindowHooks.h"

namespace mvk::gui {

namespace {
WindowHooks* current = nullptr;
}

WindowHooks* WindowHooks::installed() {
    return current;
}

void WindowHooks::install(WindowHooks* hooks) {
    current = hooks;
}

} // namespace mvk::gui
