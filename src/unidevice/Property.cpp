#include "unidevice/Property.h"

#include "unidevice/Control.h"
#include "unidevice/NumberText.h"

#include <cmath>

namespace mvk::unidevice {

using util::xml::Element;

namespace {

const char* const parameterNames[] = {"multiplier", "exponent", "deadzone", "offset"};

} // namespace

Property::Property(std::string name, uint32_t accepted)
    : propertyName(std::move(name)), acceptedKinds(accepted) {}

Property::~Property() {
    if (boundControl != nullptr)
        boundControl->removeTarget(this);
}

void Property::controlDeleted(Control* control) {
    if (control == boundControl)
        boundControl = nullptr;
}

double Property::value() const {
    const double raw = boundControl != nullptr ? boundControl->value() : 0.0;
    return response(raw, multiplierValue, exponentValue, deadzoneValue, offsetValue);
}

void Property::destroy() { delete this; }

double Property::response(double raw, double multiplier, double exponent, double deadzone,
                          double offset) {
    const double sign = raw < 0.0 ? -1.0 : 1.0;
    double beyond = std::fabs(raw) - deadzone;
    if (beyond < 0.0)
        beyond = 0.0;
    const double stretched = beyond / (1.0 - deadzone);
    // A linear response is the common case, and is read for every input of every instance on
    // every frame of a take; x to the power of exactly one is x itself.
    const double shaped = exponent == 1.0 ? stretched : std::pow(stretched, exponent);
    return shaped * sign * multiplier + offset;
}

uint32_t Property::bind(Control* control) {
    if (boundControl != nullptr)
        boundControl->removeTarget(this);
    boundControl = control;
    if (control == nullptr)
        return Unbound;
    control->addTarget(this);
    return acceptedKinds & control->kind();
}

Element Property::toXML() const {
    Element element = util::xml::Tag("property");
    element.attribute("name") = propertyName;
    const double values[] = {multiplierValue, exponentValue, deadzoneValue, offsetValue};
    for (size_t i = 0; i < 4; ++i)
        element.addChild(util::xml::TagWithData(parameterNames[i], formatNumber(values[i])));
    return element;
}

void Property::loadSettings(const Element& element) {
    double* targets[] = {&multiplierValue, &exponentValue, &deadzoneValue, &offsetValue};
    for (size_t i = 0; i < 4; ++i) {
        const Element& child = element.child(parameterNames[i]);
        if (child.isEmpty())
            continue;
        readNumber(child.text(), *targets[i]);
    }
}

} // namespace mvk::unidevice
