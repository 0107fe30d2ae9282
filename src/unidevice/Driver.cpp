#include "unidevice/Driver.h"

#include "unidevice/Device.h"
#include "unidevice/DeviceHandler.h"

#include <algorithm>

namespace mvk::unidevice {

Driver::Driver(std::string name, DeviceHandler* handler) : driverName(std::move(name)) {
    owningHandler = handler != nullptr ? handler : DeviceHandler::instance();
    owningHandler->addDriver(this);
}

Driver::~Driver() {
    for (Device* device : devices)
        if (device->driver() == this)
            device->setDriver(nullptr);
    devices.clear();
    if (owningHandler != nullptr)
        owningHandler->removeDriver(this);
}

void Driver::destroy() { delete this; }

bool Driver::activate() { return true; }

bool Driver::deactivate() { return true; }

bool Driver::updateDevices(uintptr_t param) {
    // A device may leave the driver while updating; go by a snapshot.
    const std::vector<Device*> snapshot = devices;
    for (Device* device : snapshot)
        device->update(param);
    return true;
}

int32_t Driver::prepareDevices(uintptr_t param) {
    int32_t ready = 0;
    const std::vector<Device*> snapshot = devices;
    for (Device* device : snapshot)
        if (device->prepareDetection(param))
            ++ready;
    return ready;
}

Control* Driver::detectAmongDevices(uintptr_t param) {
    ControlList answers;
    const std::vector<Device*> snapshot = devices;
    for (Device* device : snapshot) {
        Control* answer = device->detect(param, 0);
        if (answer != nullptr && !owningHandler->isExcluded(answer))
            answers.push_back(answer);
    }
    return largestChange(answers);
}

bool Driver::activateDevices(uintptr_t param) {
    bool all = true;
    const std::vector<Device*> snapshot = devices;
    for (Device* device : snapshot)
        all = device->activate(param) && all;
    return all;
}

bool Driver::deactivateDevices(uintptr_t param) {
    bool all = true;
    const std::vector<Device*> snapshot = devices;
    for (Device* device : snapshot)
        all = device->deactivate(param) && all;
    return all;
}

bool Driver::appendToDevices(Device* device) {
    if (device == nullptr)
        return false;
    devices.push_back(device);
    device->setDriver(this);
    return true;
}

bool Driver::eraseFromDevices(Device* device) {
    const auto found = std::find(devices.begin(), devices.end(), device);
    if (found == devices.end())
        return false;
    devices.erase(found);
    if (device->driver() == this)
        device->setDriver(nullptr);
    return true;
}

Device* Driver::deviceAt(int32_t index) const {
    if (index < 0 || index >= static_cast<int32_t>(devices.size()))
        return nullptr;
    return devices[static_cast<size_t>(index)];
}

} // namespace mvk::unidevice
