#pragma once
// A device whose controls are sampled from a source on demand: update() takes a new reading of
// every control, detection measures the movement since the baseline taken when it was prepared,
// so a slow push across many polls still counts.
#include "unidevice/Control.h"
#include "unidevice/Device.h"

#include <memory>
#include <string>
#include <vector>

namespace mvk::examples {

class SampledDevice : public unidevice::Device {
public:
    // Not registered: the driver library attaches it to the handler it was given.
    SampledDevice(const std::string& name, int32_t devindex) : Device(name, devindex, false) {}
    ~SampledDevice() override;

    int32_t controlCount() const override { return static_cast<int32_t>(controls.size()); }
    unidevice::Control* control(int32_t index) const override;
    bool update(uintptr_t param) override;
    bool prepareDetection(uintptr_t param) override;
    unidevice::Control* detect(uintptr_t param, int32_t flag) override;
    void reset() override;

protected:
    // The control's present reading.
    virtual double sample(int32_t controlIndex) const = 0;
    // False once the hardware is gone.
    virtual bool isConnected() const { return true; }

    unidevice::Control* addControl(const std::string& type, int32_t index,
                                   const std::string& description, uint32_t kind,
                                   double threshold);
    // Destroys the controls, the newest first; derived destructors call it while they can
    // still answer sample().
    void destroyControls();

private:
    std::vector<unidevice::Control*> controls;
};

} // namespace mvk::examples
