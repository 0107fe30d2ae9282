#include "OscDriver.h"

#include "../common/DriverExports.h"
#include "../common/DriverLog.h"
#include "OscDevice.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/DriverLibrary.h"

#include <cstdlib>
#include <cstring>

namespace mvk::examples {

namespace {
OscDriver* theDriver = nullptr;
}

OscDriver::OscDriver(unidevice::DeviceHandler* handler) : ListDriver("osc", handler) {
    theDriver = this;
}

OscDriver::~OscDriver() {
    socket.stop();
    destroyDevices();
    theDriver = nullptr;
}

OscDriver* OscDriver::live() { return theDriver; }

void OscDriver::configure(const OscSettings& settings) {
    const bool same = settings.enabled == applied.enabled && settings.port == applied.port &&
                      settings.loopbackOnly == applied.loopbackOnly;
    if (same && (!settings.enabled || socket.running()))
        return;
    applied = settings;
    socket.stop();
    if (current != nullptr) {
        current->setConnected(false);
        current->inbox()->rest();
        current = nullptr;
    }
    if (!settings.enabled || settings.port == 0)
        return;
    current = deviceFor(settings.port);
    if (socket.start(settings.port, settings.loopbackOnly, current->inbox())) {
        current->setConnected(true);
        logLine("OSC: listening on " + std::string(settings.loopbackOnly ? "127.0.0.1" : "*") +
                ":" + std::to_string(settings.port));
    } else {
        // The device stays, resting, so bindings to it hold until the port is free again.
        current->setConnected(false);
        logLine("OSC: cannot listen on port " + std::to_string(settings.port) + ": " +
                socket.error());
    }
}

OscDevice* OscDriver::deviceFor(uint16_t port) {
    for (unidevice::Device* device : devices) {
        auto* known = static_cast<OscDevice*>(device);
        if (known->port() == port)
            return known;
    }
    auto* made = new OscDevice(port, 0);
    made->setConnected(false);
    made->attachTo(-1, handler());
    addDevice(made);
    return made;
}

void OscDriver::reportRefusals() {
    for (unidevice::Device* device : devices) {
        auto* known = static_cast<OscDevice*>(device);
        if (known->inbox()->takeRefusal())
            logLine("OSC: " + known->name() + " has learned " +
                    std::to_string(OscListener::ControlCap) +
                    " controls; further addresses are ignored");
    }
}

bool OscDriver::update() {
    reportRefusals();
    return updateDevices(0);
}

int32_t OscDriver::prepareDetection() {
    reportRefusals();
    return prepareDevices(0);
}

// The handler owns the driver from here on; destroying it stops the listening thread before
// the core unloads this library.
bool makeDriver(unidevice::DeviceHandler& handler, const unidevice::DriverContext*) {
    new OscDriver(&handler);
    return true;
}

} // namespace mvk::examples

// "osc.enabled" and "osc.loopbackOnly" (0 or 1) and "osc.port"; keys not given keep their value.
extern "C" __attribute__((visibility("default"))) void
applySettings(const mvk::unidevice::DriverSetting* settings, int32_t count) {
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
