#pragma once
// The device "TrinaryEmulator": trinary controls built on demand from two other controls, so
// that two buttons or keys can drive an input that wants -1, 0 or +1.
#include "unidevice/Device.h"
#include "unidevice/EmulatedTControl.h"
#include "util/DynamicObject.h"

#include <vector>

namespace mvk::unidevice {

class EmulatedTrinaryDevice : public Device, public util::DynamicCreator {
public:
    static constexpr const char* DeviceName = "TrinaryEmulator";

    // Joins the device handler singleton and, when it has one, the driver "dummydriver".
    EmulatedTrinaryDevice();
    // Destroys its controls, the newest first.
    ~EmulatedTrinaryDevice() override;

    // The emulated control of the two sources: an existing one that matches, or a new one.
    // Null when either source is null.
    Control* createControl(Control* positive, Control* negative);

    int32_t controlCount() const override;
    Control* control(int32_t index) const override;
    // An existing control that matches, else one rebuilt from the element's two sources.
    Control* findControl(const util::xml::Element& element) override;
    bool update(uintptr_t param) override;
    // Takes current as previous; emulated controls are never offered for detection.
    bool prepareDetection(uintptr_t param) override;
    Control* detect(uintptr_t param, int32_t flag) override;
    void reset() override;

private:
    static std::string describe(const Control* source);
    Control* rebuild(const util::xml::Element& element);

    std::vector<EmulatedTControl*> controls;
};

} // namespace mvk::unidevice
