#pragma once
// A titled group of elements; creating one makes it the place where further elements go.
#include "core/configadaptor/Node.h"

namespace mvk::qvn::core::configadaptor::element {

class Group : public Node {
public:
    Group(std::string label, std::string tooltip);

    // A "group" with one child per element of the group, in order.
    util::xml::Element writeProfile() const override;
    // Every "group" child of `element` whose id is this group's (or that has none) is offered
    // to every element of the group in turn.
    void readProfile(const util::xml::Element& element) override;
    // A titled frame, with the tooltip as a greyed description above an indented list that
    // takes the children's parts.
    util::xml::Element pageLayout() const override;

protected:
    // The inner list (id 1) of the group's own frame.
    gui::Component* childArea(gui::Component& page) const override;
};

} // namespace mvk::qvn::core::configadaptor::element
