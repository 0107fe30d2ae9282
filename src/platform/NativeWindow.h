#pragma once
// Windows of other programs (or of a host's own toolkit) known only by their native id.
#include <QRect>

#include <cstdint>

namespace mvk::platform {

// Where the native window `id` lies on the desktop (its client area, in screen coordinates).
// False when the display cannot be asked (no X connection: offscreen, Wayland) or no window has
// that id.
bool nativeWindowArea(uint32_t id, QRect& area);

} // namespace mvk::platform
