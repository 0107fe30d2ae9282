#pragma once
// The input-device side of a tool instance: its controls are the values its code publishes.
#include "unidevice/Device.h"

namespace mvk::qvn::core {

class InstanceVirtualDevice : public unidevice::Device {
public:
    // Not listed with the device handler until the first virtual control is made.
    explicit InstanceVirtualDevice(const std::string& name) : Device(name, 0, false) {}

protected:
    // Renaming the instance renames the device.
    void setDeviceName(const std::string& name) { setName(name); }
};

} // namespace mvk::qvn::core
