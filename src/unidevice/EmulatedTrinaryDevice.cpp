#include "unidevice/EmulatedTrinaryDevice.h"

#include "unidevice/DeviceHandler.h"
#include "unidevice/Driver.h"

namespace mvk::unidevice {

using util::xml::Element;

EmulatedTrinaryDevice::EmulatedTrinaryDevice() : Device(DeviceName, 0, true) {
    if (Driver* dummy = handler() != nullptr ? handler()->driver("dummydriver") : nullptr)
        dummy->addDevice(this);
}

EmulatedTrinaryDevice::~EmulatedTrinaryDevice() {
    while (!controls.empty()) {
        EmulatedTControl* last = controls.back();
        controls.pop_back();
        last->destroy();
    }
}

Control* EmulatedTrinaryDevice::createControl(Control* positive, Control* negative) {
    if (positive == nullptr || negative == nullptr)
        return nullptr;
    auto* made = new EmulatedTControl(this, positive, negative);
    const Element binding = made->toXML();
    for (EmulatedTControl* existing : controls) {
        if (existing->matches(binding)) {
            made->destroy();
            return existing;
        }
    }
    made->setDescription("emulated control (" + describe(positive) + ", " + describe(negative) +
                         ")");
    controls.push_back(made);
    return made;
}

std::string EmulatedTrinaryDevice::describe(const Control* source) {
    std::string text;
    if (const Device* device = source->device()) {
        text = device->name();
        if (device->devindex() != 0)
            text += "(" + std::to_string(device->devindex()) + ")";
        text += ":";
    }
    return text + source->description();
}

int32_t EmulatedTrinaryDevice::controlCount() const {
    return static_cast<int32_t>(controls.size());
}

Control* EmulatedTrinaryDevice::control(int32_t index) const {
    if (index < 0 || index >= controlCount())
        return nullptr;
    return controls[static_cast<size_t>(index)];
}

Control* EmulatedTrinaryDevice::findControl(const Element& element) {
    if (Control* existing = Device::findControl(element))
        return existing;
    return rebuild(element);
}

Control* EmulatedTrinaryDevice::rebuild(const Element& element) {
    const Element& first = element.child("control", 0);
    const Element& second = element.child("control", 1);
    if (first.isEmpty() || second.isEmpty())
        return nullptr;
    DeviceHandler* lookup = handler() != nullptr ? handler() : DeviceHandler::instance();
    Control* positive = lookup->findControl(first);
    Control* negative = lookup->findControl(second);
    if (first.attribute("te_direction") == "negative")
        std::swap(positive, negative);
    return createControl(positive, negative);
}

bool EmulatedTrinaryDevice::update(uintptr_t) { return true; }

bool EmulatedTrinaryDevice::prepareDetection(uintptr_t) {
    for (EmulatedTControl* control : controls)
        control->setPrevious(control->current());
    return false;
}

Control* EmulatedTrinaryDevice::detect(uintptr_t, int32_t) { return nullptr; }

void EmulatedTrinaryDevice::reset() {
    for (EmulatedTControl* control : controls)
        control->reset();
}

} // namespace mvk::unidevice
