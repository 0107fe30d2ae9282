#pragma once
// The top of a tool's configuration tree; it writes and reads whole profiles.
#include "core/configadaptor/Node.h"

namespace mvk::qvn::core::configadaptor::element {

class Root : public Node {
public:
    Root();

    // A "configprofile" of the current version with one child per element, in tree order.
    util::xml::Element writeProfile() const override;
    // Converts the profile first; a profile that is still not of the current version changes
    // nothing. Otherwise the whole profile goes to each top-level element in order.
    void readProfile(const util::xml::Element& element) override;
    // A scroll area around a vertical list that takes the children's parts.
    util::xml::Element pageLayout() const override;

protected:
    gui::Component* childArea(gui::Component& page) const override;
};

} // namespace mvk::qvn::core::configadaptor::element
