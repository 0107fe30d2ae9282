#include "platform/TickCount.h"

#include <chrono>
#include <cstdlib>
#include <string_view>

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

bool simulatedClockRequested() {
    const char* value = std::getenv("QUORVANE_SIMULATED_CLOCK");
    return value != nullptr && *value != '\0' && std::string_view(value) != "0";
}

} // namespace mvk::platform
