#include "unidevice/Control.h"

#include "unidevice/Device.h"
#include "unidevice/NumberText.h"

#include <algorithm>
#include <cmath>

namespace mvk::unidevice {

using util::xml::Element;

Control::Control(Device* device, uint32_t kind, double threshold)
    : kindBits(kind), movementThreshold(threshold), owner(device) {}

Control::~Control() {
    // A target may unbind itself while being told; work on a copy.
    const std::vector<ControlTarget*> told = targets;
    for (ControlTarget* target : told)
        target->controlDeleted(this);
}

Element Control::toXML() const {
    Element element = owner != nullptr ? owner->toXML() : util::xml::Tag("control");
    element.attribute("type") = typeName;
    element.attribute("index") = std::to_string(controlIndex);
    const std::string text =
        owner != nullptr ? owner->name() + ": " + descriptionText : descriptionText;
    element.addChild(util::xml::TagWithData("description", text));
    return element;
}

bool Control::matches(const Element& element) const {
    if (owner != nullptr && !owner->matches(element))
        return false;
    if (element.attribute("type") != typeName)
        return false;
    const std::string index = element.attribute("index");
    return index.empty() || readDecimal(index) == controlIndex;
}

double Control::value() const { return currentValue; }

void Control::destroy() { delete this; }

bool Control::hasFeedback() const { return false; }

void* Control::feedbackChannel() { return nullptr; }

bool Control::hasMoved() const { return std::fabs(previousValue - currentValue) > movementThreshold; }

double Control::change() const { return std::fabs(currentValue - previousValue); }

void Control::feed(double value) {
    previousValue = currentValue;
    currentValue = value;
}

void Control::reset() {
    previousValue = 0.0;
    currentValue = 0.0;
}

void Control::addTarget(ControlTarget* target) {
    if (target != nullptr)
        targets.push_back(target);
}

bool Control::removeTarget(ControlTarget* target) {
    const auto found = std::find(targets.begin(), targets.end(), target);
    if (found == targets.end())
        return false;
    targets.erase(found);
    return true;
}

ControlTarget* Control::target(int32_t index) const {
    if (index < 0 || index >= targetCount())
        return nullptr;
    return targets[static_cast<size_t>(index)];
}

Control* largestChange(const ControlList& candidates) {
    Control* best = nullptr;
    for (Control* candidate : candidates) {
        if (candidate == nullptr)
            continue;
        if (best == nullptr || candidate->change() > best->change())
            best = candidate;
    }
    return best;
}

} // namespace mvk::unidevice
