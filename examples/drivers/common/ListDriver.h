#pragma once
// A driver that keeps its devices in a list and hands each of them the param 0: the common
// ground of the sample driver libraries.
#include "unidevice/Device.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/Driver.h"

#include <string>
#include <vector>

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

protected:
    // Destroys the driver's devices, the newest first; derived destructors call it before they
    // let go of what the devices read from.
    void destroyDevices() {
        const std::vector<unidevice::Device*> owned = devices;
        for (auto it = owned.rbegin(); it != owned.rend(); ++it)
            (*it)->destroy();
    }
    // The lowest devindex no device of that name holds.
    int32_t devindexFor(const std::string& name) const {
        int32_t devindex = 0;
        while (handler()->device(name, devindex) != nullptr)
            ++devindex;
        return devindex;
    }
    // Where a new device joins the handler (-1: at the end). A binding without devindex lands on
    // the first device of its name, so devices of one name stay in devindex order.
    int32_t placeFor(const unidevice::Device& device) const {
        const unidevice::DeviceHandler* all = handler();
        for (int32_t i = 0; i < all->deviceCount(); ++i) {
            const unidevice::Device* other = all->device(i);
            if (other->name() == device.name() && other->devindex() > device.devindex())
                return i;
        }
        return -1;
    }
};

} // namespace mvk::examples
