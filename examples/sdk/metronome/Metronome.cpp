// A driver library built on its own against an installed Quorvane: one device, a metronome at
// 120 beats per minute, with a button that is down for the first tenth of every beat and an
// axis that swings from -1 to 1 and back once per two beats. Bind them like any controller's.
#include "unidevice/Device.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/Driver.h"
#include "unidevice/DriverLibrary.h"

#include <chrono>
#include <cmath>
#include <cstdio>

using namespace mvk::unidevice;

namespace {

constexpr double BeatSeconds = 0.5;
constexpr double Pi = 3.14159265358979323846;

class MetronomeDevice : public Device {
public:
    // Not registered with the handler singleton: the library's singletons are its own copies.
    MetronomeDevice() : Device("Metronome", 0, false), start(std::chrono::steady_clock::now()) {
        beat = makeControl("button", 0, "Beat", ControlKind::Binary, 0.5);
        swing = makeControl("axis", 0, "Swing", ControlKind::Finite, 0.25);
    }
    ~MetronomeDevice() override {
        swing->destroy();
        beat->destroy();
    }

    int32_t controlCount() const override { return 2; }
    Control* control(int32_t index) const override {
        return index == 0 ? beat : index == 1 ? swing : nullptr;
    }
    bool update(uintptr_t) override {
        beat->feed(beatValue());
        swing->feed(swingValue());
        return true;
    }
    bool prepareDetection(uintptr_t) override {
        for (Control* each : {beat, swing}) {
            const double now = sample(each);
            each->setPrevious(now);
            each->setCurrent(now);
        }
        return true;
    }
    Control* detect(uintptr_t, int32_t) override {
        ControlList moved;
        const DeviceHandler* owner = handler();
        for (Control* each : {beat, swing}) {
            each->setCurrent(sample(each));
            if (each->hasMoved() && (owner == nullptr || !owner->isExcluded(each)))
                moved.push_back(each);
        }
        return largestChange(moved);
    }
    void reset() override {
        beat->reset();
        swing->reset();
    }

private:
    Control* makeControl(const char* type, int32_t index, const char* description, uint32_t kind,
                         double threshold) {
        auto* made = new Control(this, kind, threshold);
        made->setType(type);
        made->setIndex(index);
        made->setDescription(description);
        return made;
    }
    double beats() const {
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        return elapsed.count() / BeatSeconds;
    }
    double beatValue() const { return beats() - std::floor(beats()) < 0.1 ? 1.0 : 0.0; }
    double swingValue() const { return std::sin(beats() * Pi); }
    double sample(const Control* which) const { return which == beat ? beatValue() : swingValue(); }

    Control* beat = nullptr;
    Control* swing = nullptr;
    std::chrono::steady_clock::time_point start;
};

class MetronomeDriver : public Driver {
public:
    explicit MetronomeDriver(DeviceHandler* handler) : Driver("metronome", handler) {}

    bool update() override { return updateDevices(0); }
    int32_t prepareDetection() override { return prepareDevices(0); }
    Control* detect() override { return detectAmongDevices(0); }
    bool addDevice(Device* device) override { return appendToDevices(device); }
    bool removeDevice(Device* device) override { return eraseFromDevices(device); }
    Device* device(int32_t index) const override { return deviceAt(index); }
    int32_t deviceCount() const override { return static_cast<int32_t>(devices.size()); }
};

} // namespace

extern "C" __attribute__((visibility("default"))) int32_t getVersion() {
    return DriverLibraryVersion;
}

// The handler owns what is made here and destroys it before the library is unloaded.
extern "C" __attribute__((visibility("default"))) int32_t loadDevices(DeviceHandler* handler,
                                                                      const DriverContext*) {
    if (handler == nullptr)
        return 1;
    auto* driver = new MetronomeDriver(handler);
    auto* device = new MetronomeDevice();
    device->attachTo(-1, handler);
    driver->addDevice(device);
    std::fprintf(stderr, "metronome: device %d of %d in the input layer\n",
                 handler->deviceIndex(device), handler->deviceCount());
    return 0;
}
