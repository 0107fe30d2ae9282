#include "gui/component/ItemList.h"

#include <algorithm>

namespace mvk::gui {

void ItemList::read(const util::xml::Element& element) {
    for (int i = 0; i < element.childCount(); ++i) {
        const util::xml::Element& child = element.child(i);
        if (child.type() == util::xml::Element::KindTag && child.name() == "item")
            entries.push_back({child.text(), child.attribute("image")});
    }
}

void ItemList::write(util::xml::Element& element) const {
    for (const Entry& entry : entries) {
        util::xml::Element item = entry.text.empty() ? util::xml::Element(util::xml::Tag("item"))
                                                     : util::xml::TagWithData("item", entry.text);
        if (!entry.image.empty())
            item.attribute("image") = entry.image;
        element.addChild(item);
    }
}

std::string ItemList::text(int32_t index) const {
    return contains(index) ? entries[static_cast<size_t>(index)].text : std::string();
}

std::string ItemList::image(int32_t index) const {
    return contains(index) ? entries[static_cast<size_t>(index)].image : std::string();
}

void ItemList::setImage(int32_t index, const std::string& path) {
    if (contains(index))
        entries[static_cast<size_t>(index)].image = path;
}

int32_t ItemList::insertionIndex(int32_t index) const {
    return index < 0 || index > count() ? count() : index;
}

void ItemList::insert(const std::string& text, int32_t index) {
    entries.insert(entries.begin() + insertionIndex(index), Entry{text, {}});
}

bool ItemList::remove(int32_t index) {
    if (!contains(index))
        return false;
    entries.erase(entries.begin() + index);
    return true;
}

int32_t ItemList::find(const std::string& text) const {
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const Entry& entry) { return entry.text == text; });
    return found == entries.end() ? -1 : static_cast<int32_t>(found - entries.begin());
}

} // namespace mvk::gui
