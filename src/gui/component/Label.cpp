#include "gui/component/Label.h"

#include "gui/Attributes.h"
#include "gui/component/BoxSettings.h"

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

} // namespace

Label::Label(const util::xml::Element& element) : StdComponent("label", element) {
    if (!element.text().empty())
        setLabel(element.text());
    wrap = element.attribute("wrap") != "no";
    selectable = element.attribute("selectable") == "yes";
    hyperlinks = element.attribute("hyperlinks") == "yes";
    frameStyle = readFrame(element.attribute("style"));
    valign = BoxSettings::readAlignment(element.attribute("valign"), true);
    halign = BoxSettings::readAlignment(element.attribute("halign"), false);
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
        element.attribute("valign") = BoxSettings::alignmentName(valign);
    if (halign != Alignment::NotSet)
        element.attribute("halign") = BoxSettings::alignmentName(halign);
    if (!imagePath.empty())
        element.attribute("imagepath") = imagePath;
    return element;
}

} // namespace mvk::gui::component
