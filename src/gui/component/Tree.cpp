#include "gui/component/Tree.h"

#include "gui/Attributes.h"

namespace mvk::gui::component {

namespace {

using util::xml::Element;

} // namespace

Tree::Tree(const Element& element) : StdComponent("tree", element) {
    dragDrop = element.attribute("dragdrop") == "yes";
    for (int i = 0; i < element.childCount(); ++i) {
        const Element& child = element.child(i);
        // A flag without a false icon is not set up.
        if (child.type() != Element::KindTag || child.name() != "flag" ||
            child.attribute("falseicon").empty())
            continue;
        Flag flag;
        flag.falseIcon = child.attribute("falseicon");
        flag.trueIcon = child.attribute("trueicon");
        flag.undeterminedIcon = child.attribute("undeterminedicon");
        flag.defaultState = child.attribute("defaultstate") == "true" ? Set : Unset;
        flags.push_back(flag);
    }
}

Element Tree::writeXml() const {
    Element element = StdComponent::writeXml();
    if (dragDrop)
        element.attribute("dragdrop") = "yes";
    for (const Flag& flag : flags) {
        util::xml::Tag written("flag");
        written.attribute("falseicon") = flag.falseIcon;
        if (!flag.trueIcon.empty())
            written.attribute("trueicon") = flag.trueIcon;
        if (!flag.undeterminedIcon.empty())
            written.attribute("undeterminedicon") = flag.undeterminedIcon;
        if (flag.defaultState == Set)
            written.attribute("defaultstate") = "true";
        element.addChild(written);
    }
    return element;
}

} // namespace mvk::gui::component
