#include "gui/background/Gradient_Linear.h"

#include "gui/Attributes.h"

#include <sstream>

namespace mvk::gui::background {

namespace {

using util::xml::Element;

Gradient_Linear::Stop readStop(const Element& element) {
    Gradient_Linear::Stop stop;
    Attributes::readReal(element, "pos", stop.position);
    Attributes::readInt(element, "r", stop.red);
    Attributes::readInt(element, "g", stop.green);
    Attributes::readInt(element, "b", stop.blue);
    Attributes::readInt(element, "a", stop.alpha);
    return stop;
}

} // namespace

Gradient_Linear::Gradient_Linear(const Element& element) {
    Attributes::readReal(element, "startx", startX);
    Attributes::readReal(element, "starty", startY);
    Attributes::readReal(element, "endx", endX);
    Attributes::readReal(element, "endy", endY);
    const std::string spreadName = element.attribute("spread");
    spread = spreadName == "repeat"   ? Spread::Repeat
             : spreadName == "mirror" ? Spread::Reflect
                                      : Spread::Pad;
    absolute = element.attribute("coordinates") == "absolute";
    for (int i = 0; i < element.childCount(); ++i) {
        const Element& child = element.child(i);
        if (child.type() == Element::KindTag && child.name() == "color")
            stops.push_back(readStop(child));
    }
}

Element Gradient_Linear::writeXml() const {
    util::xml::Tag element("background");
    element.attribute("type") = "gradient-linear";
    element.attribute("startx") = Attributes::realText(startX);
    element.attribute("starty") = Attributes::realText(startY);
    element.attribute("endx") = Attributes::realText(endX);
    element.attribute("endy") = Attributes::realText(endY);
    if (spread != Spread::Pad)
        element.attribute("spread") = spread == Spread::Repeat ? "repeat" : "mirror";
    if (absolute)
        element.attribute("coordinates") = "absolute";
    for (const Stop& stop : stops) {
        util::xml::Tag color("color");
        color.attribute("pos") = Attributes::realText(stop.position);
        color.attribute("r") = std::to_string(stop.red);
        color.attribute("g") = std::to_string(stop.green);
        color.attribute("b") = std::to_string(stop.blue);
        color.attribute("a") = std::to_string(stop.alpha);
        element.addChild(color);
    }
    return element;
}

} // namespace mvk::gui::background
