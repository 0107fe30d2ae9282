#pragma once
// The child pointers of an element. A list filled by the reader sits in the reader's arena at
// exactly its size; one that grows later moves to the heap. The list owns its storage, never
// the children it points to: the element deletes those.
#include "util/xml/NodeArena.h"

#include <cstddef>
#include <cstdint>

namespace mvk::util::xml {

class Element;

class ChildList {
public:
    ChildList() = default;
    ChildList(ChildList&& other) noexcept { swap(other); }
    ChildList& operator=(ChildList&& other) noexcept {
        ChildList taken(static_cast<ChildList&&>(other));
        swap(taken);
        return *this;
    }
    ChildList(const ChildList&) = delete;
    ChildList& operator=(const ChildList&) = delete;
    ~ChildList() { freeStorage(); }

    Element* const* begin() const { return items; }
    Element* const* end() const { return items + count; }
    size_t size() const { return count; }
    bool empty() const { return count == 0; }
    Element* operator[](size_t index) const { return items[index]; }
    Element* front() const { return items[0]; }
    Element* back() const { return items[count - 1]; }

    void push_back(Element* element);
    void reserve(size_t wanted);
    // Removes the pointer at `index` (the element itself is not touched).
    void erase(size_t index);
    // Forgets every pointer and gives the storage back.
    void clear();
    // As clear(), with an arena block's release left to `releases`.
    void clear(NodeArena::Releases& releases) {
        if (home != nullptr) {
            releases.add(home);
            items = nullptr;
            count = capacity = 0;
            home = nullptr;
            return;
        }
        freeStorage();
    }
    // Replaces the content by `n` pointers, stored in `arena` when one is given.
    void assign(Element* const* first, size_t n, NodeArena* arena);
    void swap(ChildList& other) noexcept;

private:
    void freeStorage();

    Element** items = nullptr;
    uint32_t count = 0;
    uint32_t capacity = 0;
    // The arena block of the storage, or null when it came from the heap.
    NodeArena::Block* home = nullptr;
};

} // namespace mvk::util::xml
