#include "core/configadaptor/ComboBox.h"

#include "core/configadaptor/ProfileFormat.h"

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
    *variable = change.text;
    announceUserChange();
    return true;
}

} // namespace mvk::qvn::core::configadaptor::element
