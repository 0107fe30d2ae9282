#pragma once
// Parent/children mix-in for trees of polymorphic objects; a parent owns its children and
// destroys them through their own destroy().
#include <algorithm>
#include <iterator>
#include <vector>

namespace mvk::util {

template <class T>
class Composite_Dynamic {
public:
    Composite_Dynamic() = default;
    Composite_Dynamic(const Composite_Dynamic&) = delete;
    Composite_Dynamic& operator=(const Composite_Dynamic&) = delete;

    // Reaches the object's own destroy().
    virtual void destroyComposite() = 0;
    // Notification hooks, empty by default.
    virtual void onBeforeInsert() {}
    virtual void onInserted() {}
    virtual void onChildInserted(T* child, int index) {}
    virtual void onBeforeRemove() {}
    virtual void onRemoved() {}
    virtual void onChildRemoved(T* child, int index) {}

    // Takes itself out of its parent, then destroys its children from the last to the first.
    virtual ~Composite_Dynamic() {
        detachFromParent();
        while (!children.empty()) {
            T* last = children.back();
            const size_t before = children.size();
            last->destroyComposite();
            if (children.size() == before && !children.empty() && children.back() == last)
                children.pop_back();
        }
    }

    // Inserts (or moves) `child` at `index`; a negative or too large index appends.
    void insertChild(T* child, int index = -1) {
        if (child == nullptr)
            return;
        if (index < 0 || index > childCount())
            index = childCount();
        Composite_Dynamic* node = child;
        if (node->parentNode == self()) {
            const int current = node->childIndex();
            if (current >= 0 && current < index)
                --index;
        }
        if (node->parentNode != nullptr)
            node->parentNode->removeChild(child);
        node->onBeforeInsert();
        node->parentNode = self();
        children.insert(children.begin() + index, child);
        node->onInserted();
        onChildInserted(child, index);
    }

    void addChild(T* child) { insertChild(child, -1); }

    // Takes `child` out of this object's children without destroying it; false if not a child.
    bool removeChild(T* child) {
        // From the back: children are usually destroyed last first.
        const auto reverse = std::find(children.rbegin(), children.rend(), child);
        if (reverse == children.rend())
            return false;
        const auto found = std::prev(reverse.base());
        const int index = static_cast<int>(found - children.begin());
        Composite_Dynamic* node = child;
        node->onBeforeRemove();
        children.erase(found);
        node->parentNode = nullptr;
        node->onRemoved();
        onChildRemoved(child, index);
        return true;
    }

    // Position among the parent's children; 0 without a parent, -1 when not found.
    int childIndex() const {
        if (parentNode == nullptr)
            return 0;
        const auto& siblings = static_cast<const Composite_Dynamic*>(parentNode)->children;
        const auto found = std::find(siblings.begin(), siblings.end(), self());
        return found == siblings.end() ? -1 : static_cast<int>(found - siblings.begin());
    }

    T* parent() const { return parentNode; }
    int childCount() const { return static_cast<int>(children.size()); }
    T* child(int index) const {
        if (index < 0 || index >= childCount())
            return nullptr;
        return children[static_cast<size_t>(index)];
    }

protected:
    void detachFromParent() {
        if (parentNode == nullptr)
            return;
        auto& siblings = static_cast<Composite_Dynamic*>(parentNode)->children;
        const auto found = std::find(siblings.rbegin(), siblings.rend(), self());
        if (found != siblings.rend())
            siblings.erase(std::prev(found.base()));
        parentNode = nullptr;
    }

private:
    T* self() { return static_cast<T*>(this); }
    const T* self() const { return static_cast<const T*>(this); }

    T* parentNode = nullptr;
    std::vector<T*> children;
};

} // namespace mvk::util
