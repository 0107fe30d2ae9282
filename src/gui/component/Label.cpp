#include "gui/component/Label.h"

#include "gui/Attributes.h"

namespace mvk::gui::component {

namespace {

using componentinterface::FrameStyle;
using Alignment = Label::Alignment;

FrameStyle readFrame(const std::string& value) {
    if (value == "raised")
        return FrameStyle::Raised;
    if (value == "thin")
        return FrameStyle::Thin;
    if (value == "sunken")
        return FrameStyle::Sunken;
    return FrameStyle::None;
}

const char* frameName(FrameStyle style) {
    switch (style) {
    case FrameStyle::Raised:
        return "raised";
    case FrameStyle::Thin:
        return "thin";
    case FrameStyle::Sunken:
        return "sunken";
    default:
        return "";
    }
}

Alignment readAlignment(const std::string& value) {
    if (value == "top")
        return Alignment::Top;
    if (value == "bottom")
        return Alignment::Bottom;
    if (value == "left")
        return Alignment::Left;
    if (value == "right")
        return Alignment::Right;
    if (value == "center")
        return Alignment::Center;
    return Alignment::NotSet;
}

const char* alignmentName(Alignment alignment) {
    switch (alignment) {
    case Alignment::Top:
        return "top";
    case Alignment::Bottom:
        return "bottom";
    case Alignment::Left:
        return "left";
    case Alignment::Right:
        return "right";
    case Alignment::Center:
        return "center";
    default:
        return "";
    }
}

} // namespace

Label::Label(const util::xml::Element& element) : StdComponent("label", element) {
    if (!element.text().empty())
        setLabel(element.text());
    wrap = element.attribute("wrap") != "no";
    selectable = element.attribute("selectable") == "yes";
    hyperlinks = element.attribute("hyperlinks") == "yes";
    frameStyle = readFrame(element.attribute("style"));
    const Alignment vertical = readAlignment(element.attribute("valign"));
    if (vertical == Alignment::Top || vertical == Alignment::Bottom ||
        vertical == Alignment::Center)
        valign = vertical;
    const Alignment horizontal = readAlignment(element.attribute("halign"));
    if (horizontal == Alignment::Left || horizontal == Alignment::Right ||
        horizontal == Alignment::Center)
        halign = horizontal;
    Attributes::readText(element, "imagepath", imagePath);
}

util::xml::Element Label::writeXml() const {
    util::xml::Element element = StdComponent::writeXml();
    if (!wrap)
        element.attribute("wrap") = "no";
    if (selectable)
        element.attribute("selectable") = "yes";
    if (hyperlinks)
        element.attribute("hyperlinks") = "yes";
    if (frameStyle != FrameStyle::None)
        element.attribute("style") = frameName(frameStyle);
    if (valign != Alignment::NotSet)
        element.attribute("valign") = alignmentName(valign);
    if (halign != Alignment::NotSet)
        element.attribute("halign") = alignmentName(halign);
    if (!imagePath.empty())
        element.attribute("imagepath") = imagePath;
    return element;
}

} // namespace mvk::gui::component
