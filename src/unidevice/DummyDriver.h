#pragma once
// The built-in driver "dummydriver": home of the keyboard device, the emulated trinary device
// and the tool instances' own devices. It hands its devices the param 0.
#include "unidevice/Driver.h"

namespace mvk::unidevice {

class DummyDriver : public Driver {
public:
    explicit DummyDriver(DeviceHandler* handler = nullptr);

    bool update() override;
    int32_t prepareDetection() override;
    Control* detect() override;
    bool addDevice(Device* device) override;
    bool removeDevice(Device* device) override;
    Device* device(int32_t index) const override;
    int32_t deviceCount() const override;
    bool activate() override;
    bool deactivate() override;
};

} // namespace mvk::unidevice
