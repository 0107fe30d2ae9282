#include "gui/component/Border.h"

namespace mvk::gui::component {

Border::Border(const util::xml::Element& element)
    : BoxComponent("border", element, {.margin = true, .frameStyle = true, .alignment = true}) {}

void Border::setStyle(componentinterface::FrameStyle style) {
    box.style = style;
    boxChanged();
}

} // namespace mvk::gui::component
