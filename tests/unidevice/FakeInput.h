#pragma once
// Scriptable devices and drivers for the input layer's tests. Each records its destruction in a
// shared journal, so tests can assert orders across objects.
#include "unidevice/Control.h"
#include "unidevice/Device.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/Driver.h"
#include "unidevice/DriverLoader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace qvn::test {

using namespace mvk::unidevice;

inline std::vector<std::string>& journal() {
    static std::vector<std::string> entries;
    return entries;
}

class FakeDevice : public Device {
public:
    // `controls` finite controls of type "axis", index 0.., described "Axis <i>".
    FakeDevice(const std::string& name, int32_t devindex, int controls = 2,
               bool registration = true)
        : Device(name, devindex, registration) {
        for (int i = 0; i < controls; ++i) {
            owned.push_back(std::make_unique<Control>(this, ControlKind::Finite, 0.1));
            owned.back()->setType("axis");
            owned.back()->setIndex(i);
            owned.back()->setDescription("Axis " + std::to_string(i));
        }
    }
    ~FakeDevice() override { journal().push_back("~" + tag()); }

    std::string tag() const { return name() + "/" + std::to_string(devindex()); }

    int32_t controlCount() const override { return static_cast<int32_t>(owned.size()); }
    Control* control(int32_t index) const override {
        return index < 0 || index >= controlCount() ? nullptr : owned[size_t(index)].get();
    }
    bool update(uintptr_t) override { return true; }
    bool prepareDetection(uintptr_t) override { return true; }
    Control* detect(uintptr_t, int32_t) override { return nullptr; }
    void reset() override {
        for (const auto& control : owned)
            control->reset();
    }
    bool activate(uintptr_t) override { return true; }
    bool deactivate(uintptr_t) override { return true; }

private:
    std::vector<std::unique_ptr<Control>> owned;
};

class FakeDriver : public Driver {
public:
    explicit FakeDriver(const std::string& name) : Driver(name, nullptr) {}
    ~FakeDriver() override { journal().push_back("~" + name()); }

    bool update() override { return updateDevices(0); }
    int32_t prepareDetection() override { return prepareDevices(0); }
    Control* detect() override { return detectAmongDevices(0); }
    bool addDevice(Device* device) override { return appendToDevices(device); }
    bool removeDevice(Device* device) override { return eraseFromDevices(device); }
    Device* device(int32_t index) const override { return deviceAt(index); }
    int32_t deviceCount() const override { return static_cast<int32_t>(devices.size()); }
    bool activate() override { return activateDevices(0); }
    bool deactivate() override { return deactivateDevices(0); }
};

// Every test starts from a fresh handler singleton and an empty journal.
class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        dropHandler();
        journal().clear();
    }
    void TearDown() override { dropHandler(); }
    static void dropHandler() {
        if (DeviceHandler* handler = DeviceHandler::existing())
            handler->destroy();
    }
    static DeviceHandler* handler() { return DeviceHandler::instance(); }
};

// Driver libraries loaded the way the core loads them; unloaded once the handler is gone.
class DriverTest : public InputTest {
protected:
    void TearDown() override {
        InputTest::TearDown();
        loader.freeAll();
    }
    DriverLoader loader;
};

} // namespace qvn::test
