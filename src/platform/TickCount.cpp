#include "platform/TickCount.h"

#include <chrono>

namespace mvk::platform {

namespace {
TickSource& source() {
    static TickSource current;
    return current;
}
} // namespace

uint32_t tickCount() {
    if (source())
        return source()();
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void setTickSource(TickSource replacement) { source() = std::move(replacement); }

} // namespace mvk::platform
