#include "core/configadaptor/TextBox.h"

#include "core/configadaptor/ValueUndo.h"

#include "core/configadaptor/PageLayout.h"
#include "core/configadaptor/ProfileFormat.h"
#include "gui/Component.h"
#include "gui/componentinterface/TextBox.h"

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
    storeUserValue(variable, change.text);
    return true;
}

util::xml::Element TextBox::pageLayout() const {
    util::xml::Element control = PageLayout::control("textbox", getId());
    control.attribute("defaulttext") = variable != nullptr ? *variable : std::string();
    PageLayout::tooltipped(control, getTooltip());
    return PageLayout::row(getLabel(), getTooltip(), std::move(control));
}

void TextBox::showValue(gui::Component& control) const {
    auto* textBox = gui::interfaceOf<gui::componentinterface::TextBox>(&control);
    if (textBox != nullptr && variable != nullptr)
        textBox->setText(*variable);
}

} // namespace mvk::qvn::core::configadaptor::element
