#pragma once
// A group of devices that share a way of reading input. The built-in drivers and those of the
// driver libraries all derive from this class.
#include "unidevice/Control.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mvk::unidevice {

class Device;
class DeviceHandler;

class Driver {
public:
    // Joins the end of the driver sequence of `handler` (the singleton when null). A driver
    // library passes the handler it was given, never null.
    explicit Driver(std::string name, DeviceHandler* handler = nullptr);
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    virtual bool update() = 0;
    // How many devices are ready for detection.
    virtual int32_t prepareDetection() = 0;
    // The most-moved control of the driver's devices, or null.
    virtual Control* detect() = 0;
    virtual bool addDevice(Device* device) = 0;
    // False when the device is not the driver's.
    virtual bool removeDevice(Device* device) = 0;
    virtual Device* device(int32_t index) const = 0;
    virtual int32_t deviceCount() const = 0;
    virtual bool activate();
    virtual bool deactivate();
    // Leaves the handler; the driver's devices stay alive but lose their driver link.
    virtual ~Driver();
    virtual void destroy();

    const std::string& name() const { return driverName; }
    DeviceHandler* handler() const { return owningHandler; }

protected:
    // Building blocks for drivers that keep their devices in the sequence below and hand each
    // device the same param.
    bool updateDevices(uintptr_t param);
    int32_t prepareDevices(uintptr_t param);
    // Asks each device for detect(param, 0); the answer with the strictly greatest change wins,
    // the earlier device on a tie. Controls excluded by the handler are ignored.
    Control* detectAmongDevices(uintptr_t param);
    bool activateDevices(uintptr_t param);
    bool deactivateDevices(uintptr_t param);
    // Appends, even a device listed already (here or by another driver), and makes this its
    // driver; false only for null.
    bool appendToDevices(Device* device);
    bool eraseFromDevices(Device* device);
    Device* deviceAt(int32_t index) const;

    std::vector<Device*> devices;

private:
    std::string driverName;
    DeviceHandler* owningHandler = nullptr;
};

} // namespace mvk::unidevice
