#pragma once
// Plain integer geometry of the component layer, which knows nothing of the drawing toolkit.
#include <cstdint>

namespace mvk::gui {

struct Point {
    int32_t left = 0;
    int32_t top = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const Rect&) const = default;
};

// A block of event codes: `first` included, `end` not.
struct EventRange {
    int32_t first = 0;
    int32_t end = 0;
    bool operator==(const EventRange&) const = default;
};

} // namespace mvk::gui
