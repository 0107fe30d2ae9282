#include "gui/component/Scroll.h"

namespace mvk::gui::component {

Scroll::Scroll(const util::xml::Element& element) : StdComponent("scroll", element) {
    buildChildren(element);
}

util::xml::Element Scroll::writeXml() const {
    util::xml::Element element = StdComponent::writeXml();
    writeChildren(element);
    return element;
}

} // namespace mvk::gui::component
