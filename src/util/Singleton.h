#pragma once
// Process-wide objects created on first use and destroyed together by the collector.
#include "util/SingletonReference.h"

#include <type_traits>

namespace mvk::util {

class SingletonCollector;

namespace detail {
SingletonCollector* collectorForRegistration();
void registerSingleton(SingletonCollector* collector, SingletonReference* singleton);
void unregisterSingleton(SingletonReference* singleton);
} // namespace detail

template <class T>
class Singleton : public SingletonReference {
public:
    // The instance, created with T's default constructor on first use; never null.
    static T* instance() {
        if (pointer != nullptr)
            return pointer;
        T* created = new T();
        pointer = created;
        if constexpr (!std::is_same_v<T, SingletonCollector>) {
            detail::registerSingleton(detail::collectorForRegistration(), created);
        }
        return created;
    }

    // The instance when it exists, else null (never creates).
    static T* existing() { return pointer; }

    // Deletes the instance, if there is one.
    void destroy() override {
        T* victim = pointer;
        pointer = nullptr;
        delete victim;
    }

    // Leaves no dangling collector entry; a later instance() builds a fresh object.
    ~Singleton() override {
        detail::unregisterSingleton(this);
        if (pointer == static_cast<void*>(this))
            pointer = nullptr;
    }

protected:
    Singleton() = default;

private:
    static inline T* pointer = nullptr;
};

} // namespace mvk::util
