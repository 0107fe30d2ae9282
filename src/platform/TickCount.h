#pragma once
// The wall-clock tick counter: unsigned 32-bit milliseconds that wrap like the system's.
#include <cstdint>
#include <functional>

namespace mvk::platform {

using TickSource = std::function<uint32_t()>;

uint32_t tickCount();
// Replaces the clock (tests); an empty function restores the steady clock.
void setTickSource(TickSource source);
// Whether the process was started to run in simulated time: QUORVANE_SIMULATED_CLOCK is set to
// something other than "" or "0". Hosts set it for scripted sessions that must be exact.
bool simulatedClockRequested();

} // namespace mvk::platform
