#include "core/configadaptor/CheckBox.h"

#include "core/configadaptor/ValueUndo.h"

#include "core/configadaptor/PageLayout.h"
#include "core/configadaptor/ProfileFormat.h"
#include "gui/Component.h"
#include "gui/componentinterface/CheckBox.h"

namespace mvk::qvn::core::configadaptor::element {

CheckBox::CheckBox(int32_t id, std::string label, std::string tooltip, bool* variable,
                   Callback* callback)
    : Node(id, std::move(label), std::move(tooltip), callback), variable(variable) {}

util::xml::Element CheckBox::writeProfile() const {
    if (variable == nullptr)
        return {};
    return ProfileFormat::makeItem(getId(), getLabel(), "", *variable ? "1" : "0");
}

void CheckBox::readProfile(const util::xml::Element& element) {
    const util::xml::Element* item = findProfileItem(element);
    if (item == nullptr || variable == nullptr)
        return;
    ProfileFormat::readFlag(*item, *variable);
    refreshPages();
}

bool CheckBox::applyWidgetChange(const WidgetChange& change) {
    if (change.code != StateChanged || !isFromOwnControl(change, "checkbox") || variable == nullptr)
        return false;
    storeUserValue(variable, change.checked);
    return true;
}

util::xml::Element CheckBox::pageLayout() const {
    util::xml::Element control = PageLayout::control("checkbox", getId());
    control.attribute("defaultstate") = variable != nullptr && *variable ? "true" : "false";
    PageLayout::tooltipped(control, getTooltip());
    return PageLayout::row(getLabel(), getTooltip(), std::move(control));
}

void CheckBox::showValue(gui::Component& control) const {
    auto* checkBox = gui::interfaceOf<gui::componentinterface::CheckBox>(&control);
    if (checkBox != nullptr && variable != nullptr)
        checkBox->setChecked(*variable);
}

} // namespace mvk::qvn::core::configadaptor::element
