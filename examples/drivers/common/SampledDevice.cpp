#include "SampledDevice.h"

#include "unidevice/DeviceHandler.h"

namespace mvk::examples {

using unidevice::Control;

SampledDevice::~SampledDevice() { destroyControls(); }

void SampledDevice::destroyControls() {
    while (!controls.empty()) {
        Control* last = controls.back();
        controls.pop_back();
        last->destroy();
    }
}

Control* SampledDevice::control(int32_t index) const {
    if (index < 0 || index >= controlCount())
        return nullptr;
    return controls[static_cast<size_t>(index)];
}

Control* SampledDevice::addControl(const std::string& type, int32_t index,
                                   const std::string& description, uint32_t kind,
                                   double threshold) {
    auto* made = new Control(this, kind, threshold);
    made->setType(type);
    made->setIndex(index);
    made->setDescription(description);
    controls.push_back(made);
    return made;
}

bool SampledDevice::update(uintptr_t) {
    for (size_t i = 0; i < controls.size(); ++i)
        controls[i]->feed(sample(static_cast<int32_t>(i)));
    return true;
}

bool SampledDevice::prepareDetection(uintptr_t) {
    if (!isConnected())
        return false;
    for (size_t i = 0; i < controls.size(); ++i) {
        const double now = sample(static_cast<int32_t>(i));
        controls[i]->setPrevious(now);
        controls[i]->setCurrent(now);
    }
    return true;
}

Control* SampledDevice::detect(uintptr_t, int32_t) {
    // Controls of hardware that went away drop to rest; that is no movement of the user's.
    if (!isConnected())
        return nullptr;
    unidevice::ControlList moved;
    const unidevice::DeviceHandler* owner = handler();
    for (size_t i = 0; i < controls.size(); ++i) {
        Control* candidate = controls[i];
        candidate->setCurrent(sample(static_cast<int32_t>(i)));
        if (candidate->hasMoved() && (owner == nullptr || !owner->isExcluded(candidate)))
            moved.push_back(candidate);
    }
    return unidevice::largestChange(moved);
}

void SampledDevice::reset() {
    for (Control* control : controls)
        control->reset();
}

} // namespace mvk::examples
