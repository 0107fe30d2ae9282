#include "core/configadaptor/Root.h"

#include "core/configadaptor/ProfileFormat.h"
#include "gui/Component.h"

namespace mvk::qvn::core::configadaptor::element {

Root::Root() : Node(-1, "root", "", nullptr) {}

util::xml::Element Root::writeProfile() const {
    util::xml::Element profile = ProfileFormat::makeProfile();
    for (int i = 0; i < childCount(); ++i)
        profile.addChild(child(i)->writeProfile());
    return profile;
}

void Root::readProfile(const util::xml::Element& element) {
    const util::xml::Element profile = ProfileFormat::convertProfile(element);
    if (!ProfileFormat::isCurrent(profile))
        return;
    for (int i = 0; i < childCount(); ++i)
        child(i)->readProfile(profile);
}

util::xml::Element Root::pageLayout() const {
    return util::xml::Element("<scroll><list type=\"vertical\"/></scroll>");
}

gui::Component* Root::childArea(gui::Component& page) const {
    return page.child(0);
}

} // namespace mvk::qvn::core::configadaptor::element
