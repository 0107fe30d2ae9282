#pragma once
// The built-in driver "windriver". Its param is the native handle of the core's main window
// once recording is prepared; the devices receive it on every call.
#include "unidevice/Driver.h"

namespace mvk::unidevice {

class WinDriver : public Driver {
public:
    explicit WinDriver(DeviceHandler* handler = nullptr);

    bool update() override;
    int32_t prepareDetection() override;
    Control* detect() override;
    bool addDevice(Device* device) override;
    bool removeDevice(Device* device) override;
    Device* device(int32_t index) const override;
    int32_t deviceCount() const override;
    bool activate() override;
    bool deactivate() override;

    uintptr_t param() const { return windowParam; }
    void setParam(uintptr_t param) { windowParam = param; }

private:
    uintptr_t windowParam = 0;
};

} // namespace mvk::unidevice
