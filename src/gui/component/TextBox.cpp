#include "gui/component/TextBox.h"

#include "gui/Attributes.h"

namespace mvk::gui::component {

TextBox::TextBox(const util::xml::Element& element) : StdComponent("textbox", element) {
    editable = element.attribute("editable") != "no";
    Attributes::readText(element, "defaulttext", defaultText);
    text = defaultText;
}

util::xml::Element TextBox::writeXml() const {
    util::xml::Element element = StdComponent::writeXml();
    if (!editable)
        element.attribute("editable") = "no";
    if (!defaultText.empty())
        element.attribute("defaulttext") = defaultText;
    return element;
}

} // namespace mvk::gui::component
