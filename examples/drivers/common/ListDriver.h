#pragma once
// A driver that keeps its devices in a list and hands each of them the param 0: the common
// ground of the sample driver libraries.
#include "unidevice/Driver.h"

namespace mvk::examples {

class ListDriver : public unidevice::Driver {
public:
    ListDriver(std::string name, unidevice::DeviceHandler* handler)
        : Driver(std::move(name), handler) {}

    bool update() override { return updateDevices(0); }
    int32_t prepareDetection() override { return prepareDevices(0); }
    unidevice::Control* detect() override { return detectAmongDevices(0); }
    bool addDevice(unidevice::Device* device) override { return appendToDevices(device); }
    bool removeDevice(unidevice::Device* device) override { return eraseFromDevices(device); }
    unidevice::Device* device(int32_t index) const override { return deviceAt(index); }
    int32_t deviceCount() const override { return static_cast<int32_t>(devices.size()); }
    bool activate() override { return activateDevices(0); }
    bool deactivate() override { return deactivateDevices(0); }
};

} // namespace mvk::examples
