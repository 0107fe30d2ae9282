#pragma once
// Start and shut-down of the input layer, as the core runs them at attach and detach.
#include "platform/DynamicLibrary.h"
#include "unidevice/DriverLoader.h"

#include <cstdint>
#include <string>

namespace mvk::unidevice {

// The folder the driver libraries are loaded from: installPath + "/data/" +
// "unidevice/drivers/" + the platform folder.
std::string driverFolder(const std::string& installPath);

// Creates "dummydriver" and then "windriver", the keyboard device (given `module`), loads the
// driver libraries of driverFolder(installPath) with the context (1203, `module`, `hostWindow`),
// and creates the emulated trinary device. The caller opens the surrounding log section and
// starts its own keyboard hook afterwards.
void startInputLayer(platform::ModuleHandle module, uint32_t hostWindow,
                     const std::string& installPath);

// Unloads the driver libraries in loading order. Runs after the singletons are destroyed; a
// device handler still alive is destroyed first, so no object of a library outlives its code.
void shutDownInputLayer();

// Tells the keyboard device that the host keeps `code` during recording; nothing happens
// without a keyboard device.
void unlockKey(int32_t code);

// The process-wide list of loaded driver libraries.
DriverLoader& driverLoader();

} // namespace mvk::unidevice
