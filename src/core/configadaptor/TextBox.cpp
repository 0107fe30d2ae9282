#include "core/configadaptor/TextBox.h"

#include "core/configadaptor/ProfileFormat.h"

namespace mvk::qvn::core::configadaptor::element {

TextBox::TextBox(int32_t id, std::string label, std::string tooltip, std::string* variable,
                 Callback* callback)
    : Node(id, std::move(label), std::move(tooltip), callback), variable(variable) {}

util::xml::Element TextBox::writeProfile() const {
    if (variable == nullptr)
        return {};
    return ProfileFormat::makeItem(getId(), getLabel(), "text", *variable);
}

void TextBox::readProfile(const util::xml::Element& element) {
    const util::xml::Element* item = findProfileItem(element);
    if (item == nullptr || variable == nullptr)
        return;
    ProfileFormat::readText(*item, *variable);
    refreshPages();
}

bool TextBox::applyWidgetChange(const WidgetChange& change) {
    if (change.code != TextEdited || !isFromOwnControl(change, "textbox") || variable == nullptr)
        return false;
    *variable = change.text;
    announceUserChange();
    return true;
}

} // namespace mvk::qvn::core::configadaptor::element
