#include "core/configadaptor/ComboBox.h"

#include "core/configadaptor/ValueUndo.h"

#include "core/configadaptor/PageLayout.h"
#include "core/configadaptor/ProfileFormat.h"
#include "gui/Component.h"
#include "gui/componentinterface/ComboBox.h"

namespace mvk::qvn::core::configadaptor::element {

ComboBox::ComboBox(int32_t id, std::string label, std::string tooltip, std::string* variable,
                   std::vector<std::string> items, Callback* callback)
    : Node(id, std::move(label), std::move(tooltip), callback), variable(variable),
      items(std::move(items)) {}

util::xml::Element ComboBox::writeProfile() const {
    if (variable == nullptr)
        return {};
    return ProfileFormat::makeItem(getId(), getLabel(), "text", *variable);
}

void ComboBox::readProfile(const util::xml::Element& element) {
    const util::xml::Element* item = findProfileItem(element);
    if (item == nullptr || variable == nullptr)
        return;
    ProfileFormat::readText(*item, *variable);
    refreshPages();
}

bool ComboBox::applyWidgetChange(const WidgetChange& change) {
    if (change.code != IndexChanged && change.code != ItemActivated)
        return false;
    if (!isFromOwnControl(change, "combobox") || variable == nullptr)
        return false;
    storeUserValue(variable, change.text);
    return true;
}

util::xml::Element ComboBox::pageLayout() const {
    util::xml::Element control = PageLayout::control("combobox", getId());
    for (const std::string& entry : items)
        control.addChild(util::xml::TagWithData("item", entry));
    PageLayout::tooltipped(control, getTooltip());
    return PageLayout::row(getLabel(), getTooltip(), std::move(control));
}

void ComboBox::showValue(gui::Component& control) const {
    auto* comboBox = gui::interfaceOf<gui::componentinterface::ComboBox>(&control);
    if (comboBox == nullptr)
        return;
    bool same = comboBox->getCount() == static_cast<int32_t>(items.size());
    for (int32_t i = 0; same && i < comboBox->getCount(); ++i)
        same = comboBox->getItemText(i) == items[static_cast<size_t>(i)];
    if (!same) {
        comboBox->clear();
        for (const std::string& entry : items)
            comboBox->insertItem(entry, -1);
    }
    if (variable != nullptr)
        comboBox->setCurrentText(*variable);
}

} // namespace mvk::qvn::core::configadaptor::element
