#include "gui/background/Color.h"

#include "gui/Attributes.h"

namespace mvk::gui::background {

Color::Color(const util::xml::Element& element) {
    Attributes::readInt(element, "r", red);
    Attributes::readInt(element, "g", green);
    Attributes::readInt(element, "b", blue);
    Attributes::readInt(element, "a", alpha);
}

util::xml::Element Color::writeXml() const {
    util::xml::Tag element("background");
    element.attribute("type") = "color";
    element.attribute("r") = std::to_string(red);
    element.attribute("g") = std::to_string(green);
    element.attribute("b") = std::to_string(blue);
    element.attribute("a") = std::to_string(alpha);
    return element;
}

} // namespace mvk::gui::background
