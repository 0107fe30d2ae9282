#pragma once
// Builds a tool instance's configuration tree in the order the tool describes it and owns the
// result: the first element becomes the top, each further one goes under the current element,
// and a group becomes the current element until it is ended.
#include "core/configadaptor/Group.h"
#include "core/configadaptor/Root.h"

#include <cstdint>

namespace mvk::qvn::core::configadaptor {

class TreeBuilder {
public:
    TreeBuilder() = default;
    TreeBuilder(const TreeBuilder&) = delete;
    TreeBuilder& operator=(const TreeBuilder&) = delete;
    // Destroys the tree.
    ~TreeBuilder();

    // A root: the top and current element of an empty tree, else added under the current
    // element, which stays current.
    element::Root* beginConfig();
    // A group under the current element that becomes the current element.
    element::Group* beginGroup(const std::string& label, const std::string& tooltip);
    // The current element's parent becomes current; at the top nothing changes.
    void endGroup();
    // Takes ownership of `element` and appends it as the last child of the current element; in
    // an empty tree it becomes the top and the current element. Returns the element's index
    // (every added element counts, from 0), or -1 for null.
    int add(Node* element);
    // The id for the next element that takes one; the counter starts at 0.
    int32_t takeId() { return nextId++; }

    Node* top() const { return topElement; }
    Node* current() const { return currentElement; }
    int elementCount() const { return added; }

private:
    Node* topElement = nullptr;
    Node* currentElement = nullptr;
    int added = 0;
    int32_t nextId = 0;
};

} // namespace mvk::qvn::core::configadaptor
