#include "core/configadaptor/Spinner.h"

#include "core/configadaptor/ValueUndo.h"

#include "core/configadaptor/PageLayout.h"
#include "core/configadaptor/ProfileFormat.h"
#include "gui/Component.h"
#include "gui/componentinterface/Spinner.h"

namespace mvk::qvn::core::configadaptor::element {

Spinner::Spinner(int32_t id, std::string label, std::string tooltip, double* variable,
                 double minimum, double maximum, double step, int32_t triggerLength,
                 Callback* callback)
    : Node(id, std::move(label), std::move(tooltip), callback), variable(variable),
      minimum(minimum), maximum(maximum), step(step), triggerLength(triggerLength) {}

util::xml::Element Spinner::writeProfile() const {
    if (variable == nullptr)
        return {};
    return ProfileFormat::makeItem(getId(), getLabel(), "blob",
                                   ProfileFormat::encodeBlob(*variable));
}

void Spinner::readProfile(const util::xml::Element& element) {
    const util::xml::Element* item = findProfileItem(element);
    if (item == nullptr || variable == nullptr)
        return;
    ProfileFormat::readDouble(*item, *variable);
    refreshPages();
}

bool Spinner::applyWidgetChange(const WidgetChange& change) {
    if (change.code != ValueCommitted || !isFromOwnControl(change, "spinner") ||
        variable == nullptr)
        return false;
    storeUserValue(variable, change.value);
    return true;
}

util::xml::Element Spinner::pageLayout() const {
    util::xml::Element control = PageLayout::control("spinner", getId());
    control.attribute("min") = PageLayout::number(minimum);
    control.attribute("max") = PageLayout::number(maximum);
    control.attribute("step") = PageLayout::number(step);
    control.attribute("triggerlength") = PageLayout::number(triggerLength);
    control.attribute("defaultvalue") = PageLayout::number(variable != nullptr ? *variable : 0.0);
    PageLayout::tooltipped(control, getTooltip());
    return PageLayout::row(getLabel(), getTooltip(), std::move(control));
}

void Spinner::showValue(gui::Component& control) const {
    auto* spinner = gui::interfaceOf<gui::componentinterface::Spinner>(&control);
    if (spinner != nullptr && variable != nullptr)
        spinner->setValue(*variable);
}

} // namespace mvk::qvn::core::configadaptor::element
