#include "unidevice/Device.h"

#include "unidevice/Control.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/Driver.h"
#include "unidevice/NumberText.h"

namespace mvk::unidevice {

using util::xml::Element;

Device::Device(std::string name, int32_t devindex, bool registration)
    : deviceName(std::move(name)), deviceIndex(devindex) {
    if (registration)
        attachTo(-1, nullptr);
}

Device::~Device() {
    Driver* driver = owningDriver;
    owningDriver = nullptr;
    DeviceHandler* drivers = owningHandler != nullptr ? owningHandler
                             : driver != nullptr      ? driver->handler()
                                                      : nullptr;
    detach();
    // A driver only appends, so the device may be listed more than once, or by a driver other
    // than its own: no list may keep an entry of it.
    if (driver != nullptr)
        leave(driver);
    for (int32_t i = 0; drivers != nullptr && i < drivers->driverCount(); ++i)
        leave(drivers->driver(i));
}

void Device::leave(Driver* driver) {
    // Bounded, so a driver that always answers true cannot hold a dying device for ever.
    for (int32_t left = driver->deviceCount(); left >= 0 && driver->removeDevice(this); --left) {
    }
}

Element Device::toXML() const {
    Element element = util::xml::Tag("control");
    element.attribute("device") = deviceName;
    if (deviceIndex != 0)
        element.attribute("devindex") = std::to_string(deviceIndex);
    return element;
}

Control* Device::findControl(const Element& element) {
    const int32_t count = controlCount();
    for (int32_t i = 0; i < count; ++i) {
        Control* candidate = control(i);
        if (candidate != nullptr && candidate->matches(element))
            return candidate;
    }
    return nullptr;
}

bool Device::activate(uintptr_t) { return true; }

bool Device::deactivate(uintptr_t) { return true; }

bool Device::matches(const Element& element) const {
    const std::string device = element.attribute("device");
    const std::string devindex = element.attribute("devindex");
    if (!device.empty() && device != deviceName)
        return false;
    return devindex.empty() || readDecimal(devindex) == deviceIndex;
}

void Device::attachTo(int32_t index, DeviceHandler* handler) {
    detach();
    DeviceHandler* target = handler != nullptr ? handler : DeviceHandler::instance();
    if (index < 0)
        target->appendDevice(this);
    else
        target->insertDevice(this, index);
    if (target->deviceIndex(this) >= 0)
        owningHandler = target;
}

void Device::detach() {
    if (owningHandler == nullptr)
        return;
    DeviceHandler* handler = owningHandler;
    owningHandler = nullptr;
    handler->removeDevice(this);
}

} // namespace mvk::unidevice
