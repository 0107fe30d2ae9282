#include "core/configadaptor/Spinner_Int.h"

#include "core/configadaptor/ValueUndo.h"

#include "core/configadaptor/PageLayout.h"
#include "core/configadaptor/ProfileFormat.h"
#include "gui/Component.h"
#include "gui/componentinterface/Spinner.h"

namespace mvk::qvn::core::configadaptor::element {

Spinner_Int::Spinner_Int(int32_t id, std::string label, std::string tooltip, int32_t* variable,
                         int32_t minimum, int32_t maximum, int32_t step, int32_t triggerLength,
                         Callback* callback)
    : Node(id, std::move(label), std::move(tooltip), callback), variable(variable),
      minimum(minimum), maximum(maximum), step(step), triggerLength(triggerLength) {}

util::xml::Element Spinner_Int::writeProfile() const {
    if (variable == nullptr)
        return {};
    return ProfileFormat::makeItem(getId(), getLabel(), "", std::to_string(*variable));
}

void Spinner_Int::readProfile(const util::xml::Element& element) {
    const util::xml::Element* item = findProfileItem(element);
    if (item == nullptr || variable == nullptr)
        return;
    ProfileFormat::readInteger(*item, *variable);
    refreshPages();
}

bool Spinner_Int::applyWidgetChange(const WidgetChange& change) {
    if (change.code != ValueCommitted && change.code != ValueChanged)
        return false;
    if (!isFromOwnControl(change, "spinner") || variable == nullptr)
        return false;
    storeUserValue(variable, change.rounded);
    return true;
}

util::xml::Element Spinner_Int::pageLayout() const {
    util::xml::Element control = PageLayout::control("spinner", getId());
    control.attribute("decimals") = PageLayout::number(0);
    control.attribute("min") = PageLayout::number(minimum);
    control.attribute("max") = PageLayout::number(maximum);
    control.attribute("step") = PageLayout::number(step);
    control.attribute("triggerlength") = PageLayout::number(triggerLength);
    control.attribute("defaultvalue") = PageLayout::number(variable != nullptr ? *variable : 0);
    PageLayout::tooltipped(control, getTooltip());
    return PageLayout::row(getLabel(), getTooltip(), std::move(control));
}

void Spinner_Int::showValue(gui::Component& control) const {
    auto* spinner = gui::interfaceOf<gui::componentinterface::Spinner>(&control);
    if (spinner != nullptr && variable != nullptr)
        spinner->setValue(*variable);
}

} // namespace mvk::qvn::core::configadaptor::element
