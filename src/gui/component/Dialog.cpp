#include "gui/component/Dialog.h"

#include "gui/Attributes.h"

namespace mvk::gui::component {

Dialog::Dialog(const util::xml::Element& element) : StdComponent("dialog", element) {
    box.read(element);
    Attributes::readText(element, "icon", icon);
    topmost = element.attribute("topmost") == "yes";
    titlebar = element.attribute("titlebar") != "no";
    closeButton = element.attribute("closebtn") != "no";
    minimizeButton = element.attribute("minimizebtn") == "yes";
    maximizeButton = element.attribute("maximizebtn") == "yes";
    modal = element.attribute("modal") == "yes";
    buildChildren(element);
}

util::xml::Element Dialog::writeXml() const {
    util::xml::Element element = StdComponent::writeXml();
    box.write(element);
    if (!icon.empty())
        element.attribute("icon") = icon;
    if (topmost)
        element.attribute("topmost") = "yes";
    if (!titlebar)
        element.attribute("titlebar") = "no";
    if (!closeButton)
        element.attribute("closebtn") = "no";
    if (minimizeButton)
        element.attribute("minimizebtn") = "yes";
    if (maximizeButton)
        element.attribute("maximizebtn") = "yes";
    if (modal)
        element.attribute("modal") = "yes";
    writeChildren(element);
    return element;
}

} // namespace mvk::gui::component
