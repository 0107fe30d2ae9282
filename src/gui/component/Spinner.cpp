#include "gui/component/Spinner.h"

#include "gui/Attributes.h"

#include <cmath>
#include <limits>
#include <sstream>

namespace mvk::gui::component {

Spinner::Spinner(const util::xml::Element& element) : StdComponent("spinner", element) {
    Attributes::readReal(element, "defaultvalue", defaultValue);
    Attributes::readReal(element, "min", minimum);
    Attributes::readReal(element, "max", maximum);
    Attributes::readReal(element, "step", step);
    Attributes::readInt(element, "decimals", decimals);
    Attributes::readInt(element, "triggerlength", triggerLength);
    value = defaultValue;
}

int32_t Spinner::getValueRounded() const {
    const double shifted = value + 0.4999999;
    if (!std::isfinite(shifted))
        return 0;
    constexpr double lowest = std::numeric_limits<int32_t>::min();
    constexpr double highest = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(shifted, lowest, highest));
}

util::xml::Element Spinner::writeXml() const {
    util::xml::Element element = StdComponent::writeXml();
    if (defaultValue != 0)
        element.attribute("defaultvalue") = Attributes::realText(defaultValue);
    if (minimum != 0)
        element.attribute("min") = Attributes::realText(minimum);
    if (maximum != 1.0)
        element.attribute("max") = Attributes::realText(maximum);
    if (step != 0.01)
        element.attribute("step") = Attributes::realText(step);
    if (decimals != 4)
        element.attribute("decimals") = std::to_string(decimals);
    if (triggerLength != 1)
        element.attribute("triggerlength") = std::to_string(triggerLength);
    return element;
}

} // namespace mvk::gui::component
