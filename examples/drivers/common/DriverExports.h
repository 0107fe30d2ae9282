#pragma once
// What each sample driver library adds to the exports every one of them shares (DriverExports.cpp
// defines getVersion and loadDevices once for all of them).
#include "unidevice/DeviceHandler.h"
#include "unidevice/DriverContext.h"

namespace mvk::examples {

// Makes the library's driver and its first devices, attached to `handler`, which owns them from
// then on and destroys them before the core unloads the library. `context` may be null. False
// when the driver cannot be made; loadDevices then answers 1.
bool makeDriver(unidevice::DeviceHandler& handler, const unidevice::DriverContext* context);

} // namespace mvk::examples
