// The exports the core looks up in a driver library.
#include "../common/DriverLog.h"
#include "OscDriver.h"
#include "unidevice/DriverLibrary.h"

#include <cstdlib>
#include <cstring>

using namespace mvk::unidevice;

extern "C" __attribute__((visibility("default"))) int32_t getVersion() {
    return DriverLibraryVersion;
}

// The handler owns the driver and its devices from here on; it destroys them, and with the
// driver its listening thread, before the core unloads this library.
extern "C" __attribute__((visibility("default"))) int32_t loadDevices(DeviceHandler* handler,
                                                                      const DriverContext* context) {
    if (handler == nullptr)
        return 1;
    mvk::examples::takeLogWriter(context);
    new mvk::examples::OscDriver(handler);
    return 0;
}

// "osc.enabled" and "osc.loopbackOnly" (0 or 1) and "osc.port"; keys not given keep their value.
extern "C" __attribute__((visibility("default"))) void applySettings(const DriverSetting* settings,
                                                                     int32_t count) {
    mvk::examples::OscDriver* driver = mvk::examples::OscDriver::live();
    if (driver == nullptr || settings == nullptr)
        return;
    mvk::examples::OscSettings wanted = driver->wanted();
    for (int32_t i = 0; i < count; ++i) {
        const char* key = settings[i].key;
        const char* value = settings[i].value;
        if (key == nullptr || value == nullptr)
            continue;
        if (std::strcmp(key, "osc.enabled") == 0)
            wanted.enabled = std::atoi(value) != 0;
        else if (std::strcmp(key, "osc.loopbackOnly") == 0)
            wanted.loopbackOnly = std::atoi(value) != 0;
        else if (std::strcmp(key, "osc.port") == 0) {
            const long port = std::strtol(value, nullptr, 10);
            if (port > 0 && port <= 65535)
                wanted.port = static_cast<uint16_t>(port);
        }
    }
    driver->configure(wanted);
}
