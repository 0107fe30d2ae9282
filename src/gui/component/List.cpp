#include "gui/component/List.h"

namespace mvk::gui::component {

List::List(const util::xml::Element& element)
    : BoxComponent("list", element,
                   {.direction = true, .margin = true, .frameStyle = true, .alignment = true}) {}

void List::setStyle(componentinterface::FrameStyle style) {
    box.style = style;
    boxChanged();
}

void List::setVertical(bool vertical) {
    box.vertical = vertical;
    boxChanged();
}

} // namespace mvk::gui::component
