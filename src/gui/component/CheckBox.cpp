#include "gui/component/CheckBox.h"

#include "gui/Attributes.h"

namespace mvk::gui::component {

CheckBox::CheckBox(const util::xml::Element& element) : StdComponent("checkbox", element) {
    tristate = Attributes::isOneOf(element, "tristate", {"yes", "true"});
    if (Attributes::isOneOf(element, "defaultstate", {"true", "yes", "1"}))
        defaultState = Checked;
    else if (element.attribute("defaultstate") == "undetermined")
        defaultState = PartlyChecked;
    state = defaultState;
    Attributes::readInt(element, "paintgroup", paintGroup);
}

void CheckBox::setState(int32_t value) {
    if (value == Unchecked || value == Checked || value == PartlyChecked)
        state = value;
}

util::xml::Element CheckBox::writeXml() const {
    util::xml::Element element = StdComponent::writeXml();
    if (tristate)
        element.attribute("tristate") = "yes";
    if (defaultState == Checked)
        element.attribute("defaultstate") = "true";
    else if (defaultState == PartlyChecked)
        element.attribute("defaultstate") = "undetermined";
    if (paintGroup != -1)
        element.attribute("paintgroup") = std::to_string(paintGroup);
    return element;
}

} // namespace mvk::gui::component
