#pragma once
// Holds every driver and every device, fans the common operations out to them, finds the
// control a stored binding names and the control the user is moving right now.
#include "unidevice/Control.h"
#include "util/Singleton.h"
#include "util/xml/Element.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mvk::unidevice {

class Device;
class Driver;

class DeviceHandler : public util::Singleton<DeviceHandler> {
public:
    DeviceHandler();
    DeviceHandler(const DeviceHandler&) = delete;
    DeviceHandler& operator=(const DeviceHandler&) = delete;
    // Destroys every device (last to first), detaches any that survive, then destroys every
    // driver (last to first). Driver libraries must still be loaded at this point.
    ~DeviceHandler() override;

    // The first driver of that name, or null.
    Driver* driver(const std::string& name) const;
    Driver* driver(int32_t index) const;
    int32_t driverCount() const { return static_cast<int32_t>(drivers.size()); }
    // The first device with that name and devindex, or null.
    Device* device(const std::string& name, int32_t devindex) const;
    Device* device(int32_t index) const;
    int32_t deviceCount() const { return static_cast<int32_t>(devices.size()); }
    // Position in the device sequence, or -1.
    int32_t deviceIndex(const Device* device) const;

    // The sequences are changed through virtual calls, so that code in a driver library always
    // runs the core's own implementation. Devices and drivers call these themselves; use
    // Device::attachTo and the Driver constructor rather than calling them directly.
    // Inserts at 0 .. deviceCount(); any other index does nothing.
    virtual void insertDevice(Device* device, int32_t index);
    virtual void appendDevice(Device* device);
    // Removes the first occurrence.
    virtual void removeDevice(Device* device);
    virtual void addDriver(Driver* driver);
    virtual void removeDriver(Driver* driver);

    // update() on every driver in order.
    void updateAll();
    // True when at least one device of any driver is ready.
    bool prepareDetectionAll();
    // Every driver is called even after a false; the result is the AND of all answers.
    bool activateAll();
    bool deactivateAll();
    // reset() on every device.
    void resetAll();

    // Asks every device that matches the binding, in order; the first hit wins. Null when none.
    Control* findControl(const util::xml::Element& element) const;
    // The control the user moves right now: the drivers' answers compared by absolute change,
    // the earlier driver winning a tie. Controls in `excluded` (may be null) are never answered.
    Control* detectControl(const ControlList* excluded = nullptr);
    // True while a detection runs and `control` is on its exclusion list.
    bool isExcluded(const Control* control) const;

    // destroy() on every device, last to first.
    void destroyAllDevices();

private:
    bool holdsDevice(const Device* device) const;
    bool holdsDriver(const Driver* driver) const;

    std::vector<Driver*> drivers;
    std::vector<Device*> devices;
    const ControlList* exclusion = nullptr;
};

} // namespace mvk::unidevice
