#include "gui/component/Group.h"

namespace mvk::gui::component {

Group::Group(const util::xml::Element& element)
    : BoxComponent("group", element, {.margin = true, .alignment = true}) {}

} // namespace mvk::gui::component
