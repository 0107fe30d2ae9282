#include "unidevice/EmulatedTControl.h"

#include "unidevice/EmulatedTrinaryDevice.h"

namespace mvk::unidevice {

using util::xml::Element;

EmulatedTControl::EmulatedTControl(EmulatedTrinaryDevice* device, Control* positive,
                                   Control* negative)
    : Control(device, ControlKind::Trinary, 0.1), positiveSource(positive),
      negativeSource(negative) {
    setType("control");
    setIndex(0);
    if (positiveSource != nullptr)
        positiveSource->addTarget(this);
    if (negativeSource != nullptr)
        negativeSource->addTarget(this);
}

EmulatedTControl::~EmulatedTControl() {
    if (positiveSource != nullptr)
        positiveSource->removeTarget(this);
    if (negativeSource != nullptr)
        negativeSource->removeTarget(this);
}

Element EmulatedTControl::toXML() const {
    Element element = Control::toXML();
    if (positiveSource != nullptr) {
        Element source = positiveSource->toXML();
        source.attribute("te_direction") = "positive";
        element.addChild(std::move(source));
    }
    if (negativeSource != nullptr) {
        Element source = negativeSource->toXML();
        source.attribute("te_direction") = "negative";
        element.addChild(std::move(source));
    }
    return element;
}

bool EmulatedTControl::matches(const Element& element) const {
    if (positiveSource == nullptr || negativeSource == nullptr)
        return false;
    if (!Control::matches(element))
        return false;
    return matchesSource(element.child("control", 0)) && matchesSource(element.child("control", 1));
}

bool EmulatedTControl::matchesSource(const Element& child) const {
    const std::string direction = child.attribute("te_direction");
    if (direction == "positive")
        return positiveSource->matches(child);
    if (direction == "negative")
        return negativeSource->matches(child);
    return false;
}

double EmulatedTControl::value() const {
    if (positiveSource == nullptr || negativeSource == nullptr)
        return 0.0;
    return positiveSource->value() - negativeSource->value();
}

void EmulatedTControl::controlDeleted(Control* control) {
    // The same control may drive both directions; forget it wherever it appears.
    if (control == positiveSource)
        positiveSource = nullptr;
    if (control == negativeSource)
        negativeSource = nullptr;
}

} // namespace mvk::unidevice
