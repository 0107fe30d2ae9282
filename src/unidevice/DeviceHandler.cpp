#include "unidevice/DeviceHandler.h"

#include "unidevice/Device.h"
#include "unidevice/Driver.h"

#include <algorithm>

namespace mvk::unidevice {

using util::xml::Element;

DeviceHandler::DeviceHandler() = default;

DeviceHandler::~DeviceHandler() {
    destroyAllDevices();
    // Devices that refused to die (a tool instance that is being torn down elsewhere) must not
    // point back at a handler that is gone.
    const std::vector<Device*> survivors = devices;
    for (Device* device : survivors)
        device->detach();
    devices.clear();
    const std::vector<Driver*> snapshot = drivers;
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it)
        if (holdsDriver(*it))
            (*it)->destroy();
    drivers.clear();
}

Driver* DeviceHandler::driver(const std::string& name) const {
    for (Driver* candidate : drivers)
        if (candidate->name() == name)
            return candidate;
    return nullptr;
}

Driver* DeviceHandler::driver(int32_t index) const {
    if (index < 0 || index >= driverCount())
        return nullptr;
    return drivers[static_cast<size_t>(index)];
}

Device* DeviceHandler::device(const std::string& name, int32_t devindex) const {
    for (Device* candidate : devices)
        if (candidate->name() == name && candidate->devindex() == devindex)
            return candidate;
    return nullptr;
}

Device* DeviceHandler::device(int32_t index) const {
    if (index < 0 || index >= deviceCount())
        return nullptr;
    return devices[static_cast<size_t>(index)];
}

int32_t DeviceHandler::deviceIndex(const Device* device) const {
    const auto found = std::find(devices.begin(), devices.end(), device);
    return found == devices.end() ? -1 : static_cast<int32_t>(found - devices.begin());
}

void DeviceHandler::insertDevice(Device* device, int32_t index) {
    if (device == nullptr || index < 0 || index > deviceCount())
        return;
    devices.insert(devices.begin() + index, device);
}

void DeviceHandler::appendDevice(Device* device) {
    if (device != nullptr)
        devices.push_back(device);
}

void DeviceHandler::removeDevice(Device* device) {
    const auto found = std::find(devices.begin(), devices.end(), device);
    if (found != devices.end())
        devices.erase(found);
}

void DeviceHandler::addDriver(Driver* driver) {
    if (driver != nullptr)
        drivers.push_back(driver);
}

void DeviceHandler::removeDriver(Driver* driver) {
    const auto found = std::find(drivers.begin(), drivers.end(), driver);
    if (found != drivers.end())
        drivers.erase(found);
}

void DeviceHandler::updateAll() {
    // A driver may add or remove devices (hot-plugging) but not drivers; still, go by index so a
    // change of the sequence cannot invalidate the walk.
    for (size_t i = 0; i < drivers.size(); ++i)
        drivers[i]->update();
}

bool DeviceHandler::prepareDetectionAll() {
    int64_t ready = 0;
    for (size_t i = 0; i < drivers.size(); ++i)
        ready += drivers[i]->prepareDetection();
    return ready != 0;
}

bool DeviceHandler::activateAll() {
    bool all = true;
    for (size_t i = 0; i < drivers.size(); ++i)
        all = drivers[i]->activate() && all;
    return all;
}

bool DeviceHandler::deactivateAll() {
    bool all = true;
    for (size_t i = 0; i < drivers.size(); ++i)
        all = drivers[i]->deactivate() && all;
    return all;
}

void DeviceHandler::resetAll() {
    for (size_t i = 0; i < devices.size(); ++i)
        devices[i]->reset();
}

Control* DeviceHandler::findControl(const Element& element) const {
    for (size_t i = 0; i < devices.size(); ++i) {
        Device* candidate = devices[i];
        if (!candidate->matches(element))
            continue;
        if (Control* found = candidate->findControl(element))
            return found;
    }
    return nullptr;
}

Control* DeviceHandler::detectControl(const ControlList* excluded) {
    const ControlList* previous = exclusion;
    exclusion = excluded;
    ControlList answers;
    for (size_t i = 0; i < drivers.size(); ++i) {
        Control* answer = drivers[i]->detect();
        if (answer != nullptr && !isExcluded(answer))
            answers.push_back(answer);
    }
    exclusion = previous;
    return largestChange(answers);
}

bool DeviceHandler::isExcluded(const Control* control) const {
    if (exclusion == nullptr || control == nullptr)
        return false;
    return std::find(exclusion->begin(), exclusion->end(), control) != exclusion->end();
}

void DeviceHandler::destroyAllDevices() {
    const std::vector<Device*> snapshot = devices;
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it)
        if (holdsDevice(*it))
            (*it)->destroy();
}

bool DeviceHandler::holdsDevice(const Device* device) const { return deviceIndex(device) >= 0; }

bool DeviceHandler::holdsDriver(const Driver* driver) const {
    return std::find(drivers.begin(), drivers.end(), driver) != drivers.end();
}

} // namespace mvk::unidevice
