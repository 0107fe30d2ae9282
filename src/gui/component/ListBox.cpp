#include "gui/component/ListBox.h"

namespace mvk::gui::component {

ListBox::ListBox(const util::xml::Element& element) : StdComponent("listbox", element) {
    items.read(element);
}

util::xml::Element ListBox::writeXml() const {
    util::xml::Element element = StdComponent::writeXml();
    ItemList current;
    for (int32_t i = 0; i < getCount(); ++i) {
        current.insert(getItemText(i), -1);
        current.setImage(i, getItemImage(i));
    }
    current.write(element);
    return element;
}

void ListBox::insertItem(const std::string& text, int32_t index) {
    const int32_t at = items.insertionIndex(index);
    items.insert(text, at);
    if (currentIndex >= 0 && at <= currentIndex)
        ++currentIndex;
}

void ListBox::removeItem(int32_t index) {
    if (!items.remove(index))
        return;
    if (index < currentIndex || currentIndex >= items.count())
        --currentIndex;
}

void ListBox::clear() {
    items.clear();
    currentIndex = -1;
}

void ListBox::selectIndex(int32_t index) {
    currentIndex = items.contains(index) ? index : -1;
}

} // namespace mvk::gui::component
