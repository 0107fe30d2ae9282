#include "util/xml/ChildList.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

namespace mvk::util::xml {

void ChildList::push_back(Element* element) {
    if (count == capacity)
        reserve(capacity == 0 ? 4 : size_t{capacity} * 2);
    items[count++] = element;
}

void ChildList::reserve(size_t wanted) {
    if (wanted <= capacity)
        return;
    if (wanted > std::numeric_limits<uint32_t>::max())
        throw std::bad_alloc();
    auto* grown = static_cast<Element**>(::operator new(wanted * sizeof(Element*)));
    if (count > 0)
        std::memcpy(grown, items, count * sizeof(Element*));
    const uint32_t kept = count;
    freeStorage();
    items = grown;
    count = kept;
    capacity = static_cast<uint32_t>(wanted);
}

void ChildList::erase(size_t index) {
    std::memmove(items + index, items + index + 1, (count - index - 1) * sizeof(Element*));
    --count;
}

void ChildList::clear() {
    freeStorage();
}

void ChildList::assign(Element* const* first, size_t n, NodeArena* arena) {
    freeStorage();
    if (n == 0)
        return;
    if (n > std::numeric_limits<uint32_t>::max())
        throw std::bad_alloc();
    const size_t bytes = n * sizeof(Element*);
    void* storage = arena != nullptr ? arena->allocate(bytes, home) : ::operator new(bytes);
    items = static_cast<Element**>(storage);
    // Most lists are short: a loop costs less than the library call.
    if (n <= 8)
        for (size_t i = 0; i < n; ++i)
            items[i] = first[i];
    else
        std::memcpy(items, first, bytes);
    count = capacity = static_cast<uint32_t>(n);
}

void ChildList::swap(ChildList& other) noexcept {
    std::swap(items, other.items);
    std::swap(count, other.count);
    std::swap(capacity, other.capacity);
    std::swap(home, other.home);
}

void ChildList::freeStorage() {
    if (items != nullptr) {
        if (home != nullptr)
            NodeArena::release(home);
        else
            ::operator delete(static_cast<void*>(items));
    }
    items = nullptr;
    count = capacity = 0;
    home = nullptr;
}

} // namespace mvk::util::xml
