#pragma once
// An input device: a named, numbered owner of controls, listed by the device handler and
// grouped under a driver.
#include "util/DynamicObject.h"
#include "util/xml/Element.h"

#include <cstdint>
#include <string>

namespace mvk::unidevice {

class Control;
class DeviceHandler;
class Driver;

class Device : public util::DynamicObject {
public:
    // With `registration` the device appends itself to the device handler singleton. Devices
    // made inside a driver library pass false and attach to the handler they were given.
    Device(std::string name, int32_t devindex, bool registration = true);
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;
    // Leaves its handler and every driver sequence that lists it.
    ~Device() override;

    // The device part of a binding: tag "control", "device" and, when not 0, "devindex".
    virtual util::xml::Element toXML() const;
    virtual int32_t controlCount() const = 0;
    // Null outside 0 .. controlCount() - 1.
    virtual Control* control(int32_t index) const = 0;
    virtual bool update(uintptr_t param) = 0;
    // The first control, in index order, that matches the binding; null when none does.
    virtual Control* findControl(const util::xml::Element& element);
    // True when the device can deliver input and has taken its present values as the baseline.
    virtual bool prepareDetection(uintptr_t param) = 0;
    // The control that moved most since the baseline, or null.
    virtual Control* detect(uintptr_t param, int32_t flag) = 0;
    // Previous and current of every control become 0.
    virtual void reset() = 0;
    virtual bool activate(uintptr_t param);
    virtual bool deactivate(uintptr_t param);

    // True when the device part of a binding names this device (see the definition).
    bool matches(const util::xml::Element& element) const;

    // Leaves the present handler, then joins `handler` (the singleton when null) at `index`, or
    // at the end when `index` is negative. An index past the end joins nothing.
    void attachTo(int32_t index, DeviceHandler* handler = nullptr);
    // Leaves the present handler, if any.
    void detach();

    const std::string& name() const { return deviceName; }
    int32_t devindex() const { return deviceIndex; }
    DeviceHandler* handler() const { return owningHandler; }
    Driver* driver() const { return owningDriver; }
    // Set by a driver when it takes or releases the device.
    void setDriver(Driver* driver) { owningDriver = driver; }

protected:
    void setName(const std::string& name) { deviceName = name; }
    void setDevindex(int32_t devindex) { deviceIndex = devindex; }

private:
    // Removes every entry of the device from the driver's sequence.
    void leave(Driver* driver);

    std::string deviceName;
    int32_t deviceIndex;
    DeviceHandler* owningHandler = nullptr;
    Driver* owningDriver = nullptr;
};

} // namespace mvk::unidevice
