#pragma once

namespace mvk::util {

// Base of heap objects that are deleted through a virtual call, so that the module that made
// an object also frees it.
class DynamicObject {
public:
    virtual void destroy() { delete this; }
    virtual ~DynamicObject() = default;
};

// Destroys an object through its own destroy(); null does nothing.
inline void destroy(DynamicObject* object) {
    if (object != nullptr)
        object->destroy();
}

// An empty polymorphic base of dynamically created objects.
class DynamicCreator {
public:
    virtual ~DynamicCreator() = default;
};

} // namespace mvk::util
