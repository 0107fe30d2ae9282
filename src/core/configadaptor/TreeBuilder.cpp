#include "core/configadaptor/TreeBuilder.h"

namespace mvk::qvn::core::configadaptor {

TreeBuilder::~TreeBuilder() {
    util::destroy(topElement);
}

element::Root* TreeBuilder::beginConfig() {
    auto* root = new element::Root();
    add(root);
    return root;
}

element::Group* TreeBuilder::beginGroup(const std::string& label, const std::string& tooltip) {
    auto* group = new element::Group(label, tooltip);
    add(group);
    currentElement = group;
    return group;
}

void TreeBuilder::endGroup() {
    if (currentElement != nullptr && currentElement->parent() != nullptr)
        currentElement = currentElement->parent();
}

int TreeBuilder::add(Node* element) {
    if (element == nullptr)
        return -1;
    if (topElement == nullptr) {
        topElement = element;
        currentElement = element;
    } else {
        currentElement->addChild(element);
    }
    return added++;
}

} // namespace mvk::qvn::core::configadaptor
