#pragma once
// What the core hands a driver library when it asks the library for its devices. The field
// order is part of the binary contract with separately built libraries.
#include <cstdint>

namespace mvk::unidevice {

struct DriverContext {
    // Always 1203; libraries may check it to recognise the context.
    static constexpr int32_t Code = 1203;

    int32_t code = Code;
    // The core library's own module handle.
    void* module = nullptr;
    // The host's main window handle as the adaptor reports it (a 32-bit value).
    uintptr_t hostWindow = 0;
    // The core's wall clock in milliseconds (wrapping at 32 bits). Devices that play timed
    // motion read it, so they keep step with recording, also when the core runs in simulated
    // time; null from a core that does not offer it.
    uint32_t (*tickCount)() = nullptr;
    // Writes one line into the core's log; call it only from the host's thread. Null from a core
    // that does not offer it.
    void (*log)(const char* line) = nullptr;
};

} // namespace mvk::unidevice
