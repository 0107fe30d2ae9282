#include "gui/component/ItemList.h"

#include <algorithm>

namespace mvk::gui {

void ItemList::read(const util::xml::Element& element) {
    for (int i = 0; i < element.childCount(); ++i) {
        const util::xml::Element& child = element.child(i);
        if (child.type() == util::xml::Element::KindTag && child.name() == "item")
            texts.push_back(child.text());
    }
}

void ItemList::write(util::xml::Element& element) const {
    for (const std::string& entry : texts) {
        if (entry.empty())
            element.addChild(util::xml::Tag("item"));
        else
            element.addChild(util::xml::TagWithData("item", entry));
    }
}

std::string ItemList::text(int32_t index) const {
    return contains(index) ? texts[static_cast<size_t>(index)] : std::string();
}

int32_t ItemList::insertionIndex(int32_t index) const {
    return index < 0 || index > count() ? count() : index;
}

void ItemList::insert(const std::string& entry, int32_t index) {
    texts.insert(texts.begin() + insertionIndex(index), entry);
}

bool ItemList::remove(int32_t index) {
    if (!contains(index))
        return false;
    texts.erase(texts.begin() + index);
    return true;
}

int32_t ItemList::find(const std::string& entry) const {
    const auto found = std::find(texts.begin(), texts.end(), entry);
    return found == texts.end() ? -1 : static_cast<int32_t>(found - texts.begin());
}

} // namespace mvk::gui
