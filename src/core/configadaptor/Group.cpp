#include "core/configadaptor/Group.h"

#include "core/configadaptor/ProfileFormat.h"

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

} // namespace mvk::qvn::core::configadaptor::element
