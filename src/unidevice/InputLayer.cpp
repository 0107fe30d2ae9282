#include "unidevice/InputLayer.h"

#include "platform/TickCount.h"
#include "util/Log.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/DummyDriver.h"
#include "unidevice/EmulatedTrinaryDevice.h"
#include "unidevice/WINHOOK_KeyboardDevice.h"
#include "unidevice/WinDriver.h"

namespace mvk::unidevice {

std::string driverFolder(const std::string& installPath) {
    return installPath + "/data/" + "unidevice/drivers/" + platform::platformFolder;
}

DriverLoader& driverLoader() {
    static DriverLoader loader;
    return loader;
}

void startInputLayer(platform::ModuleHandle module, uint32_t hostWindow,
                     const std::string& installPath) {
    // The handler owns what is made here and destroys it at shut-down.
    new DummyDriver();
    new WinDriver();
    new WINHOOK_KeyboardDevice(module);
    DriverContext context;
    context.module = module;
    context.hostWindow = hostWindow;
    context.tickCount = &platform::tickCount;
    context.log = [](const char* line) {
        if (line != nullptr)
            util::Log::instance()->write(line, util::Log::Notice);
    };
    driverLoader().loadFolder(driverFolder(installPath), context);
    new EmulatedTrinaryDevice();
}

void shutDownInputLayer() {
    if (DeviceHandler* handler = DeviceHandler::existing())
        handler->destroy();
    driverLoader().freeAll();
}

void unlockKey(int32_t code) {
    if (WINHOOK_KeyboardDevice* keyboard = WINHOOK_KeyboardDevice::live())
        keyboard->unlockKey(code);
}

} // namespace mvk::unidevice
