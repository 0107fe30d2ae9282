#include "LearningDevice.h"

#include "unidevice/DeviceHandler.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace mvk::examples {

using unidevice::Control;
using unidevice::ControlKind::Binary;

namespace {

double thresholdFor(uint32_t kind) { return kind == Binary ? ButtonThreshold : AxisThreshold; }

bool readIndex(const std::string& text, int32_t& index) {
    if (text.empty())
        return false;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || value < INT32_MIN || value > INT32_MAX)
        return false;
    index = static_cast<int32_t>(value);
    return true;
}

} // namespace

LearningDevice::LearningDevice(const std::string& name, int32_t devindex,
                               std::shared_ptr<LatestValues> inbox)
    : Device(name, devindex, false), values(std::move(inbox)) {}

LearningDevice::~LearningDevice() {
    while (!controls.empty()) {
        Control* last = controls.back();
        controls.pop_back();
        last->destroy();
    }
}

Control* LearningDevice::control(int32_t index) const {
    if (index < 0 || index >= controlCount())
        return nullptr;
    return controls[static_cast<size_t>(index)];
}

void LearningDevice::learn() {
    for (const SlotInfo& info : values->learnedSince(controls.size())) {
        auto* made = new Control(this, info.kind, thresholdFor(info.kind));
        made->setType(info.type);
        made->setIndex(info.index);
        made->setDescription(info.description);
        controls.push_back(made);
    }
}

void LearningDevice::sample() {
    values->read(readings);
    const bool live = isConnected();
    for (size_t i = 0; i < controls.size() && i < readings.size(); ++i) {
        Control* control = controls[i];
        if (control->kind() != readings[i].kind) {
            control->setKind(readings[i].kind);
            control->setThreshold(thresholdFor(readings[i].kind));
        }
        double value = live ? readings[i].value : 0.0;
        // A button rests at 0 and is pressed up to 1, whatever the sender's range.
        if (readings[i].kind == Binary)
            value = std::clamp(value, 0.0, 1.0);
        control->setCurrent(value);
    }
}

bool LearningDevice::update(uintptr_t) {
    learn();
    for (Control* control : controls)
        control->setPrevious(control->current());
    sample();
    return true;
}

Control* LearningDevice::findControl(const util::xml::Element& element) {
    learn();
    if (Control* known = Device::findControl(element))
        return known;
    // Only a binding that names this very device may add to it.
    if (!element.hasAttribute("device") || element.attribute("device") != name() ||
        !matches(element))
        return nullptr;
    SlotInfo info;
    int32_t index = 0;
    if (!readIndex(element.attribute("index"), index) ||
        !describe(element.attribute("type"), index, info))
        return nullptr;
    if (values->reserve(info) < 0)
        return nullptr;
    learn();
    return Device::findControl(element);
}

bool LearningDevice::prepareDetection(uintptr_t) {
    if (!isConnected())
        return false;
    learn();
    sample();
    for (Control* control : controls)
        control->setPrevious(control->current());
    return true;
}

Control* LearningDevice::detect(uintptr_t, int32_t) {
    if (!isConnected())
        return nullptr;
    // A control that first appears now starts from rest: it appeared because it was moved.
    learn();
    sample();
    unidevice::ControlList moved;
    const unidevice::DeviceHandler* owner = handler();
    for (Control* candidate : controls)
        if (candidate->hasMoved() && (owner == nullptr || !owner->isExcluded(candidate)))
            moved.push_back(candidate);
    return unidevice::largestChange(moved);
}

void LearningDevice::reset() {
    for (Control* control : controls)
        control->reset();
}

} // namespace mvk::examples
