#include "core/configadaptor/Group.h"

#include "core/configadaptor/PageLayout.h"
#include "core/configadaptor/ProfileFormat.h"
#include "gui/Component.h"

namespace mvk::qvn::core::configadaptor::element {

Group::Group(std::string label, std::string tooltip)
    : Node(-1, std::move(label), std::move(tooltip), nullptr) {}

util::xml::Element Group::writeProfile() const {
    util::xml::Element group = ProfileFormat::makeGroup(getId(), getLabel());
    for (int i = 0; i < childCount(); ++i)
        group.addChild(child(i)->writeProfile());
    return group;
}

void Group::readProfile(const util::xml::Element& element) {
    for (int g = 0; g < element.childCount(); ++g) {
        const util::xml::Element& group = element.child(g);
        if (group.type() != util::xml::Element::KindTag || group.name() != ProfileFormat::GroupTag)
            continue;
        if (group.hasAttribute("id") && ProfileFormat::readId(group) != getId())
            continue;
        for (int i = 0; i < childCount(); ++i)
            child(i)->readProfile(group);
    }
}

util::xml::Element Group::pageLayout() const {
    util::xml::Element group(
        "<group><list><label/><border><list id=\"1\"/></border></list></group>");
    group.attribute("label") = getLabel();
    group.attribute("id") = PageLayout::number(getId());
    group.attribute("valign") = "top";
    group.attribute("padding") = "5 0 0 0";
    group.attribute("desiredwidth") = "500";
    util::xml::Element& outer = group.child("list");
    outer.attribute("type") = "vertical";
    if (!getTooltip().empty()) {
        util::xml::Element& description = outer.child("label");
        description.attribute("label") = getTooltip();
        description.attribute("enabled") = "no";
        description.attribute("minheight") = "30";
        description.attribute("minwidth") = "30";
    }
    util::xml::Element& border = outer.child("border");
    border.attribute("style") = "none";
    border.attribute("padding") = "0 15 0 0";
    return group;
}

gui::Component* Group::childArea(gui::Component& page) const {
    return page.findById(1);
}

} // namespace mvk::qvn::core::configadaptor::element
