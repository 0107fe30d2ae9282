#include "core/configadaptor/Label.h"
#include "core/configadaptor/PageLayout.h"

namespace mvk::qvn::core::configadaptor::element {

Label::Label(int32_t id, std::string label, int32_t minimumHeight, Callback* callback)
    : Node(id, std::move(label), "", callback), minimumHeight(minimumHeight) {}

util::xml::Element Label::pageLayout() const {
    util::xml::Tag label("label");
    label.attribute("id") = PageLayout::number(getId());
    label.attribute("minheight") = PageLayout::number(minimumHeight);
    label.addChild(util::xml::Text(getLabel()));
    return label;
}

} // namespace mvk::qvn::core::configadaptor::element
