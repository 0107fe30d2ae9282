#include "gui/component/ComboBox.h"

namespace mvk::gui::component {

ComboBox::ComboBox(const util::xml::Element& element) : StdComponent("combobox", element) {
    editable = element.attribute("editable") == "yes";
    items.read(element);
    currentIndex = items.count() > 0 ? 0 : -1;
}

util::xml::Element ComboBox::writeXml() const {
    util::xml::Element element = StdComponent::writeXml();
    if (isEditable())
        element.attribute("editable") = "yes";
    ItemList current;
    for (int32_t i = 0; i < getCount(); ++i)
        current.insert(getItemText(i), -1);
    current.write(element);
    return element;
}

// The same rules as the drawn box: the first entry of an empty box becomes current, and
// removing the current entry makes its successor (else its predecessor) current.
void ComboBox::insertItem(const std::string& text, int32_t index) {
    const int32_t at = items.insertionIndex(index);
    items.insert(text, at);
    if (currentIndex < 0)
        currentIndex = 0;
    else if (at <= currentIndex)
        ++currentIndex;
}

void ComboBox::removeItem(int32_t index) {
    if (!items.remove(index))
        return;
    if (index < currentIndex || currentIndex >= items.count())
        --currentIndex;
}

void ComboBox::clear() {
    items.clear();
    currentIndex = -1;
    editText.clear();
}

void ComboBox::setCurrentText(const std::string& text) {
    const int32_t found = items.find(text);
    if (found >= 0)
        currentIndex = found;
    else if (editable)
        editText = text;
}

void ComboBox::setCurrentIndex(int32_t index) {
    currentIndex = items.contains(index) ? index : -1;
}

std::string ComboBox::getCurrentText() const {
    if (editable && !editText.empty())
        return editText;
    return items.text(currentIndex);
}

} // namespace mvk::gui::component
