// The two exports the core looks up in a driver library, shared by the sample libraries; each of
// them supplies makeDriver().
#include "DriverExports.h"

#include "DriverLog.h"
#include "unidevice/DriverLibrary.h"

using namespace mvk::unidevice;

extern "C" __attribute__((visibility("default"))) int32_t getVersion() {
    return DriverLibraryVersion;
}

// The log writer is taken before the driver is made, so the driver's first lines are kept.
extern "C" __attribute__((visibility("default"))) int32_t
loadDevices(DeviceHandler* handler, const DriverContext* context) {
    if (handler == nullptr)
        return 1;
    mvk::examples::takeLogWriter(context);
    return mvk::examples::makeDriver(*handler, context) ? 0 : 1;
}
