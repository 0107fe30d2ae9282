#pragma once
// A device whose controls appear as input first names them. An input thread of the driver fills
// the device's LatestValues; the host's poll only reads them. While its source is away the
// device stays, resting, so whatever is bound to it stays bound until the source comes back.
#include "LatestValues.h"
#include "unidevice/Control.h"
#include "unidevice/Device.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace mvk::examples {

class LearningDevice : public unidevice::Device {
public:
    // Not registered: the driver attaches it to the handler it was given.
    LearningDevice(const std::string& name, int32_t devindex, std::shared_ptr<LatestValues> inbox);
    ~LearningDevice() override;

    int32_t controlCount() const override { return static_cast<int32_t>(controls.size()); }
    unidevice::Control* control(int32_t index) const override;
    bool update(uintptr_t param) override;
    // A binding that names this device and a control it could have, but that input has not
    // named yet, makes that control now (resting), so a profile binds before the input arrives.
    unidevice::Control* findControl(const util::xml::Element& element) override;
    bool prepareDetection(uintptr_t param) override;
    unidevice::Control* detect(uintptr_t param, int32_t flag) override;
    void reset() override;

    bool isConnected() const { return connected.load(std::memory_order_acquire); }
    void setConnected(bool now) { connected.store(now, std::memory_order_release); }
    const std::shared_ptr<LatestValues>& inbox() const { return values; }

protected:
    // The control a binding's type and index would name on this device; false for names this
    // kind of device never makes.
    virtual bool describe(const std::string& type, int32_t index, SlotInfo& info) const = 0;

private:
    // Makes the controls of slots learned since the last call.
    void learn();
    // Reads every slot; controls of a source that is away read as resting.
    void sample();

    std::shared_ptr<LatestValues> values;
    std::vector<unidevice::Control*> controls;
    std::vector<SlotReading> readings;
    std::atomic<bool> connected{true};
};

// Movement thresholds for detection: a knob or fader must travel a fifth of its range, a button
// only has to be pressed.
constexpr double AxisThreshold = 0.2;
constexpr double ButtonThreshold = 0.01;

} // namespace mvk::examples
