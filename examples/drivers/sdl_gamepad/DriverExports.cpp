// The two exports the core looks up in a driver library.
#include "SdlGamepadDriver.h"
#include "unidevice/DriverLibrary.h"

using namespace mvk::unidevice;

extern "C" __attribute__((visibility("default"))) int32_t getVersion() {
    return DriverLibraryVersion;
}

// The handler owns the driver and its devices from here on; it destroys them before the core
// unloads this library.
extern "C" __attribute__((visibility("default"))) int32_t loadDevices(DeviceHandler* handler,
                                                                      const DriverContext*) {
    return mvk::examples::SdlGamepadDriver::create(handler) != nullptr ? 0 : 1;
}
