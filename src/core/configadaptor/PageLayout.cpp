#include "core/configadaptor/PageLayout.h"

#include <sstream>

namespace mvk::qvn::core::configadaptor {

using util::xml::Element;
using util::xml::Tag;
using util::xml::TagWithData;

Element PageLayout::control(const std::string& kind, int32_t id) {
    Tag element(kind);
    element.attribute("fixed") = "no";
    element.attribute("minheight") = "20";
    element.attribute("minwidth") = "20";
    element.attribute("id") = number(id);
    return element;
}

Element& PageLayout::tooltipped(Element& element, const std::string& tooltip) {
    // An empty tooltip is an empty element rather than one holding an empty text.
    element.addChild(tooltip.empty() ? Element(Tag("tooltip")) : TagWithData("tooltip", tooltip));
    return element;
}

Element PageLayout::row(const std::string& caption, const std::string& tooltip, Element control) {
    Tag row("list");
    row.attribute("type") = "horizontal";
    Tag label("label");
    label.attribute("label") = caption;
    label.attribute("minheight") = "20";
    tooltipped(label, tooltip);
    row.addChild(std::move(label));
    row.addChild(std::move(control));
    return row;
}

std::string PageLayout::number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

std::string PageLayout::number(int32_t value) {
    return std::to_string(value);
}

} // namespace mvk::qvn::core::configadaptor
