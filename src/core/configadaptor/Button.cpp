#include "core/configadaptor/Button.h"
#include "core/configadaptor/PageLayout.h"

namespace mvk::qvn::core::configadaptor::element {

Button::Button(int32_t id, std::string label, std::string tooltip, Callback* callback)
    : Node(id, std::move(label), std::move(tooltip), callback) {}

bool Button::applyWidgetChange(const WidgetChange& change) {
    if (change.code != ButtonClicked || !isFromOwnControl(change, "button"))
        return false;
    runCallback();
    return true;
}

util::xml::Element Button::pageLayout() const {
    util::xml::Element button = PageLayout::control("button", getId());
    button.attribute("label") = getLabel();
    PageLayout::tooltipped(button, getTooltip());
    return button;
}

} // namespace mvk::qvn::core::configadaptor::element
