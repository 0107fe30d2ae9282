// The two exports the core looks up in a driver library.
#include "../common/DriverLog.h"
#include "MidiDriver.h"
#include "unidevice/DriverLibrary.h"

using namespace mvk::unidevice;

extern "C" __attribute__((visibility("default"))) int32_t getVersion() {
    return DriverLibraryVersion;
}

// The handler owns the driver and its devices from here on; it destroys them, and with the
// driver the port watcher and every open port, before the core unloads this library.
extern "C" __attribute__((visibility("default"))) int32_t loadDevices(DeviceHandler* handler,
                                                                      const DriverContext* context) {
    if (handler == nullptr)
        return 1;
    mvk::examples::takeLogWriter(context);
    new mvk::examples::MidiDriver(handler);
    return 0;
}
