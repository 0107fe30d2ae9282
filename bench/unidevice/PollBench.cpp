// One full poll of the input layer as a recorded frame does it: every driver updates its
// devices, then every bound property's value is read through its response curve.
#include "unidevice/Control.h"
#include "unidevice/Device.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/Property.h"
#include "unidevice/PropertyHandler.h"
#include "unidevice/WinDriver.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

using namespace mvk::unidevice;

// A device whose controls take a new reading on every update, as a polled controller does.
class PolledDevice : public Device {
public:
    PolledDevice(int32_t devindex, int controls) : Device("Bench Pad", devindex) {
        for (int i = 0; i < controls; ++i) {
            auto control = std::make_unique<Control>(this, ControlKind::Finite, 0.25);
            control->setType("axis");
            control->setIndex(i);
            owned.push_back(std::move(control));
        }
    }
    int32_t controlCount() const override { return static_cast<int32_t>(owned.size()); }
    Control* control(int32_t index) const override { return owned[static_cast<size_t>(index)].get(); }
    bool update(uintptr_t) override {
        ++tick;
        for (size_t i = 0; i < owned.size(); ++i)
            owned[i]->feed(std::sin(0.01 * static_cast<double>(tick + i)));
        return true;
    }
    bool prepareDetection(uintptr_t) override { return true; }
    Control* detect(uintptr_t, int32_t) override { return nullptr; }
    void reset() override {}

private:
    std::vector<std::unique_ptr<Control>> owned;
    uint64_t tick = 0;
};

void FullPoll(benchmark::State& state) {
    constexpr int Devices = 16;
    constexpr int ControlsPerDevice = 32;
    constexpr int BoundProperties = 200;
    auto* driver = new WinDriver();
    for (int d = 0; d < Devices; ++d)
        driver->addDevice(new PolledDevice(d, ControlsPerDevice));
    auto* properties = new PropertyHandler();
    std::vector<Property*> bound;
    for (int p = 0; p < BoundProperties; ++p) {
        Property* property = properties->getOrCreate("input " + std::to_string(p), ControlKind::Any);
        property->setExponent(1.0 + (p % 3));
        property->bind(DeviceHandler::instance()->device(p % Devices)->control((p * 7) % ControlsPerDevice));
        bound.push_back(property);
    }
    for (auto _ : state) {
        DeviceHandler::instance()->updateAll();
        double sum = 0.0;
        for (const Property* property : bound)
            sum += property->value();
        benchmark::DoNotOptimize(sum);
    }
    properties->destroy();
    DeviceHandler::instance()->destroy();
}
BENCHMARK(FullPoll)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
