#include "gui/component/Menubar.h"

#include "gui/Attributes.h"

namespace mvk::gui::component {

namespace {

using util::xml::Element;

// Marks the items of that id in a menu and its submenus; walked with a stack, since a layout's
// menus may nest as deep as the document does.
void markItems(Element& menu, int32_t id, bool enabled) {
    std::vector<Element*> pending{&menu};
    while (!pending.empty()) {
        Element* at = pending.back();
        pending.pop_back();
        for (int i = 0; i < at->childCount(); ++i) {
            Element& entry = at->child(i);
            if (entry.type() != Element::KindTag)
                continue;
            if (entry.name() == "menu") {
                pending.push_back(&entry);
                continue;
            }
            int32_t itemId = -1;
            if (entry.name() != "item" || !Attributes::readInt(entry, "id", itemId) || itemId != id)
                continue;
            if (enabled)
                entry.attribute("grayed") = "no";
            else
                entry.attribute("grayed") = "yes";
        }
    }
}

} // namespace

Menubar::Menubar(const Element& element) : StdComponent("menubar", element) {
    for (int i = 0; i < element.childCount(); ++i) {
        const Element& child = element.child(i);
        if (child.type() == Element::KindTag && child.name() == "menu")
            menus.push_back(child);
    }
}

Element Menubar::writeXml() const {
    Element element = StdComponent::writeXml();
    for (const Element& menu : menus)
        element.addChild(menu);
    return element;
}

void Menubar::setItemEnabled(int32_t id, bool enabled) {
    for (Element& menu : menus)
        markItems(menu, id, enabled);
}

} // namespace mvk::gui::component
