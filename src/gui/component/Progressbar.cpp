#include "gui/component/Progressbar.h"

namespace mvk::gui::component {

Progressbar::Progressbar(const util::xml::Element& element)
    : StdComponent("progressbar", element) {}

} // namespace mvk::gui::component
